// Presets, lists, checks and the values handed back by the plain parameter
// dialogs, driven through their controls.
#include <QComboBox>

#include "DialogDecreaseBpp.h"
#include "DialogDither.h"
#include "DialogIncreaseBpp.h"
#include "DialogJpegCompression.h"
#include "DialogOpacity.h"
#include "DialogRepair.h"
#include "DialogRotate.h"
#include "DialogTestSupport.h"
#include "DialogThreshold.h"
#include "MessageBoxCatcher.h"
#include "Resource.h"

using namespace dialogtest;

TEST(DialogRotate, HandsBackThousandthsOfADegreeAndTheChoices) {
    CDialogRotate dlg;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Drehen");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ROT_ANGLE), "12.345");
    auto* interpolation = dlg.GetDlgItem<QComboBox>(IDC_ROT_INTERPOLATION);
    auto* overflow = dlg.GetDlgItem<QComboBox>(IDC_ROT_OVERFLOW);
    ASSERT_EQ(interpolation->count(), 7);
    ASSERT_EQ(overflow->count(), 7);
    EXPECT_EQ(interpolation->currentIndex(), 1);
    EXPECT_EQ(interpolation->currentText(), "Bilinear");
    EXPECT_EQ(overflow->currentIndex(), 0);
    EXPECT_EQ(overflow->itemText(0), "Background (or [0,0] color)");
    EXPECT_EQ(overflow->itemText(6), "Transparent");
    EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_ROT_KEEP_SIZE));
    PressOk(dlg);
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.AngleParam(), 12345);
    EXPECT_EQ(dlg.m_interpolation, 1);
    EXPECT_EQ(dlg.m_overflow, 0);
    EXPECT_TRUE(dlg.m_keepSize);

    CDialogRotate other;
    other.show();
    Retype(other, IDC_ROT_ANGLE, "-45.5");
    QTest::keyClick(other.GetDlgItem(IDC_ROT_OVERFLOW), Qt::Key_Down);
    QTest::keyClick(other.GetDlgItem(IDC_ROT_OVERFLOW), Qt::Key_Down);
    QTest::keyClick(other.GetDlgItem(IDC_ROT_INTERPOLATION), Qt::Key_Up);
    Click(other, IDC_ROT_KEEP_SIZE);
    PressOk(other);
    EXPECT_EQ(other.AngleParam(), -45500);
    EXPECT_EQ(other.m_overflow, 2);
    EXPECT_EQ(other.m_interpolation, 0);
    EXPECT_FALSE(other.m_keepSize);
}

TEST(DialogDecreaseBpp, PresetPicksTheRadioAndOkCapsTheColours) {
    const std::pair<int, int> presets[] = {
        {4, IDC_DBPP_4}, {8, IDC_DBPP_8}, {2, IDC_DBPP_1}, {24, IDC_DBPP_1}};
    for (const auto& [preset, radio] : presets) {
        CDialogDecreaseBpp dlg;
        dlg.m_bpp = preset;
        dlg.show();
        EXPECT_TRUE(dlg.IsDlgButtonChecked(radio)) << preset;
        EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_DBPP_OPTIMISED));
        EXPECT_FALSE(dlg.IsDlgButtonChecked(IDC_DBPP_DIFFUSION));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_DBPP_MAX_COLOURS), "256");
    }

    struct Case {
        int radio;
        bool limit;
        const char* typed;
        int bpp, colours;
    };
    for (const Case& c : {Case{IDC_DBPP_4, true, "100", 4, 16}, Case{IDC_DBPP_8, false, "100", 8, 256},
                          Case{IDC_DBPP_8, true, "100", 8, 100}, Case{IDC_DBPP_1, true, "200", 1, 2},
                          Case{IDC_DBPP_4, true, "7", 4, 7}, Case{IDC_DBPP_1, false, "256", 1, 2}}) {
        SCOPED_TRACE(c.typed);
        CDialogDecreaseBpp dlg;
        dlg.show();
        Click(dlg, c.radio);
        if (c.limit) Click(dlg, IDC_DBPP_LIMIT);
        Click(dlg, IDC_DBPP_STANDARD);
        Click(dlg, IDC_DBPP_DIFFUSION);
        Retype(dlg, IDC_DBPP_MAX_COLOURS, c.typed);
        PressOk(dlg);
        ASSERT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.m_bpp, c.bpp);
        EXPECT_EQ(dlg.m_maxColours, c.colours);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_DBPP_MAX_COLOURS), QString::number(c.colours));
        EXPECT_EQ(dlg.m_paletteMethod, 0);
        EXPECT_TRUE(dlg.m_errorDiffusion);
    }

    // The typed limit is checked whether or not it is used.
    MessageBoxCatcher boxes;
    for (const char* typed : {"1", "257", ""}) {
        CDialogDecreaseBpp dlg;
        dlg.show();
        Retype(dlg, IDC_DBPP_MAX_COLOURS, typed);
        PressOk(dlg);
        EXPECT_TRUE(dlg.isVisible()) << typed;
        EXPECT_EQ(boxes.Take(), QStringList{"Please enter an integer between 2 and 256."}) << typed;
    }
    CDialogDecreaseBpp dlg;
    dlg.show();
    PressOk(dlg);
    EXPECT_EQ(dlg.m_paletteMethod, 1);
}

