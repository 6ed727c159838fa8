// The long exposure's countdown in the main window's status bar: the seconds
// left and a button that cancels the exposure. Hidden while nothing counts.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

class CCountdownBar : public QWidget {
    Q_OBJECT
public:
    explicit CCountdownBar(QWidget* parent = nullptr);

    // Shows the bar with `seconds` left.
    void ShowSeconds(int seconds);
    QString Text() const;
    QPushButton* CancelButton() const { return m_cancel; }

signals:
    void cancelled();

private:
    QLabel* m_text;
    QPushButton* m_cancel;
};
