// Everything the measurement library asks the user: calibration, annotation
// text, colours, font, data file names, and its error messages. The program
// uses Qt dialogs; tests install answers of their own.
#pragma once

#include <optional>
#include <vector>

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

#include "Calibration.h"

class QWidget;

namespace kxvm {

struct CalibrationRequest {
    QString camera;
    QSize resolution;
    double linePixels = 0; // the length of the chosen line; 0 without one
    std::vector<Calibration> stored;
    std::optional<Calibration> active;
};

struct CalibrationAnswer {
    std::optional<Calibration> chosen; // none: measure in pixels
    bool store = true;                 // keep it for this camera and resolution
    std::vector<QString> removed;      // stored names the user deleted
};

class MeasurePrompts {
public:
    virtual ~MeasurePrompts() = default;
    virtual std::optional<CalibrationAnswer> AskCalibration(QWidget* parent,
                                                            const CalibrationRequest& request) = 0;
    virtual std::optional<QString> AskText(QWidget* parent, const QString& current) = 0;
    virtual std::optional<QColor> AskColour(QWidget* parent, const QColor& current, const QString& title) = 0;
    virtual std::optional<QFont> AskFont(QWidget* parent, const QFont& current) = 0;
    // Empty: cancelled.
    virtual QString AskSavePath(QWidget* parent, const QString& suggested) = 0;
    virtual QString AskOpenPath(QWidget* parent, const QString& suggested) = 0;
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    // A warning with "go on" or "cancel"; true to go on.
    virtual bool AskProceed(QWidget* parent, const QString& text) = 0;

    // The prompts in use; null restores the dialogs.
    static MeasurePrompts& Current();
    static void Install(MeasurePrompts* prompts);
};

} // namespace kxvm
