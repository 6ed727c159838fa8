#include "TemplateDialog.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSlider>
#include <QSpinBox>

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
    QButtonGroup* radios = nullptr; // the group the next radio button joins
    for (const DialogControl& c : tmpl.controls) {
        QWidget* w = CreateControl(c);
        // Radio buttons form one exclusive group from a DS_GROUP button (or
        // the first radio) up to the next DS_GROUP button; other controls
        // may sit between them.
        if (c.kind == DialogControlKind::RadioButton) {
            if (!radios || (c.style & DS_GROUP)) radios = new QButtonGroup(this);
            radios->addButton(static_cast<QAbstractButton*>(w), radios->buttons().size());
        }
        w->setGeometry(MapDialogRect(c.x, c.y, c.cx, c.cy));
        w->setEnabled(!(c.style & DS_DISABLED));
        if (c.style & DS_HIDDEN) w->hide();
        if (c.id != 0 && c.id != -1) {
            if (m_items.count(c.id))
                qCWarning(lcPlatform) << "dialog" << tmpl.id << "repeats control id" << c.id;
            m_items[c.id] = w;
            Connect(c.id, w);
        }
    }
}

CTemplateDialog::~CTemplateDialog() {
    // The controls outlive this part of the dialog; their last signals must
    // not reach the handlers.
    for (auto& [id, w] : m_items) w->disconnect(this);
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
        return new QSlider(c.style & DS_VERTICAL ? Qt::Vertical : Qt::Horizontal, this);
    case DialogControlKind::SpinBox:
        return new QSpinBox(this);
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

namespace {

// The width `button` needs for the widest of `texts` in its current font.
int NeededWidth(const QAbstractButton* button, const QStringList& texts) {
    // A push button's own hint has a minimum width; only the text and the frame count.
    const int frame = qobject_cast<const QPushButton*>(button)
                          ? 10
                          : button->sizeHint().width() - button->fontMetrics().horizontalAdvance(button->text());
    int widest = 0;
    for (QString text : texts) widest = std::max(widest, button->fontMetrics().horizontalAdvance(text.remove(QLatin1Char('&'))));
    return widest + frame;
}

} // namespace

void CTemplateDialog::FitButtonTexts(const std::map<QAbstractButton*, QStringList>& later) {
    const int room = width();
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty()) continue;
        QStringList texts{button->text()};
        if (const auto found = later.find(button); found != later.end()) texts += found->second;
        QFont font = button->font();
        int pixels = QFontInfo(font).pixelSize();
        while (NeededWidth(button, texts) > button->width() && pixels > 9) {
            font.setPixelSize(--pixels);
            button->setFont(font);
        }
        const int needed = std::min(NeededWidth(button, texts), room);
        if (needed <= button->width()) continue;
        QRect g = button->geometry();
        const int left = std::clamp(g.center().x() - needed / 2, 0, std::max(0, room - needed));
        g.setLeft(left);
        g.setWidth(needed);
        button->setGeometry(g);
    }
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

void CTemplateDialog::Connect(int id, QWidget* w) {
    // Radio buttons and check boxes are QAbstractButtons too, so test the
    // widgets from the most to the least specific kind.
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] {
            if (id == IDOK) OnOK();
            else if (id == IDCANCEL) OnCancel();
            else OnClicked(id);
        });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        connect(edit, &QLineEdit::textChanged, this, [this, id] { if (!m_loading) OnChange(id); });
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        connect(plain, &QPlainTextEdit::textChanged, this, [this, id] { if (!m_loading) OnChange(id); });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, id] { if (!m_loading) OnChange(id); });
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        connect(list, &QListWidget::currentRowChanged, this, [this, id] { if (!m_loading) OnChange(id); });
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        connect(spin, &QSpinBox::valueChanged, this, [this, id] { if (!m_loading) OnChange(id); });
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(w)) {
        connect(slider, &QAbstractSlider::valueChanged, this,
                [this, id](int pos) { if (!m_loading) OnSliderMoved(id, pos); });
    }
}

QWidget* CTemplateDialog::SubclassDlgItem(int id, QWidget* replacement) {
    QWidget* old = GetDlgItem(id);
    if (!old || !replacement) return nullptr;
    replacement->setParent(this);
    replacement->setGeometry(old->geometry());
    replacement->setEnabled(old->isEnabled());
    replacement->setVisible(!old->isHidden());
    replacement->setFont(old->font());
    QWidget::setTabOrder(old, replacement);
    replacement->stackUnder(old);
    auto* oldButton = qobject_cast<QAbstractButton*>(old);
    auto* newButton = qobject_cast<QAbstractButton*>(replacement);
    if (oldButton && newButton) {
        newButton->setText(oldButton->text());
        if (QButtonGroup* group = oldButton->group()) {
            const int position = group->id(oldButton);
            group->removeButton(oldButton);
            group->addButton(newButton, position);
        }
        auto* oldPush = qobject_cast<QPushButton*>(old);
        auto* newPush = qobject_cast<QPushButton*>(replacement);
        if (oldPush && newPush) newPush->setDefault(oldPush->isDefault());
    } else if (auto* oldEdit = qobject_cast<QLineEdit*>(old)) {
        if (auto* newEdit = qobject_cast<QLineEdit*>(replacement)) {
            newEdit->setText(oldEdit->text());
            newEdit->setReadOnly(oldEdit->isReadOnly());
        }
    }
    old->disconnect(this);
    delete old;
    m_items[id] = replacement;
    Connect(id, replacement);
    return replacement;
}

