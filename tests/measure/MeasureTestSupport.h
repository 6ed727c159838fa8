// Answers the measurement library's questions in tests, and records them.
#pragma once

#include <optional>

#include "MeasurePrompts.h"

namespace measuretest {

class FakePrompts : public kxvm::MeasurePrompts {
public:
    FakePrompts() { Install(this); }
    ~FakePrompts() override { Install(nullptr); }

    std::optional<kxvm::CalibrationAnswer> AskCalibration(QWidget*,
                                                          const kxvm::CalibrationRequest& r) override {
        request = r;
        return calibration;
    }
    std::optional<QString> AskText(QWidget*, const QString&) override { return text; }
    std::optional<QColor> AskColour(QWidget*, const QColor&, const QString&) override { return colour; }
    std::optional<QFont> AskFont(QWidget*, const QFont&) override { return std::nullopt; }
    QString AskSavePath(QWidget*, const QString& suggested) override {
        suggestedPath = suggested;
        return path;
    }
    QString AskOpenPath(QWidget*, const QString& suggested) override {
        suggestedPath = suggested;
        return path;
    }
    void ShowError(QWidget*, const QString& t) override { errors << t; }
    bool AskProceed(QWidget*, const QString& t) override {
        warnings << t;
        return proceed;
    }

    std::optional<kxvm::CalibrationAnswer> calibration;
    kxvm::CalibrationRequest request;
    std::optional<QString> text;
    std::optional<QColor> colour;
    QString path;
    QString suggestedPath;
    QStringList errors;
    QStringList warnings;
    bool proceed = false;
};

} // namespace measuretest
