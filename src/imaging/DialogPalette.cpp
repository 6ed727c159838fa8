#include "DialogPalette.h"

#include <algorithm>

#include <QCheckBox>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "PaletteFile.h"
#include "Resource.h"
#include "Resources.h"
#include "SaveFile.h"
#include "ShadedButtons.h"

namespace {

// Palette files hold at most 256 entries: anything past this is never read.
constexpr qint64 kMaxReadBytes = 1 << 20;
const QString kFilters = QStringLiteral("*.pal;;*.*");

// "MS Shell Dlg" 8 measures 6 × 13 pixels per 4 × 8 dialog units; the swatch
// grid is placed in pixels, so the frame around it must use the same units.
const QSize kBaseUnits(6, 13);

} // namespace

CDialogPalette::CDialogPalette(QWidget* parent)
    : CTemplateDialog(*resources::Dialog(IDD_PALETTE), parent, kBaseUnits) {
    // Texts small enough for the rectangles, which were made for a narrower face.
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
    ShadeButtons(*this, {IDOK, IDCANCEL});
    setMouseTracking(true);
    // The etched frame around the grid: a plain frame, which (unlike a group
    // box) leaves the swatches' colours untouched and the mouse to the grid.
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(MapDialogRect(7, 7, 132, 122));
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->lower();
    if (auto* status = GetDlgItem<QLabel>(IDC_PAL_STATUS)) {
        status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        status->setWordWrap(false);
    }
    if (auto* maintain = GetDlgItem<QRadioButton>(IDC_PAL_MAINTAIN)) maintain->setChecked(true);
    if (auto* alpha = GetDlgItem<QCheckBox>(IDC_PAL_EDIT_ALPHA))
        connect(alpha, &QCheckBox::clicked, this, [this](bool on) {
            m_alphaEdit = on;
            update();
        });
    if (auto* load = GetDlgItem<QPushButton>(IDC_PAL_LOAD))
        connect(load, &QPushButton::clicked, this, [this] { OnLoad(); });
    if (auto* save = GetDlgItem<QPushButton>(IDC_PAL_SAVE))
        connect(save, &QPushButton::clicked, this, [this] { OnSave(); });
    m_chooseColour = [this](const QColor& initial) { return QColorDialog::getColor(initial, this); };
}

void CDialogPalette::SetTable(const vimg::RGBQUAD* palette, int count) {
    m_table.fill({});
    m_count = palette ? std::clamp(count, 0, 256) : 0;
    std::copy(palette, palette + m_count, m_table.begin());
    m_selected = -1;
    update();
}

QRect CDialogPalette::CellRect(int index) {
    const int c = index % kColumns, r = index / kColumns;
    return {kOriginX + c * (kCell + kSpacing), kOriginY + r * (kCell + kSpacing), kCell, kCell};
}

int CDialogPalette::HitTest(QPoint point) const {
    if (point.x() < kOriginX || point.y() < kOriginY) return -1;
    const int c = (point.x() - kOriginX) / (kCell + kSpacing);
    const int r = (point.y() - kOriginY) / (kCell + kSpacing);
    const int i = c + kColumns * r;
    return c < kColumns && i < m_count ? i : -1;
}

QColor CDialogPalette::EntryColour(int index) const {
    const vimg::RGBQUAD& e = m_table[index];
    return m_alphaEdit ? QColor(e.rgbReserved, e.rgbReserved, e.rgbReserved)
                       : QColor(e.rgbRed, e.rgbGreen, e.rgbBlue);
}

void CDialogPalette::paintEvent(QPaintEvent* event) {
    CTemplateDialog::paintEvent(event);
    QPainter p(this);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor darkShadow = palette().color(QPalette::Shadow);
    for (int i = 0; i < m_count; ++i) {
        if (i == m_selected) continue;
        const QRect cell = CellRect(i);
        p.fillRect(cell, EntryColour(i));
        p.setPen(QPen(shadow, 1));
        p.drawRect(cell.adjusted(0, 0, -1, -1));
    }
    // The selected entry last, so its wider outline is not covered by a neighbour.
    if (m_selected >= 0 && m_selected < m_count) {
        const QRect cell = CellRect(m_selected);
        p.fillRect(cell, EntryColour(m_selected));
        p.setPen(QPen(darkShadow, 2));
        p.drawRect(QRectF(cell).adjusted(0, 0, -1, -1));
    }
}

