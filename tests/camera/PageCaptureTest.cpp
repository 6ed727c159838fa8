#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>

#include <gtest/gtest.h>

#include "CameraControl.h"
#include "FakeCameraCalls.h"
#include "PageCapture.h"
#include "Resource.h"
#include "UserMessages.h"

using camtest::TestFrame;

namespace {

class Page : public testing::Test {
protected:
    CPageCapture* page() { return frame.control->Page(); }
    // The frame's state as the rules read it, then the rules applied.
    void State(int type, int state) {
        frame.control->m_cameraType = type;
        frame.control->m_cameraState = state;
        page()->ApplyEnablingRules();
    }
    // Which of the page's buttons and the list are enabled, in a fixed order:
    // find, list, refresh, auto, area, config, exposure, preview.
    std::string Enabled() {
        std::string s;
        for (QWidget* w :
             {static_cast<QWidget*>(page()->m_findButton), static_cast<QWidget*>(page()->m_resolutionList),
              static_cast<QWidget*>(page()->m_refreshButton),
              static_cast<QWidget*>(page()->m_autoWhiteButton),
              static_cast<QWidget*>(page()->m_areaWhiteButton), static_cast<QWidget*>(page()->m_configButton),
              static_cast<QWidget*>(page()->m_exposureButton),
              static_cast<QWidget*>(page()->m_previewButton)})
            s += w->isEnabled() ? '1' : '0';
        return s;
    }
    void Choose(int index) {
        page()->m_resolutionList->setCurrentIndex(index);
        emit page()->m_resolutionList->activated(index);
    }
    void FillList(int n) {
        page()->m_resolutionList->clear();
        for (int i = 0; i < n; ++i) page()->m_resolutionList->addItem(QStringLiteral("R%1").arg(i));
    }

    TestFrame frame;
};

TEST_F(Page, TemplateTextsAndTheHiddenExposureButton) {
    EXPECT_EQ(page()->GetDlgItemText(IDC_FIND_CAMERA), QStringLiteral("Kamera suchen"));
    EXPECT_EQ(page()->GetDlgItemText(IDC_PREVIEW_BUTTON), QStringLiteral("Vorschau"));
    EXPECT_EQ(page()->GetDlgItemText(IDC_AUTO_WHITE_BALANCE), QStringLiteral("Auto Weißabgleich"));
    EXPECT_EQ(page()->GetDlgItemText(IDC_CAMERA_CONFIG), QStringLiteral("Konfiguration"));
    EXPECT_TRUE(page()->m_exposureButton->isHidden());
    // The page fits the 260-pixel control column.
    EXPECT_LE(page()->width(), 260);
}

TEST_F(Page, EnablingRulesForEachKindOfCamera) {
    FillList(3);
    State(-1, 2);
    EXPECT_EQ(Enabled(), "10000000"); // only "Kamera suchen"
    frame.notWin2000 = 0;
    State(-1, 2);
    EXPECT_EQ(Enabled(), "00000000");
    frame.notWin2000 = 1;

    State(1, 2);
    EXPECT_EQ(Enabled(), "11000001"); // area balance off while stopped
    State(1, 0);
    EXPECT_EQ(Enabled(), "00011111");
    for (int type : {2, 3, 4, 5, 6, 8, 11, 13}) {
        State(type, 2);
        EXPECT_TRUE(page()->m_areaWhiteButton->isEnabled()) << type;
    }
    State(7, 0);
    EXPECT_EQ(Enabled(), "00100111"); // refresh from type 7 on; no balances
    State(14, 0);
    EXPECT_EQ(Enabled(), "00110111");
    State(12, 2);
    EXPECT_EQ(Enabled(), "11000001");
}

TEST_F(Page, TypeZeroEnablesThePreviewOnlyAwayFromTheFirstEntry) {
    FillList(4);
    page()->m_resolutionList->setCurrentIndex(0);
    State(0, 2);
    EXPECT_FALSE(page()->m_previewButton->isEnabled());
    Choose(2);
    EXPECT_TRUE(page()->m_previewButton->isEnabled());
    page()->m_resolutionList->setCurrentIndex(-1); // no selection counts as not 0
    page()->ApplyEnablingRules();
    EXPECT_TRUE(page()->m_previewButton->isEnabled());
}

TEST_F(Page, ChoosingTheSameEntryAgainDoesNotApplyTheRules) {
    FillList(4);
    State(2, 2);
    Choose(1);
    EXPECT_EQ(page()->m_lastResolution, 1);
    // The frame's state changes behind the page's back; the same choice keeps the old enabling.
    frame.control->m_cameraType = -1;
    Choose(1);
    EXPECT_TRUE(page()->m_resolutionList->isEnabled());
    Choose(2);
    EXPECT_FALSE(page()->m_resolutionList->isEnabled());

    // After a stop report the stored entry is 0 again, so entry 2 counts as new.
    frame.control->m_cameraType = 2;
    EXPECT_EQ(SendMessage(page(), UM_CAMERA_SELECT, 2), 1);
    EXPECT_EQ(page()->m_lastResolution, 0);
    frame.control->m_cameraType = -1;
    Choose(2);
    EXPECT_FALSE(page()->m_resolutionList->isEnabled());
}

TEST_F(Page, StateReportsRenameThePreviewButton) {
    State(2, 0);
    EXPECT_EQ(SendMessage(page(), UM_CAMERA_SELECT, 0), 1);
    EXPECT_EQ(page()->m_previewButton->text(), QStringLiteral("Vorschau Stoppen"));
    EXPECT_EQ(SendMessage(page(), UM_CAMERA_SELECT, 2), 1);
    EXPECT_EQ(page()->m_previewButton->text(), QStringLiteral("Vorschau Starten"));
}

TEST_F(Page, ButtonsSendOrPostTheirMessagesToTheFrame) {
    FillList(3);
    State(2, 0);
    page()->m_previewButton->click(); // running: stop, never start
    EXPECT_EQ(frame.Count(UM_PREVIEW_STOP), 1);
    EXPECT_EQ(frame.Count(UM_PREVIEW_START), 0);
    State(2, 0);
    page()->m_autoWhiteButton->click();
    page()->m_configButton->click();
    EXPECT_EQ(frame.Count(UM_AUTO_WHITE_BALANCE), 0); // posted, not yet handled
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.Count(UM_AUTO_WHITE_BALANCE), 1);
    EXPECT_EQ(frame.Count(UM_CAMERA_SETTINGS), 1);
    State(2, 2);
    page()->m_findButton->click();
    EXPECT_EQ(frame.Count(UM_DETECT_CAMERAS), 1); // sent at once
    page()->m_previewButton->click();
    EXPECT_EQ(frame.Count(UM_PREVIEW_START), 1);
}

} // namespace
