#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include "MessageBoxCatcher.h"
#include "TemplateDialog.h"

namespace {

enum {
    kCount = 1000, kLevel, kScale, kByte, kName, kMode1 = 1010, kMode2, kMode3, kSide1, kSide2,
    kSmooth = 1020, kMethod, kSlider, kSpin, kGroup
};

const DialogTemplate kTemplate{
    600, "Exchange", 200, 140,
    {
        {kCount, DialogControlKind::Edit, "", 5, 5, 40, 12},
        {kLevel, DialogControlKind::Edit, "", 50, 5, 40, 12},
        {kScale, DialogControlKind::Edit, "", 95, 5, 40, 12},
        {kName, DialogControlKind::Edit, "", 5, 20, 40, 12},
        {kGroup, DialogControlKind::GroupBox, "Mode", 5, 35, 90, 50},
        {kMode1, DialogControlKind::RadioButton, "one", 10, 45, 40, 10},
        {kMode2, DialogControlKind::RadioButton, "two", 10, 55, 40, 10},
        {kByte, DialogControlKind::Edit, "", 140, 5, 40, 12}, // between the radios of one group
        {kMode3, DialogControlKind::RadioButton, "three", 10, 65, 40, 10},
        {kSide1, DialogControlKind::RadioButton, "left", 60, 45, 30, 10, DS_GROUP},
        {kSide2, DialogControlKind::RadioButton, "right", 60, 55, 30, 10},
        {kSmooth, DialogControlKind::CheckBox, "smooth", 100, 45, 50, 10},
        {kMethod, DialogControlKind::ComboBox, "", 100, 60, 60, 50},
        {kSlider, DialogControlKind::Slider, "", 5, 90, 100, 14},
        {kSpin, DialogControlKind::SpinBox, "", 110, 90, 40, 14},
        {IDOK, DialogControlKind::DefPushButton, "OK", 90, 120, 50, 14},
        {IDCANCEL, DialogControlKind::PushButton, "Abbrechen", 145, 120, 50, 14},
    }};

class ProbeDialog : public CTemplateDialog {
public:
    ProbeDialog() : CTemplateDialog(kTemplate) {
        Bind(kCount, &count, 2, 256);
        Bind(kLevel, &level);
        Bind(kScale, &scale);
        Bind(kByte, &byte);
        Bind(kName, &name);
        Bind(kMode1, &mode);
        Bind(kSide1, &side);
        Bind(kSmooth, &smooth);
        Bind(kMethod, &method);
        Bind(kSlider, &sliderPos, 0, 200);
        Bind(kSpin, &spinValue, 1, 50);
    }

    int count = 256;
    unsigned level = 7;
    float scale = 12.345f;
    uint8_t byte = 200;
    QString name = "probe";
    int mode = 1;
    int side = -1;
    bool smooth = true;
    int method = 2;
    int sliderPos = 150;
    int spinValue = 2;

    std::vector<std::pair<char, int>> events;

protected:
    void OnInitDialog() override {
        SetItems(kMethod, {"a", "b", "c", "d"});
        CTemplateDialog::OnInitDialog();
    }
    void OnChange(int id) override { events.push_back({'c', id}); }
    void OnClicked(int id) override { events.push_back({'k', id}); }
    void OnSliderMoved(int id, int pos) override { events.push_back({'s', id * 1000 + pos}); }
};

void Retype(QWidget* edit, const QString& text) {
    auto* line = qobject_cast<QLineEdit*>(edit);
    ASSERT_NE(line, nullptr);
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Delete);
    QTest::keyClicks(line, text);
}

void PressOk(CTemplateDialog& dlg) { QTest::mouseClick(dlg.GetDlgItem(IDOK), Qt::LeftButton); }

} // namespace

TEST(TemplateDialogExchange, LoadsMembersSilentlyWhenShown) {
    ProbeDialog dlg;
    dlg.show();
    EXPECT_EQ(dlg.GetDlgItemText(kCount), "256");
    EXPECT_EQ(dlg.GetDlgItemText(kScale), "12.345");
    EXPECT_EQ(dlg.GetDlgItemText(kName), "probe");
    EXPECT_TRUE(dlg.IsDlgButtonChecked(kMode2));
    EXPECT_FALSE(dlg.IsDlgButtonChecked(kMode1) || dlg.IsDlgButtonChecked(kMode3));
    EXPECT_FALSE(dlg.IsDlgButtonChecked(kSide1) || dlg.IsDlgButtonChecked(kSide2));
    EXPECT_TRUE(dlg.IsDlgButtonChecked(kSmooth));
    EXPECT_EQ(dlg.GetCurSel(kMethod), 2);
    EXPECT_EQ(dlg.GetDlgItem<QSlider>(kSlider)->value(), 150);
    EXPECT_EQ(dlg.GetDlgItem<QSlider>(kSlider)->maximum(), 200);
    EXPECT_EQ(dlg.GetDlgItem<QSpinBox>(kSpin)->maximum(), 50);
    // Loading the controls is not a change the handlers hear of.
    EXPECT_TRUE(dlg.events.empty());
}

