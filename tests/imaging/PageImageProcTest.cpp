// The image-processing page: each button sends its command to the frame as
// the menu item would, a refused command does nothing, and with no document
// open no button does anything at all.
#include <vector>

#include <QMdiArea>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include "CmdUI.h"
#include "ControlHost.h"
#include "DocTestSupport.h"
#include "MDIFrameWnd.h"
#include "PageImageProc.h"
#include "Resource.h"
#include "ShadeButton.h"

namespace {

// A frame that handles every command of the page and notes the order.
class RecordingFrame : public CMDIFrameWnd {
public:
    RecordingFrame() {
        for (const auto& [control, command] : CPageImageProc::ButtonCommands()) {
            const int id = command;
            OnCommand(id, [this, id] { received.push_back(id); });
            OnUpdateCommand(id, [this, id](CCmdUI* ui) { ui->Enable(id != refused); });
        }
    }
    std::vector<int> received;
    int refused = 0;
};

TEST(PageImageProc, ButtonsSendTheirCommandsAndARefusedCommandDoesNothing) {
    RecordingFrame frame;
    CPageImageProc page(&frame);
    ASSERT_EQ(CPageImageProc::ButtonCommands().size(), 16u);
    const std::pair<int, int> expected[] = {
        {IDC_IP_CROP, 32848},   {IDC_IP_RESAMPLE, 33794},    {IDC_IP_MIRROR, 33774},
        {IDC_IP_FLIP, 33775},   {IDC_IP_ROTATE_LEFT, 32855}, {IDC_IP_ROTATE_RIGHT, 32856},
        {IDC_IP_ROTATE, 33779}, {IDC_IP_REPAIR, 32883},      {IDC_IP_SHARPEN, 32815},
        {IDC_IP_BLUR, 32813},   {IDC_IP_LIGHT, 32944},       {IDC_IP_CONTRAST, 32945},
        {IDC_IP_GAMMA, 32863},  {IDC_IP_COLORIZE, 32808},    {IDC_IP_MIX, 32903},
        {IDC_IP_COMBINE, 32879}};
    for (const auto& [control, command] : expected) {
        auto* button = page.GetDlgItem<CShadeButton>(control);
        ASSERT_NE(button, nullptr) << control;
        button->click();
        ASSERT_FALSE(frame.received.empty()) << control;
        EXPECT_EQ(frame.received.back(), command) << control;
    }
    EXPECT_EQ(frame.received.size(), 16u);

    // The update handler refuses "Schärfen": the button sends nothing.
    frame.refused = 32815;
    page.GetDlgItem<QPushButton>(IDC_IP_SHARPEN)->click();
    EXPECT_EQ(frame.received.size(), 16u);
    page.GetDlgItem<QPushButton>(IDC_IP_BLUR)->click();
    EXPECT_EQ(frame.received.back(), 32813);

    // Texts as the menu's, the heading flat and disabled, the page within the column.
    EXPECT_EQ(page.GetDlgItemText(IDC_IP_SHARPEN), QStringLiteral("Schärfen"));
    EXPECT_EQ(page.GetDlgItemText(IDC_IP_LIGHT), QStringLiteral("Beleuchtung"));
    auto* heading = page.GetDlgItem<QPushButton>(IDC_IP_HEADING);
    ASSERT_NE(heading, nullptr);
    EXPECT_TRUE(heading->isFlat());
    EXPECT_FALSE(heading->isEnabled());
    EXPECT_EQ(heading->text(), QStringLiteral("Fluorescence"));
    EXPECT_LE(page.width(), 260);
}

TEST(PageImageProc, WithNoDocumentAButtonDoesNothingAndShowingThePageSetsImageMode) {
    testsupport::TempDir dir;
    apptest::StartedApp s(dir);
    ASSERT_TRUE(s.started);
    s.app->CloseAllDocuments();
    CMainFrame* frame = s.frame();
    auto* page = qobject_cast<CPageImageProc*>(frame->ControlHost()->Page(1));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(frame->ControlHost()->TabControl()->tabText(1), QStringLiteral("Bild"));

    frame->SelectTab(0);
    EXPECT_EQ(frame->Mode(), 1);
    frame->SelectTab(1);
    EXPECT_EQ(frame->Mode(), 2);

    apptest::MessageBoxCatcher boxes(frame->MdiArea());
    for (const auto& [control, command] : CPageImageProc::ButtonCommands()) {
        page->GetDlgItem<QPushButton>(control)->click();
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << control;
    }
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(boxes.mostWindowsSeen, 0);
    EXPECT_TRUE(frame->MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(frame->Mode(), 2);
}

} // namespace
