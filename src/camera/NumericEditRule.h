// Turns a line edit into a numeric edit with a range: digits only, leading
// zeros removed, and a number outside the range replaced by the last valid one
// (or nothing) with the caret at the end and a beep. The up and down keys and
// the spin buttons step the number within the range.
#pragma once

#include <optional>

#include <QObject>

class QLineEdit;

class CNumericEditRule : public QObject {
    Q_OBJECT
public:
    CNumericEditRule(QLineEdit* edit, int minimum, int maximum);

    void SetRange(int minimum, int maximum);
    // Sets the number shown (and the last valid one when it is in range).
    void SetValue(int value);
    // The number in the edit; empty when the text is empty.
    std::optional<int> Value() const;
    std::optional<int> LastValid() const { return m_lastValid; }
    // Adds `steps` to the number, kept in the range.
    void Step(int steps);
    QLineEdit* Edit() const { return m_edit; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTextChanged(const QString& text);

    QLineEdit* m_edit;
    int m_minimum;
    int m_maximum;
    std::optional<int> m_lastValid;
    bool m_changing = false;
};