bool CTemplateDialog::IsDlgButtonChecked(int id) const {
    auto* button = GetDlgItem<QAbstractButton>(id);
    return button && button->isChecked();
}

void CTemplateDialog::CheckDlgButton(int id, bool checked) {
    auto* button = GetDlgItem<QAbstractButton>(id);
    if (!button) return;
    button->setCheckable(true);
    // An exclusive group will not let its checked button be cleared.
    QButtonGroup* group = button->group();
    const bool exclusive = group && group->exclusive();
    if (exclusive && !checked) group->setExclusive(false);
    button->setChecked(checked);
    if (exclusive && !checked) group->setExclusive(true);
}

void CTemplateDialog::AddString(int id, const QString& text) {
    const QScopedValueRollback silent(m_loading, true);
    if (auto* combo = GetDlgItem<QComboBox>(id)) combo->addItem(text);
    else if (auto* list = GetDlgItem<QListWidget>(id)) list->addItem(text);
}

void CTemplateDialog::SetItems(int id, const QStringList& texts) {
    const QScopedValueRollback silent(m_loading, true);
    if (auto* combo = GetDlgItem<QComboBox>(id)) {
        combo->clear();
        combo->addItems(texts);
    } else if (auto* list = GetDlgItem<QListWidget>(id)) {
        list->clear();
        list->addItems(texts);
    }
}

int CTemplateDialog::GetCurSel(int id) const {
    if (auto* combo = GetDlgItem<QComboBox>(id)) return combo->currentIndex();
    if (auto* list = GetDlgItem<QListWidget>(id)) return list->currentRow();
    return -1;
}

void CTemplateDialog::SetCurSel(int id, int index) {
    const QScopedValueRollback silent(m_loading, true);
    if (auto* combo = GetDlgItem<QComboBox>(id)) combo->setCurrentIndex(index);
    else if (auto* list = GetDlgItem<QListWidget>(id)) list->setCurrentRow(index);
}

namespace {

double NumberOf(const auto& member) {
    return std::visit(
        [](auto* p) -> double {
            if constexpr (std::is_same_v<decltype(p), QString*>) return p->toDouble();
            else return static_cast<double>(*p);
        },
        member);
}

// Numbers that fit the member's type; the caller has range-checked them.
void Store(const auto& member, double value) {
    std::visit(
        [value](auto* p) {
            using T = std::remove_pointer_t<decltype(p)>;
            if constexpr (std::is_same_v<T, QString>) *p = QString::number(value);
            else if constexpr (std::is_same_v<T, bool>) *p = value != 0;
            else *p = static_cast<T>(value);
        },
        member);
}

QString Bound(double v) { return QString::number(v, 'g', 15); }

} // namespace

bool CTemplateDialog::UpdateData(bool save) {
    if (save) m_lastDataError.clear();
    const bool wasLoading = m_loading;
    m_loading = !save;
    bool ok = true;
    for (const Binding& b : m_bindings) {
        if (!Exchange(b, save)) {
            ok = false;
            break;
        }
    }
    m_loading = wasLoading;
    return ok;
}

void CTemplateDialog::UpdateDataExcept(int typingId) {
    const QScopedValueRollback loading(m_loading, true);
    for (const Binding& b : m_bindings)
        if (b.id != typingId) Exchange(b, false);
}

bool CTemplateDialog::UpdateDataQuietly() {
    const QScopedValueRollback quiet(m_quiet, true);
    const QString lastError = m_lastDataError;
    bool ok = true;
    for (const Binding& b : m_bindings) ok = Exchange(b, true) && ok;
    m_lastDataError = lastError;
    return ok;
}

