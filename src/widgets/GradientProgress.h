// A progress bar filled with the family's gradient and labelled with a caption
// and the percentage: "<caption>: 42%". Setting a value repaints at once, so a
// caller that blocks the event loop between steps still shows each one.
#pragma once

#include <QCoreApplication>
#include <QProgressBar>

class CGradientProgress : public QProgressBar {
    Q_OBJECT
public:
    explicit CGradientProgress(QWidget* parent = nullptr);

    // The text before ": %d%"; "Complete " until a caller sets one.
    void SetCaption(const QString& caption);
    QString Caption() const { return m_caption; }
    // The position as a whole percentage of the range (0..100).
    int Percent() const;
    QString text() const override;
    // Sets the value and paints it before returning.
    void SetPos(int pos);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption = QCoreApplication::translate("GradientProgress", "Complete ");
};
