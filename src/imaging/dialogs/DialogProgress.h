// The small borderless progress window shown while an image is saved: one
// gradient bar labelled "<caption>: <percent>%". Modeless; every position
// change is painted at once, so a caller busy on the UI thread still shows it.
#pragma once

#include "TemplateDialog.h"

class CGradientProgress;

class CDialogProgress : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogProgress(QWidget* parent = nullptr);

    // The upper end must be positive; zero or less becomes 1.
    void SetRange(int lower, int upper);
    void SetStep(int step) { m_step = step; }
    void SetPos(int pos);
    // Advances by the step (10 unless set).
    void StepIt();
    void SetCaption(const QString& caption);

    CGradientProgress* Bar() const { return m_bar; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CGradientProgress* m_bar;
    int m_step = 10;
};
