// The two dialogs that recompute while the user types.
#include <climits>

#include <QComboBox>
#include <QLineEdit>

#include "DialogResample.h"
#include "DialogSkew.h"
#include "DialogTestSupport.h"
#include "Resource.h"
#include "ShadeButton.h"

using namespace dialogtest;

TEST(DialogResample, PresetsFromTheImageAndListsTheMethods) {
    CDialogResample dlg;
    dlg.SetImageSize(400, 300);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Resample");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RES_FACTOR), "2");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RES_WIDTH), "100");
    // 100 / (400 / 300 in single precision) is just below 75.
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RES_HEIGHT), "74");
    EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_RES_BY_FACTOR));
    EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_RES_KEEP_ASPECT));
    auto* list = dlg.GetDlgItem<QComboBox>(IDC_RES_INTERPOLATION);
    ASSERT_EQ(list->count(), 8);
    EXPECT_EQ(list->itemText(0), "Nearest neighbour");
    EXPECT_EQ(list->itemText(6), "Lanzcos (sharp)");
    EXPECT_EQ(list->itemText(7), "Hermite");
    EXPECT_EQ(list->currentIndex(), 2);

    // OK straight away: factor mode, twice the image.
    PressOk(dlg);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_mode, 1);
    EXPECT_EQ(dlg.NewSize(), QSize(800, 600));
    EXPECT_EQ(dlg.m_interpolation, 2);
}

TEST(DialogResample, TypedSideKeepsTheAspectRatioAndSelectsPixelSize) {
    CDialogResample wide;
    wide.SetImageSize(400, 200);
    wide.show();
    Retype(wide, IDC_RES_WIDTH, "300");
    EXPECT_EQ(wide.GetDlgItemText(IDC_RES_HEIGHT), "150");
    EXPECT_TRUE(wide.IsDlgButtonChecked(IDC_RES_BY_SIZE));
    EXPECT_FALSE(wide.IsDlgButtonChecked(IDC_RES_BY_FACTOR));

    CDialogResample dlg;
    dlg.SetImageSize(400, 300);
    dlg.show();
    Retype(dlg, IDC_RES_WIDTH, "200");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RES_HEIGHT), "149");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RES_WIDTH), "200"); // the typed side is not rewritten
    Retype(dlg, IDC_RES_HEIGHT, "150");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RES_WIDTH), "200");
    // Clearing a side to type anew changes nothing else and shows no message.
    Retype(dlg, IDC_RES_HEIGHT, "");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RES_WIDTH), "200");
    Retype(dlg, IDC_RES_HEIGHT, "30");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RES_WIDTH), "40");
    QTest::keyClick(dlg.GetDlgItem(IDC_RES_INTERPOLATION), Qt::Key_Down);
    PressOk(dlg);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_mode, 0);
    EXPECT_EQ(dlg.NewSize(), QSize(40, 30));
    EXPECT_EQ(dlg.m_interpolation, 3);

    // Without the aspect box the other side stays.
    CDialogResample free;
    free.SetImageSize(400, 300);
    free.show();
    Click(free, IDC_RES_KEEP_ASPECT);
    Retype(free, IDC_RES_WIDTH, "123");
    EXPECT_EQ(free.GetDlgItemText(IDC_RES_HEIGHT), "74");
    EXPECT_TRUE(free.IsDlgButtonChecked(IDC_RES_BY_SIZE));
    PressOk(free);
    EXPECT_EQ(free.NewSize(), QSize(123, 74));
}

TEST(DialogResample, FactorRecomputesOnlyOnceTheDecimalsAreTyped) {
    CDialogResample dlg;
    dlg.SetImageSize(400, 300);
    dlg.show();
    Click(dlg, IDC_RES_BY_SIZE);
    auto size = [&] { return dlg.GetDlgItemText(IDC_RES_WIDTH) + "x" + dlg.GetDlgItemText(IDC_RES_HEIGHT); };
    Retype(dlg, IDC_RES_FACTOR, "1");
    EXPECT_EQ(size(), "400x300");
    EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_RES_BY_FACTOR));
    Click(dlg, IDC_RES_BY_SIZE);
    QTest::keyClicks(dlg.GetDlgItem(IDC_RES_FACTOR), ".");
    EXPECT_EQ(size(), "400x300"); // "1." is still being typed
    EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_RES_BY_SIZE));
    QTest::keyClicks(dlg.GetDlgItem(IDC_RES_FACTOR), "5");
    EXPECT_EQ(size(), "600x450");
    EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_RES_BY_FACTOR));
    QTest::keyClicks(dlg.GetDlgItem(IDC_RES_FACTOR), "0");
    EXPECT_EQ(size(), "600x450"); // "1.50": a point and a trailing zero
    QTest::keyClicks(dlg.GetDlgItem(IDC_RES_FACTOR), "5");
    // 1.505 in single precision is a hair below: 601.99.. × 451.49..
    EXPECT_EQ(size(), "601x451");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RES_FACTOR), "1.505");

    // A negative factor counts by its size.
    Retype(dlg, IDC_RES_FACTOR, "-0.25");
    EXPECT_EQ(size(), "100x75");
    PressOk(dlg);
    EXPECT_EQ(dlg.m_mode, 1);
    EXPECT_EQ(dlg.NewSize(), QSize(100, 75));
}

