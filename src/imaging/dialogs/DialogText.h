// "Place text to image" (template 163): edits the text tool's record - the
// text, its font and colour, the alignment and the background box with its
// colour, opacity and corner radius. The caller copies the record in before
// showing the dialog and back after OK.
#pragma once

#include <optional>

#include <QColor>
#include <QFont>

#include "TemplateDialog.h"
#include "TextInfo.h"

class QPlainTextEdit;
class QSlider;

class CDialogText : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogText(QWidget* parent = nullptr);

    vimg::TextInfo m_info;

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnClicked(int id) override;
    void OnSliderMoved(int id, int pos) override;
    // The system choosers; nothing when cancelled.
    virtual std::optional<QColor> ChooseColour(const QColor& initial);
    virtual std::optional<QFont> ChooseFont(const QFont& initial);

private:
    void ShowTextStyle();
    void ShowSliderLabels();
    void EnableBackground(bool enable);

    QPlainTextEdit* m_edit;
    QSlider* m_opacity;
    QSlider* m_radius;
};
