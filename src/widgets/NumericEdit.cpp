#include "NumericEdit.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QRegularExpression>

#include "WidgetStyle.h"

CNumericEdit::CNumericEdit(Kind kind, QWidget* parent) : QLineEdit(parent), m_kind(kind) {
    widgetstyle::ApplyFieldStyle(this);
    connect(this, &QLineEdit::textEdited, this, &CNumericEdit::Edited);
    connect(this, &QLineEdit::editingFinished, this, &CNumericEdit::Finished);
    // Text set by the program is the new starting point.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!IsPrefix(text) || IsBeyondRange(text)) return;
        m_lastAccepted = text;
        if (const auto v = Value(); v && IsInRange(*v)) m_lastValid = text;
    });
}

void CNumericEdit::SetRange(double lo, double hi) {
    m_lo = lo;
    m_hi = hi;
}

std::optional<double> CNumericEdit::Value() const {
    bool ok = false;
    const QString t = text().trimmed();
    const double v = m_kind == Kind::Real ? t.toDouble(&ok) : static_cast<double>(t.toLongLong(&ok));
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

bool CNumericEdit::IsPrefix(const QString& text) const {
    static const QRegularExpression integer(QStringLiteral("^\\s*-?\\d*\\s*$"));
    static const QRegularExpression positive(QStringLiteral("^\\s*\\d*\\s*$"));
    static const QRegularExpression real(QStringLiteral("^\\s*-?\\d*\\.?\\d*\\s*$"));
    const QRegularExpression& pattern =
        m_kind == Kind::Real ? real : m_kind == Kind::Unsigned ? positive : integer;
    return pattern.match(text).hasMatch();
}

bool CNumericEdit::IsInRange(double v) const { return !(m_lo && m_hi) || (v >= *m_lo && v <= *m_hi); }

bool CNumericEdit::IsBeyondRange(const QString& text) const {
    if (!m_restoreOutOfRange || !m_lo || !m_hi) return false;
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok) return false;
    // Further digits only move a value away from zero: above the upper
    // bound (or below a negative lower one) it cannot come back.
    return (v > *m_hi && v > 0) || (v < *m_lo && v < 0);
}

void CNumericEdit::Edited(const QString& text) {
    if (IsPrefix(text) && !IsBeyondRange(text)) return; // textChanged took it
    QApplication::beep();
    const int cursor = std::max(0, cursorPosition() - static_cast<int>(text.size() - m_lastAccepted.size()));
    setText(m_lastAccepted);
    setCursorPosition(std::min(cursor, static_cast<int>(m_lastAccepted.size())));
}

void CNumericEdit::Finished() {
    if (!m_restoreOutOfRange) return;
    const auto v = Value();
    if (v && IsInRange(*v)) return;
    QApplication::beep();
    setText(m_lastValid);
}