bool CTemplateDialog::Exchange(const Binding& b, bool save) {
    QWidget* w = GetDlgItem(b.id);
    if (!w) {
        qCWarning(lcPlatform) << "dialog" << m_templateId << "binds missing control" << b.id;
        return true;
    }
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (QButtonGroup* group = button ? button->group() : nullptr) {
        // Radio group: the position of the checked button.
        if (save) {
            Store(b.member, group->checkedId());
        } else {
            const int position = static_cast<int>(NumberOf(b.member));
            group->setExclusive(false);
            const auto buttons = group->buttons();
            for (QAbstractButton* each : buttons) each->setChecked(group->id(each) == position);
            group->setExclusive(true);
        }
        return true;
    }
    if (button) {
        if (save) Store(b.member, button->isChecked() ? 1 : 0);
        else button->setChecked(NumberOf(b.member) != 0);
        return true;
    }
    if (qobject_cast<QComboBox*>(w) || qobject_cast<QListWidget*>(w)) {
        if (save) Store(b.member, GetCurSel(b.id));
        else SetCurSel(b.id, static_cast<int>(NumberOf(b.member)));
        return true;
    }
    if (auto* slider = qobject_cast<QAbstractSlider*>(w)) {
        if (b.lo && b.hi) slider->setRange(static_cast<int>(*b.lo), static_cast<int>(*b.hi));
        if (save) Store(b.member, slider->value());
        else slider->setValue(static_cast<int>(NumberOf(b.member)));
        return true;
    }
    if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        if (b.lo && b.hi) spin->setRange(static_cast<int>(*b.lo), static_cast<int>(*b.hi));
        if (save) Store(b.member, spin->value());
        else spin->setValue(static_cast<int>(NumberOf(b.member)));
        return true;
    }
    return ExchangeText(b, w, save);
}

bool CTemplateDialog::ExchangeText(const Binding& b, QWidget* w, bool save) {
    const int id = b.id;
    if (!save) {
        const QString text = std::visit(
            [](auto* p) -> QString {
                using T = std::remove_pointer_t<decltype(p)>;
                if constexpr (std::is_same_v<T, QString>) return *p;
                // Shortest text that reads back as the same single or double value.
                else if constexpr (std::is_same_v<T, float>) return QString::number(*p, 'g', 6);
                else if constexpr (std::is_same_v<T, double>) return QString::number(*p, 'g', 15);
                else return QString::number(static_cast<qlonglong>(*p));
            },
            b.member);
        // An unchanged text is left alone, so the caret of a field being typed in stays.
        if (GetDlgItemText(id) != text) SetDlgItemText(id, text);
        return true;
    }

    const QString text = GetDlgItemText(id).trimmed();
    if (auto* p = std::get_if<QString*>(&b.member)) {
        **p = GetDlgItemText(id);
        return true;
    }
    const bool real = std::holds_alternative<float*>(b.member) || std::holds_alternative<double*>(b.member);
    double value = 0;
    bool ok = false;
    if (real) {
        value = text.toDouble(&ok);
        if (ok && std::holds_alternative<float*>(b.member))
            ok = std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
        if (!ok) return Fail(w, tr("Please enter a number."));
        if (b.lo && b.hi && (value < *b.lo || value > *b.hi))
            return Fail(w, tr("Please enter a number between %1 and %2.").arg(Bound(*b.lo), Bound(*b.hi)));
    } else {
        const qlonglong n = text.toLongLong(&ok);
        value = static_cast<double>(n);
        double lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
        if (std::holds_alternative<unsigned*>(b.member)) {
            lo = 0;
            hi = std::numeric_limits<unsigned>::max();
        } else if (std::holds_alternative<uint8_t*>(b.member)) {
            lo = 0;
            hi = 255;
        }
        const bool ranged = b.lo && b.hi;
        if (ranged) {
            lo = std::max(lo, *b.lo);
            hi = std::min(hi, *b.hi);
        }
        if (ok && value >= lo && value <= hi) {
            Store(b.member, value);
            return true;
        }
        if (std::holds_alternative<uint8_t*>(b.member) || ranged)
            return Fail(w, tr("Please enter an integer between %1 and %2.").arg(Bound(lo), Bound(hi)));
        if (ok && std::holds_alternative<unsigned*>(b.member) && value < 0)
            return Fail(w, tr("Please enter a positive integer."));
        return Fail(w, tr("Please enter an integer."));
    }
    Store(b.member, value);
    return true;
}

bool CTemplateDialog::Fail(QWidget* w, const QString& message) {
    m_lastDataError = message;
    if (m_quiet) return false;
    QMessageBox::warning(this, windowTitle(), message);
    w->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
    return false;
}

void CTemplateDialog::showEvent(QShowEvent* event) {
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CTemplateDialog::OnInitDialog() { UpdateData(false); }

void CTemplateDialog::OnOK() {
    if (UpdateData(true)) accept();
}

void CTemplateDialog::OnCancel() { QDialog::reject(); }

void CTemplateDialog::reject() { OnCancel(); }

void CTemplateDialog::OnChange(int) {}

void CTemplateDialog::OnClicked(int) {}

void CTemplateDialog::OnSliderMoved(int, int) {}
