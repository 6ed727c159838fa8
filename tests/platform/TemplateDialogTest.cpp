#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "TemplateDialog.h"

namespace {

const DialogTemplate kDialog{
    500, "Probe", 200, 100,
    {
        {1113, DialogControlKind::Edit, "name", 10, 20, 40, 14},
        {1114, DialogControlKind::Static, "Label", 7, 3, 33, 9, DS_DISABLED},
        {IDOK, DialogControlKind::DefPushButton, "OK", 140, 80, 50, 14},
        {-1, DialogControlKind::Static, "unnamed", 0, 0, 10, 8},
    }};

} // namespace

TEST(TemplateDialog, PlacesControlsByDialogUnits) {
    // 8 x 16 pixel base units: x * 2 pixels, y * 2 pixels.
    CTemplateDialog dlg(kDialog, nullptr, QSize(8, 16));
    EXPECT_EQ(dlg.size(), QSize(400, 200));
    EXPECT_EQ(dlg.GetDlgItem(1113)->geometry(), QRect(20, 40, 80, 28));
    EXPECT_EQ(dlg.GetDlgItem(IDOK)->geometry(), QRect(280, 160, 100, 28));

    // Odd base units round each edge on its own: 7 x 13 pixels.
    CTemplateDialog odd(kDialog, nullptr, QSize(7, 13));
    // left 7*7/4 = 12.25 -> 12, right 40*7/4 = 70; top 3*13/8 = 4.9 -> 5, bottom 12*13/8 = 19.5 -> 20
    EXPECT_EQ(odd.GetDlgItem(1114)->geometry(), QRect(12, 5, 58, 15));
    EXPECT_EQ(odd.MapDialogRect(0, 0, 4, 8), QRect(0, 0, 7, 13));
}

TEST(TemplateDialog, FindsControlsByIdAndOkAccepts) {
    CTemplateDialog dlg(kDialog, nullptr, QSize(6, 13));
    EXPECT_EQ(dlg.windowTitle(), "Probe");
    ASSERT_NE(dlg.GetDlgItem<QLineEdit>(1113), nullptr);
    EXPECT_EQ(dlg.GetDlgItem<QPushButton>(1113), nullptr);
    EXPECT_EQ(dlg.GetDlgItem(9999), nullptr);
    EXPECT_EQ(dlg.GetDlgItem(-1), nullptr);
    EXPECT_FALSE(dlg.GetDlgItem(1114)->isEnabled());
    dlg.SetDlgItemText(1113, "Probe.bmp");
    EXPECT_EQ(dlg.GetDlgItemText(1113), "Probe.bmp");
    EXPECT_EQ(dlg.GetDlgItemText(1114), "Label");

    dlg.show();
    dlg.GetDlgItem<QPushButton>(IDOK)->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(TemplateDialog, BaseUnitsFromTheFontAreSane) {
    CTemplateDialog dlg(kDialog);
    EXPECT_GT(dlg.BaseUnits().width(), 2);
    EXPECT_GT(dlg.BaseUnits().height(), dlg.BaseUnits().width());
}
