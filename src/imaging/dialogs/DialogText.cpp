#include "DialogText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QAbstractButton>
#include <QColorDialog>
#include <QFontDialog>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QStringEncoder>

#include "Resource.h"
#include "Resources.h"
#include "ShadeButton.h"
#include "TextDraw.h"

namespace {

QColor ColourOf(vimg::COLORREF c) {
    return QColor(vimg::GetRValue(c), vimg::GetGValue(c), vimg::GetBValue(c));
}

vimg::COLORREF ColorRefOf(const QColor& c) {
    return vimg::RGB(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                     static_cast<uint8_t>(c.blue()));
}

// The logical font of a chosen font; the character set stays the record's.
void StoreFont(vimg::LOGFONT& lf, const QFont& font) {
    const QByteArray face = font.family().toLatin1().left(sizeof(lf.lfFaceName) - 1);
    std::memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
    std::memcpy(lf.lfFaceName, face.constData(), static_cast<size_t>(face.size()));
    const int pixels = font.pixelSize() > 0 ? font.pixelSize()
                                            : static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
    lf.lfHeight = -std::max(1, pixels);
    lf.lfWidth = 0;
    lf.lfWeight = font.weight();
    lf.lfItalic = font.italic();
    lf.lfUnderline = font.underline();
    lf.lfStrikeOut = font.strikeOut();
}

} // namespace

CDialogText::CDialogText(QWidget* parent)
    : CTemplateDialog(*resources::Dialog(IDD_TEXT), parent), m_edit(GetDlgItem<QPlainTextEdit>(IDC_TXT_TEXT)),
      m_opacity(GetDlgItem<QSlider>(IDC_TXT_OPACITY)), m_radius(GetDlgItem<QSlider>(IDC_TXT_RADIUS)) {
    for (int id : {IDOK, IDCANCEL, IDC_CHOOSE_FONT, IDC_TXT_TEXT_COLOUR, IDC_TXT_BACK_COLOUR})
        static_cast<CShadeButton*>(SubclassDlgItem(id, new CShadeButton))->SetStandardShade();
    vimg::Image::InitTextInfo(&m_info);
    m_opacity->setRange(0, 100);
    m_opacity->setTickPosition(QSlider::TicksBelow);
    m_opacity->setTickInterval(5);
    m_opacity->setSingleStep(10);
    m_opacity->setPageStep(20);
    m_radius->setRange(0, 50);
    m_radius->setTickPosition(QSlider::TicksBelow);
    m_radius->setTickInterval(5);
    m_radius->setSingleStep(5);
    m_radius->setPageStep(10);
    // Return makes a new line in the text: Ctrl+Return is OK.
    auto* ok = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), this);
    connect(ok, &QShortcut::activated, this, [this] {
        if (auto* button = GetDlgItem<QAbstractButton>(IDOK)) button->click();
    });
}

void CDialogText::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    {
        const QSignalBlocker block(m_edit);
        m_edit->setPlainText(vimg::display::RecordText(m_info));
    }
    m_edit->selectAll();
    m_edit->setFocus();
    ShowTextStyle();
    CheckDlgButton(IDC_TXT_BACKGROUND, m_info.opaque != 0);
    CheckDlgButton(m_info.align == 0   ? IDC_TXT_RIGHT
                   : m_info.align == 2 ? IDC_TXT_LEFT
                                       : IDC_TXT_CENTRE,
                   true);
    {
        const QSignalBlocker blockOpacity(m_opacity), blockRadius(m_radius);
        m_opacity->setValue(static_cast<int>(m_info.backOpacity * 100.0f));
        m_radius->setValue(m_info.backRound);
    }
    ShowSliderLabels();
    EnableBackground(true); // whatever the flag, until the box is clicked
}

void CDialogText::ShowTextStyle() {
    QFont font = vimg::display::FontOf(m_info.font);
    font.setStyleStrategy(QFont::PreferDefault);
    m_edit->setFont(font);
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Text, ColourOf(m_info.textColor));
    palette.setColor(QPalette::Base, ColourOf(m_info.backColor));
    m_edit->setPalette(palette);
}

void CDialogText::ShowSliderLabels() {
    SetDlgItemText(IDC_TXT_OPACITY_LABEL,
                   QString::asprintf("%.0f%%", static_cast<double>(m_info.backOpacity) * 100.0));
    SetDlgItemText(IDC_TXT_RADIUS_LABEL, QString::asprintf("%d%%", m_info.backRound));
}

void CDialogText::EnableBackground(bool enable) {
    for (int id :
         {IDC_TXT_BACK_COLOUR, IDC_TXT_OPACITY, IDC_TXT_RADIUS, IDC_TXT_OPACITY_LABEL, IDC_TXT_RADIUS_LABEL})
        if (QWidget* w = GetDlgItem(id)) w->setEnabled(enable);
}

std::optional<QColor> CDialogText::ChooseColour(const QColor& initial) {
    QColorDialog chooser(initial, this);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.selectedColor();
}

std::optional<QFont> CDialogText::ChooseFont(const QFont& initial) {
    QFontDialog chooser(initial, this);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.selectedFont();
}

void CDialogText::OnClicked(int id) {
    switch (id) {
    case IDC_CHOOSE_FONT:
        if (const auto font = ChooseFont(vimg::display::FontOf(m_info.font))) {
            StoreFont(m_info.font, *font);
            ShowTextStyle();
        }
        break;
    case IDC_TXT_TEXT_COLOUR:
        if (const auto colour = ChooseColour(ColourOf(m_info.textColor))) {
            m_info.textColor = ColorRefOf(*colour);
            ShowTextStyle();
        }
        break;
    case IDC_TXT_BACK_COLOUR:
        if (const auto colour = ChooseColour(ColourOf(m_info.backColor))) {
            m_info.backColor = ColorRefOf(*colour);
            ShowTextStyle();
        }
        break;
    case IDC_TXT_BACKGROUND:
        EnableBackground(IsDlgButtonChecked(IDC_TXT_BACKGROUND));
        break;
    case IDC_TXT_RIGHT:
        m_info.align = 0;
        break;
    case IDC_TXT_CENTRE:
        m_info.align = 1;
        break;
    case IDC_TXT_LEFT:
        m_info.align = 2;
        break;
    default:
        break;
    }
}

void CDialogText::OnSliderMoved(int id, int pos) {
    if (id == IDC_TXT_OPACITY)
        m_info.backOpacity = static_cast<float>(pos) * 0.01f;
    else if (id == IDC_TXT_RADIUS)
        m_info.backRound = static_cast<uint8_t>(pos);
    else
        return;
    ShowSliderLabels();
}

void CDialogText::OnOK() {
    // The record holds the text in the code page of its font's character set,
    // cut to what fits before its terminating zero.
    QStringEncoder encoder(vimg::display::CodePage(m_info.font.lfCharSet));
    const QString text = m_edit->toPlainText();
    const QByteArray bytes = encoder.isValid() ? QByteArray(encoder(text)) : text.toLatin1();
    const auto n = std::min<qsizetype>(bytes.size(), sizeof(m_info.text) - 1);
    std::memcpy(m_info.text, bytes.constData(), static_cast<size_t>(n));
    m_info.text[n] = 0;
    m_info.opaque = IsDlgButtonChecked(IDC_TXT_BACKGROUND) ? 1 : 0;
    CTemplateDialog::OnOK();
}
