#include "PageImageProc.h"

#include <QAction>
#include <QPushButton>

#include "MDIFrameWnd.h"
#include "Resource.h"
#include "Resources.h"
#include "ShadeButton.h"

namespace {

// The control column is 260 pixels wide and the page 170 dialog units: the
// classic 6 x 13 base units of an 8-point dialog font make it fit, as on the
// camera page.
constexpr QSize kPageBaseUnits(6, 13);

QFont PageFont() {
    QFont font;
    font.setPixelSize(11);
    font.setStretch(QFont::SemiCondensed);
    return font;
}

} // namespace

const std::map<int, int>& CPageImageProc::ButtonCommands() {
    static const std::map<int, int> commands = {{IDC_IP_CROP, ID_IMAGE_CROP},
                                                {IDC_IP_RESAMPLE, ID_IMAGE_RESAMPLE},
                                                {IDC_IP_MIRROR, ID_IMAGE_MIRROR},
                                                {IDC_IP_FLIP, ID_IMAGE_FLIP},
                                                {IDC_IP_ROTATE_LEFT, ID_IMAGE_ROTATE_LEFT},
                                                {IDC_IP_ROTATE_RIGHT, ID_IMAGE_ROTATE_RIGHT},
                                                {IDC_IP_ROTATE, ID_IMAGE_ROTATE},
                                                {IDC_IP_REPAIR, ID_IMAGE_REPAIR},
                                                {IDC_IP_SHARPEN, ID_FILTER_SHARPEN},
                                                {IDC_IP_BLUR, ID_FILTER_BLUR},
                                                {IDC_IP_LIGHT, ID_IMAGE_USER_LIGHT},
                                                {IDC_IP_CONTRAST, ID_IMAGE_USER_CONTRAST},
                                                {IDC_IP_GAMMA, ID_IMAGE_GAMMA},
                                                {IDC_IP_COLORIZE, ID_IMAGE_COLORIZE},
                                                {IDC_IP_MIX, ID_IMAGE_MIX},
                                                {IDC_IP_COMBINE, ID_IMAGE_COMBINE}};
    return commands;
}

CPageImageProc::CPageImageProc(CMDIFrameWnd* frame, QWidget* parent)
    : CTemplateDialog(*resources::Dialog(IDD_PAGE_IMAGEPROC), parent, kPageBaseUnits), m_frame(frame) {
    setWindowFlags(Qt::Widget); // a page inside the tab control, not a window
    setFont(PageFont());
    setObjectName(QStringLiteral("PageImageProc"));
    for (const auto& [id, command] : ButtonCommands()) {
        auto* button = static_cast<CShadeButton*>(SubclassDlgItem(id, new CShadeButton));
        button->SetStandardShade();
        button->setAutoDefault(false); // a page has no default button that Enter would press
    }
    if (auto* heading = GetDlgItem<QPushButton>(IDC_IP_HEADING)) {
        heading->setFlat(true);
        heading->setAutoDefault(false);
    }
}

void CPageImageProc::OnClicked(int id) {
    const auto it = ButtonCommands().find(id);
    if (it == ButtonCommands().end() || !m_frame) return;
    // As a menu item: the command's update handler decides first, so a
    // command its document refuses now (or nobody handles) does nothing.
    QAction* action = m_frame->CommandAction(it->second);
    m_frame->UpdateCommandUI(action);
    if (action->isEnabled()) action->trigger();
}

void CPageImageProc::OnCancel() {
    // Escape must not close a page that lives in the tab control.
}
