#include "TemplateDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "PlatformLog.h"

namespace {

QSize FontBaseUnits(const QFont& font) {
    const QFontMetrics fm(font);
    // Average width of the alphabet, rounded, as the classic dialog units do.
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int width = (fm.horizontalAdvance(alphabet) / 26 + 1) / 2;
    return {width, fm.height()};
}

} // namespace

CTemplateDialog::CTemplateDialog(const DialogTemplate& tmpl, QWidget* parent, QSize baseUnits)
    : QDialog(parent), m_templateId(tmpl.id),
      m_baseUnits(baseUnits.isEmpty() ? FontBaseUnits(font()) : baseUnits) {
    setWindowTitle(QString::fromUtf8(tmpl.title));
    const QRect box = MapDialogRect(0, 0, tmpl.cx, tmpl.cy);
    setFixedSize(box.size());
    for (const DialogControl& c : tmpl.controls) {
        QWidget* w = CreateControl(c);
        w->setGeometry(MapDialogRect(c.x, c.y, c.cx, c.cy));
        w->setEnabled(!(c.style & DS_DISABLED));
        if (c.style & DS_HIDDEN) w->hide();
        if (c.id != 0 && c.id != -1) {
            if (m_items.count(c.id))
                qCWarning(lcPlatform) << "dialog" << tmpl.id << "repeats control id" << c.id;
            m_items[c.id] = w;
        }
    }
}

QWidget* CTemplateDialog::CreateControl(const DialogControl& c) {
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
    case DialogControlKind::Static: {
        auto* label = new QLabel(text, this);
        label->setWordWrap(true);
        if (c.style & DS_CENTER_TEXT) label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        return label;
    }
    case DialogControlKind::Picture:
        return new QLabel(this);
    case DialogControlKind::Edit:
        if (c.style & DS_MULTILINE) {
            auto* edit = new QPlainTextEdit(text, this);
            edit->setReadOnly(c.style & DS_READONLY);
            return edit;
        } else {
            auto* edit = new QLineEdit(text, this);
            edit->setReadOnly(c.style & DS_READONLY);
            return edit;
        }
    case DialogControlKind::PushButton:
    case DialogControlKind::DefPushButton: {
        auto* button = new QPushButton(text, this);
        button->setDefault(c.kind == DialogControlKind::DefPushButton);
        if (c.id == IDOK) connect(button, &QPushButton::clicked, this, &QDialog::accept);
        if (c.id == IDCANCEL) connect(button, &QPushButton::clicked, this, &QDialog::reject);
        return button;
    }
    case DialogControlKind::CheckBox:
        return new QCheckBox(text, this);
    case DialogControlKind::RadioButton:
        return new QRadioButton(text, this);
    case DialogControlKind::GroupBox: {
        auto* group = new QGroupBox(text, this);
        group->lower(); // behind the controls placed over it
        return group;
    }
    case DialogControlKind::ComboBox:
        return new QComboBox(this);
    case DialogControlKind::ListBox:
        return new QListWidget(this);
    case DialogControlKind::Slider:
        return new QSlider(Qt::Horizontal, this);
    case DialogControlKind::Progress:
        return new QProgressBar(this);
    case DialogControlKind::Custom:
        break;
    }
    return new QWidget(this);
}

QWidget* CTemplateDialog::GetDlgItem(int id) const {
    auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : it->second;
}

void CTemplateDialog::SetDlgItemText(int id, const QString& text) {
    QWidget* w = GetDlgItem(id);
    if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) plain->setPlainText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(text);
    else if (w) w->setWindowTitle(text);
}

QString CTemplateDialog::GetDlgItemText(int id) const {
    QWidget* w = GetDlgItem(id);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) return plain->toPlainText();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w)) return group->title();
    return w ? w->windowTitle() : QString();
}

QRect CTemplateDialog::MapDialogRect(int x, int y, int cx, int cy) const {
    const int bx = m_baseUnits.width();
    const int by = m_baseUnits.height();
    // Each edge is converted on its own and rounded, like the classic mapping.
    auto mx = [bx](int v) { return (v * bx + 2) / 4; };
    auto my = [by](int v) { return (v * by + 4) / 8; };
    const int left = mx(x);
    const int top = my(y);
    const int right = mx(x + cx);
    const int bottom = my(y + cy);
    return QRect(left, top, right - left, bottom - top);
}
