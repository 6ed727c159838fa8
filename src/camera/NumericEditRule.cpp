#include "NumericEditRule.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

CNumericEditRule::CNumericEditRule(QLineEdit* edit, int minimum, int maximum)
    : QObject(edit), m_edit(edit), m_minimum(minimum), m_maximum(maximum) {
    // At most nine digits, so every text is a number an int holds.
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), edit));
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, &CNumericEditRule::OnTextChanged);
}

void CNumericEditRule::SetRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
}

void CNumericEditRule::SetValue(int value) { m_edit->setText(QString::number(value)); }

std::optional<int> CNumericEditRule::Value() const {
    bool ok = false;
    const int value = m_edit->text().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

void CNumericEditRule::Step(int steps) {
    const int value = Value().value_or(m_minimum);
    SetValue(qBound(m_minimum, value + steps, m_maximum));
}

void CNumericEditRule::OnTextChanged(const QString& text) {
    if (m_changing) return;
    m_changing = true;
    QString digits = text;
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0'))) digits.remove(0, 1);
    if (digits != text) m_edit->setText(digits);
    if (digits.isEmpty()) {
        m_lastValid.reset();
    } else {
        const int value = digits.toInt();
        if (value < m_minimum || value > m_maximum) {
            m_edit->setText(m_lastValid ? QString::number(*m_lastValid) : QString());
            m_edit->setCursorPosition(static_cast<int>(m_edit->text().size()));
            QApplication::beep();
        } else {
            m_lastValid = value;
        }
    }
    m_changing = false;
}

bool CNumericEditRule::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