TEST(TemplateDialogExchange, RadioGroupsAreSeparateAndReadBackAsPositions) {
    ProbeDialog dlg;
    dlg.show();
    QTest::mouseClick(dlg.GetDlgItem(kSide2), Qt::LeftButton);
    // The second group does not clear the first.
    EXPECT_TRUE(dlg.IsDlgButtonChecked(kMode2));
    QTest::mouseClick(dlg.GetDlgItem(kMode3), Qt::LeftButton);
    EXPECT_FALSE(dlg.IsDlgButtonChecked(kMode2));
    EXPECT_TRUE(dlg.IsDlgButtonChecked(kSide2));
    QTest::mouseClick(dlg.GetDlgItem(kSmooth), Qt::LeftButton);
    dlg.SetCurSel(kMethod, 0);
    PressOk(dlg);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.mode, 2);
    EXPECT_EQ(dlg.side, 1);
    EXPECT_FALSE(dlg.smooth);
    EXPECT_EQ(dlg.method, 0);
}

TEST(TemplateDialogExchange, RefusesBadNumbersNamingTheRangeAndStaysOpen) {
    MessageBoxCatcher boxes;
    ProbeDialog dlg;
    dlg.show();
    const struct {
        int id;
        const char* text;
        const char* message;
    } cases[] = {
        {kCount, "1", "Please enter an integer between 2 and 256."},
        {kCount, "257", "Please enter an integer between 2 and 256."},
        {kCount, "12a", "Please enter an integer between 2 and 256."},
        {kLevel, "-3", "Please enter a positive integer."},
        {kLevel, "x", "Please enter an integer."},
        {kScale, "1.5.", "Please enter a number."},
        {kScale, "1e39", "Please enter a number."}, // beyond single precision
        {kByte, "256", "Please enter an integer between 0 and 255."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ProbeDialog one;
        one.show();
        Retype(one.GetDlgItem(c.id), c.text);
        PressOk(one);
        EXPECT_TRUE(one.isVisible());
        EXPECT_EQ(one.LastDataError(), c.message);
        EXPECT_EQ(boxes.Take(), QStringList{c.message});
        EXPECT_TRUE(one.GetDlgItem(c.id)->hasFocus() || !QApplication::focusWidget());
    }

    // Bounds are inclusive; good values are stored, the dialog closes.
    Retype(dlg.GetDlgItem(kCount), " 2 ");
    Retype(dlg.GetDlgItem(kLevel), "4000000000");
    Retype(dlg.GetDlgItem(kScale), "-0.25");
    Retype(dlg.GetDlgItem(kByte), "255");
    Retype(dlg.GetDlgItem(kName), "Bild 1");
    PressOk(dlg);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(boxes.Take().isEmpty());
    EXPECT_EQ(dlg.count, 2);
    EXPECT_EQ(dlg.level, 4000000000u);
    EXPECT_FLOAT_EQ(dlg.scale, -0.25f);
    EXPECT_EQ(dlg.byte, 255);
    EXPECT_EQ(dlg.name, "Bild 1");
}

TEST(TemplateDialogExchange, CancelLeavesMembersAlone) {
    ProbeDialog dlg;
    dlg.show();
    Retype(dlg.GetDlgItem(kCount), "17");
    QTest::mouseClick(dlg.GetDlgItem(IDCANCEL), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.count, 256);
}

TEST(TemplateDialogExchange, RoutesNotificationsToHandlers) {
    ProbeDialog dlg;
    dlg.show();
    QTest::keyClicks(dlg.GetDlgItem(kName), "x");
    QTest::mouseClick(dlg.GetDlgItem(kSmooth), Qt::LeftButton);
    QTest::mouseClick(dlg.GetDlgItem(kMode1), Qt::LeftButton);
    dlg.SetCurSel(kMethod, 1); // the dialog's own choice: silent
    dlg.GetDlgItem<QComboBox>(kMethod)->setCurrentIndex(3);
    dlg.GetDlgItem<QSlider>(kSlider)->setValue(20);
    dlg.GetDlgItem<QSpinBox>(kSpin)->setValue(9);
    const std::vector<std::pair<char, int>> expected{
        {'c', kName},   {'k', kSmooth}, {'k', kMode1},
        {'c', kMethod}, {'s', kSlider * 1000 + 20}, {'c', kSpin}};
    EXPECT_EQ(dlg.events, expected);

    // A replacement control takes over place, id, text and notifications.
    auto* old = dlg.GetDlgItem(kSmooth);
    const QRect place = old->geometry();
    auto* mine = new QCheckBox;
    EXPECT_EQ(dlg.SubclassDlgItem(kSmooth, mine), mine);
    EXPECT_EQ(dlg.GetDlgItem(kSmooth), mine);
    EXPECT_EQ(mine->geometry(), place);
    EXPECT_EQ(mine->text(), "smooth");
    dlg.events.clear();
    QTest::mouseClick(mine, Qt::LeftButton);
    EXPECT_EQ(dlg.events, (std::vector<std::pair<char, int>>{{'k', kSmooth}}));

    // A replaced radio button stays in its group.
    auto* radio = new QRadioButton;
    dlg.SubclassDlgItem(kSide1, radio);
    QTest::mouseClick(radio, Qt::LeftButton);
    QTest::mouseClick(dlg.GetDlgItem(kSide2), Qt::LeftButton);
    EXPECT_FALSE(radio->isChecked());
    PressOk(dlg);
    EXPECT_EQ(dlg.side, 1);
}
