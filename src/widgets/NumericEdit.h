// An edit field for one number. It takes only keystrokes that can still make
// a number of its kind (beeping at the others); a caller that asks for it also
// gets out-of-range values refused the same way, the last valid text coming
// back. Range checks on OK remain the dialog's data exchange.
#pragma once

#include <optional>

#include <QLineEdit>

class CNumericEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class Kind { Integer, Unsigned, Real };

    explicit CNumericEdit(Kind kind = Kind::Integer, QWidget* parent = nullptr);

    Kind NumberKind() const { return m_kind; }
    // Bounds for the restore rule; without them any number of the kind passes.
    void SetRange(double lo, double hi);
    // Beep and put back the last valid text when the typed value leaves the range.
    void SetRestoreOutOfRange(bool restore) { m_restoreOutOfRange = restore; }

    // The number shown, if the text is one.
    std::optional<double> Value() const;

private:
    void Edited(const QString& text);
    void Finished();
    // Text that a number of this kind can start with ("", "-", "1.").
    bool IsPrefix(const QString& text) const;
    // A typed value that more typing cannot bring back into range.
    bool IsBeyondRange(const QString& text) const;
    bool IsInRange(double v) const;

    Kind m_kind;
    std::optional<double> m_lo, m_hi;
    bool m_restoreOutOfRange = false;
    QString m_lastAccepted; // after the last keystroke that was let through
    QString m_lastValid;    // the last complete in-range number
};