TEST(DialogIncreaseBpp, PresetPicksTheRadioAndOkReadsIt) {
    const std::pair<int, int> presets[] = {
        {24, IDC_IBPP_24}, {4, IDC_IBPP_4}, {8, IDC_IBPP_8}, {16, IDC_IBPP_24}};
    for (const auto& [preset, radio] : presets) {
        CDialogIncreaseBpp dlg;
        dlg.m_bpp = preset;
        dlg.show();
        EXPECT_TRUE(dlg.IsDlgButtonChecked(radio)) << preset;
        PressOk(dlg);
        EXPECT_EQ(dlg.m_bpp, preset == 16 ? 24 : preset);
    }
    CDialogIncreaseBpp dlg;
    dlg.show();
    Click(dlg, IDC_IBPP_8);
    PressOk(dlg);
    EXPECT_EQ(dlg.m_bpp, 8);
}

TEST(DialogDither, RadioGivesTheMethodNumber) {
    const int radios[] = {IDC_DIT_FLOYD_STEINBERG, IDC_DIT_ORDERED, IDC_DIT_BURKES, IDC_DIT_STUCKI,
                          IDC_DIT_JARVIS, IDC_DIT_SIERRA, IDC_DIT_STEVENSON_ARCE, IDC_DIT_BAYER};
    CDialogDither plain;
    plain.show();
    EXPECT_TRUE(plain.IsDlgButtonChecked(IDC_DIT_FLOYD_STEINBERG));
    PressOk(plain);
    EXPECT_EQ(plain.m_method, 0);
    for (int method = 7; method >= 0; --method) {
        CDialogDither dlg;
        dlg.show();
        Click(dlg, radios[method]);
        PressOk(dlg);
        EXPECT_EQ(dlg.m_method, method);
    }
}

TEST(DialogThresholdOpacityRepair, ChecksTheirRanges) {
    MessageBoxCatcher boxes;
    CDialogThreshold threshold;
    threshold.m_level = 97;
    threshold.show();
    EXPECT_EQ(threshold.windowTitle(), "Schwelle");
    EXPECT_EQ(threshold.GetDlgItemText(IDC_THR_LEVEL), "97");
    Retype(threshold, IDC_THR_LEVEL, "256");
    PressOk(threshold);
    EXPECT_TRUE(threshold.isVisible());
    EXPECT_EQ(boxes.Take(), QStringList{"Please enter an integer between 0 and 255."});
    Retype(threshold, IDC_THR_LEVEL, "255");
    PressOk(threshold);
    EXPECT_EQ(threshold.result(), QDialog::Accepted);
    EXPECT_EQ(threshold.m_level, 255);

    // Opacity has no range of its own, but a byte holds no more than 255.
    CDialogOpacity opacity;
    opacity.m_level = 180;
    opacity.show();
    EXPECT_EQ(opacity.GetDlgItemText(IDC_OPA_LEVEL), "180");
    Retype(opacity, IDC_OPA_LEVEL, "300");
    PressOk(opacity);
    EXPECT_EQ(boxes.Take(), QStringList{"Please enter an integer between 0 and 255."});
    Retype(opacity, IDC_OPA_LEVEL, "0");
    PressOk(opacity);
    EXPECT_EQ(opacity.result(), QDialog::Accepted);
    EXPECT_EQ(opacity.m_level, 0);

    CDialogRepair repair;
    repair.show();
    EXPECT_EQ(repair.windowTitle(), "Wiederherstellen");
    EXPECT_EQ(repair.GetDlgItemText(IDC_REP_RADIUS), "0.25");
    EXPECT_EQ(repair.GetDlgItemText(IDC_REP_ITERATIONS), "2");
    auto* spaces = repair.GetDlgItem<QComboBox>(IDC_REP_COLOUR_SPACE);
    ASSERT_EQ(spaces->count(), 5);
    EXPECT_EQ(spaces->itemText(4), "XYZ");
    EXPECT_EQ(spaces->currentIndex(), 0);
    for (const char* bad : {"0", "51"}) {
        Retype(repair, IDC_REP_ITERATIONS, bad);
        PressOk(repair);
        EXPECT_EQ(boxes.Take(), QStringList{"Please enter an integer between 1 and 50."}) << bad;
    }
    EXPECT_TRUE(repair.isVisible());
    Retype(repair, IDC_REP_ITERATIONS, "50");
    Retype(repair, IDC_REP_RADIUS, "1.75");
    for (int i = 0; i < 3; ++i) QTest::keyClick(spaces, Qt::Key_Down);
    PressOk(repair);
    EXPECT_EQ(repair.result(), QDialog::Accepted);
    EXPECT_EQ(repair.m_iterations, 50);
    EXPECT_FLOAT_EQ(repair.m_radius, 1.75f);
    EXPECT_EQ(repair.m_colourSpace, 3);
}

TEST(DialogJpegCompression, QualityZeroToHundredAndFormat) {
    MessageBoxCatcher boxes;
    CDialogJpegCompression dlg;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "JPEG compression");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_JPC_QUALITY), "50");
    EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_JPC_JPEG));
    Retype(dlg, IDC_JPC_QUALITY, "101");
    PressOk(dlg);
    EXPECT_EQ(boxes.Take(), QStringList{"Please enter an integer between 0 and 100."});
    Retype(dlg, IDC_JPC_QUALITY, "85");
    Click(dlg, IDC_JPC_JPEG2000);
    PressOk(dlg);
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_quality, 85);
    EXPECT_EQ(dlg.m_format, 1);

    CDialogJpegCompression plain;
    plain.show();
    Retype(plain, IDC_JPC_QUALITY, "0");
    PressOk(plain);
    EXPECT_EQ(plain.m_quality, 0);
    EXPECT_EQ(plain.m_format, 0);
}

TEST(DialogRotate, CancelKeepsThePresets) {
    CDialogRotate dlg;
    dlg.show();
    Retype(dlg, IDC_ROT_ANGLE, "90");
    Click(dlg, IDCANCEL);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.AngleParam(), 12345);
}