TEST(DialogSkew, ShowsSlopesAndAnglesAndHandsBackThousandths) {
    CDialogSkew dlg;
    dlg.SetImageSize(100, 200);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Skew");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_SKEW_X), "5.5");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_SKEW_Y), "-5");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_SLOPE_X), "0.055");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_SLOPE_Y), "-0.025");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_ANGLE_X), "3.1481");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_ANGLE_Y), "-1.4321");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_PIVOT_X), "0");
    EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_SKW_INTERPOLATION));
    PressOk(dlg);
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    // The single-precision 0.055 lies just below it.
    EXPECT_EQ(dlg.SlopeXParam(), 54);
    EXPECT_EQ(dlg.SlopeYParam(), -25);
    EXPECT_TRUE(dlg.m_interpolation);
}

TEST(DialogSkew, RecomputesWhileTypingAndReadsThePivot) {
    CDialogSkew dlg;
    dlg.SetImageSize(100, 200);
    dlg.show();
    Retype(dlg, IDC_SKW_SKEW_X, "-");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_SKEW_X), "-"); // half typed: left alone
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_SLOPE_X), "0.055");
    QTest::keyClicks(dlg.GetDlgItem(IDC_SKW_SKEW_X), "10");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_SLOPE_X), "-0.1");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_ANGLE_X), "-5.71059");
    Retype(dlg, IDC_SKW_SKEW_Y, "50");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_SLOPE_Y), "0.25");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_ANGLE_Y), "14.0362");
    // The computed fields cannot be typed into.
    QTest::keyClicks(dlg.GetDlgItem(IDC_SKW_SLOPE_Y), "9");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SKW_SLOPE_Y), "0.25");
    Retype(dlg, IDC_SKW_PIVOT_X, "12");
    Retype(dlg, IDC_SKW_PIVOT_Y, "-7");
    Click(dlg, IDC_SKW_INTERPOLATION);
    PressOk(dlg);
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.SlopeXParam(), -100);
    EXPECT_EQ(dlg.SlopeYParam(), 250);
    EXPECT_EQ(dlg.m_pivotX, 12);
    EXPECT_EQ(dlg.m_pivotY, -7);
    EXPECT_FALSE(dlg.m_interpolation);

    // A skew far beyond any sensible slope saturates instead of overflowing.
    CDialogSkew huge;
    huge.SetImageSize(1, 1);
    huge.show();
    Retype(huge, IDC_SKW_SKEW_X, "99999999999");
    PressOk(huge);
    EXPECT_EQ(huge.SlopeXParam(), INT_MAX);
}

TEST(ValueDialogs, OkAndCancelAreShadedOkTheDefaultAndTheSlopeShowsWhole) {
    CDialogResample resample;
    CDialogSkew skew;
    for (CTemplateDialog* dlg : std::initializer_list<CTemplateDialog*>{&resample, &skew}) {
        dlg->show();
        auto* ok = qobject_cast<CShadeButton*>(dlg->GetDlgItem(IDOK));
        auto* cancel = qobject_cast<CShadeButton*>(dlg->GetDlgItem(IDCANCEL));
        ASSERT_TRUE(ok && cancel) << dlg->windowTitle().toStdString();
        EXPECT_TRUE(ok->isDefault());
        EXPECT_FALSE(cancel->isDefault());
        EXPECT_EQ(cancel->text(), "Abbrechen");
    }
    auto* slope = skew.GetDlgItem<QLineEdit>(IDC_SKW_SLOPE_X);
    ASSERT_TRUE(slope);
    EXPECT_GE(slope->contentsRect().width() - 6, slope->fontMetrics().horizontalAdvance("-0.00833333"));
}