void CDialogPalette::mouseMoveEvent(QMouseEvent* event) {
    const int i = HitTest(event->position().toPoint());
    if (i >= 0) {
        const vimg::RGBQUAD& e = m_table[i];
        SetDlgItemText(IDC_PAL_STATUS, QString::asprintf(" I : %d, RGBA : %d, %d, %d, %d", i, e.rgbRed,
                                                         e.rgbGreen, e.rgbBlue, e.rgbReserved));
    }
    CTemplateDialog::mouseMoveEvent(event);
}

void CDialogPalette::mouseDoubleClickEvent(QMouseEvent* event) {
    const int i = HitTest(event->position().toPoint());
    if (i >= 0 && m_chooseColour) {
        const QColor chosen = m_chooseColour(EntryColour(i));
        if (chosen.isValid()) EditEntry(i, chosen);
    }
    CTemplateDialog::mouseDoubleClickEvent(event);
}

void CDialogPalette::EditEntry(int index, const QColor& chosen) {
    if (index < 0 || index >= m_count) return;
    vimg::RGBQUAD& e = m_table[index];
    if (m_alphaEdit) {
        e.rgbReserved = static_cast<uint8_t>(chosen.red());
    } else {
        e.rgbRed = static_cast<uint8_t>(chosen.red());
        e.rgbGreen = static_cast<uint8_t>(chosen.green());
        e.rgbBlue = static_cast<uint8_t>(chosen.blue());
    }
    m_changed = true;
    m_selected = index;
    update();
}

void CDialogPalette::OnLoad() {
    const QString path = QFileDialog::getOpenFileName(
        this, QCoreApplication::translate("PaletteDialog", "Open file"), QString(), kFilters);
    if (!path.isEmpty()) LoadFile(path);
}

void CDialogPalette::LoadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    const QByteArray bytes = file.read(kMaxReadBytes);
    file.close();
    const CPaletteFile::LoadResult result =
        CPaletteFile::Load(reinterpret_cast<const uint8_t*>(bytes.constData()),
                           static_cast<size_t>(bytes.size()), m_table.data(), m_count);
    for (CPaletteFile::Message message : result.messages)
        QMessageBox::warning(this, QStringLiteral("Vistorel"),
                             QCoreApplication::translate("PaletteFile", CPaletteFile::MessageText(message)),
                             QMessageBox::Ok);
    if (result.changed) m_changed = true;
    update();
}

void CDialogPalette::OnSave() {
    QFileDialog dialog(this, QCoreApplication::translate("PaletteDialog", "Save file"), QString(), kFilters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The dialog adds the extension before it asks about replacing a file,
    // so "x" asks about an existing "x.pal".
    dialog.setDefaultSuffix(QStringLiteral("pal"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    if (!SaveFile(path))
        QMessageBox::warning(
            this, QStringLiteral("Vistorel"),
            QCoreApplication::translate("PaletteDialog", "Die Palette wurde nicht in \"%1\" gespeichert.")
                .arg(QDir::toNativeSeparators(path)),
            QMessageBox::Ok);
}

bool CDialogPalette::SaveFile(const QString& path) const {
    const std::vector<uint8_t> bytes = CPaletteFile::Save(m_table.data(), m_count);
    return vimg::SaveFile::WriteAll(QFile::encodeName(path).constData(), bytes.data(), bytes.size());
}

void CDialogPalette::accept() {
    auto checked = [this](int id) {
        auto* radio = GetDlgItem<QRadioButton>(id);
        return radio && radio->isChecked();
    };
    m_applyMode = checked(IDC_PAL_MAINTAIN) ? MODE_MAINTAIN_INDEXES
                  : checked(IDC_PAL_NEAREST) ? MODE_NEAREST
                  : checked(IDC_PAL_DITHER)  ? MODE_DIFFUSION
                                             : MODE_NONE;
    CTemplateDialog::accept();
}
