// The calibration dialog: what it starts with and what it answers.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "CalibrationDialog.h"

using namespace kxvm;

TEST(CalibrationDialog, StartsFromTheActiveOneAndAnswersFromLinePixelsOrNothing) {
    const Calibration a{QStringLiteral("10x"), 2.5, LengthUnit::Micrometre};
    const Calibration b{QStringLiteral("40x"), 10, LengthUnit::Micrometre};
    CalibrationRequest request{QStringLiteral("Cam"), QSize(640, 480), 50, {a, b}, b};
    CalibrationDialog dialog(request);
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("Stored")->isChecked());
    EXPECT_EQ(dialog.Answer().chosen, b);

    dialog.findChild<QRadioButton*>("FromLine")->click();
    dialog.findChild<QDoubleSpinBox*>("Length")->setValue(20);
    dialog.findChild<QComboBox*>("Unit")->setCurrentText(QStringLiteral("mm"));
    dialog.findChild<QLineEdit*>("Name")->setText(QStringLiteral("Neu"));
    const CalibrationAnswer fromLine = dialog.Answer();
    ASSERT_TRUE(fromLine.chosen);
    EXPECT_EQ(*fromLine.chosen, (Calibration{QStringLiteral("Neu"), 2.5, LengthUnit::Millimetre}));

    dialog.findChild<QRadioButton*>("PixelsPerUnit")->click();
    dialog.findChild<QDoubleSpinBox*>("Pixels")->setValue(400);
    dialog.findChild<QComboBox*>("Unit")->setCurrentText(QStringLiteral("nm"));
    EXPECT_EQ(dialog.Answer().chosen, (Calibration{QStringLiteral("Neu"), 400, LengthUnit::Nanometre}));

    // Deleting both stored ones: the answer names them; the chosen way stays.
    auto* remove = dialog.findChild<QPushButton*>("Remove");
    remove->click();
    remove->click();
    EXPECT_FALSE(remove->isEnabled());
    const CalibrationAnswer after = dialog.Answer();
    EXPECT_EQ(after.removed, (std::vector<QString>{"40x", "10x"}));
    EXPECT_EQ(after.chosen, (Calibration{QStringLiteral("Neu"), 400, LengthUnit::Nanometre}));
}

TEST(CalibrationDialog, WithoutALineTheLineChoiceIsOff) {
    CalibrationDialog dialog(CalibrationRequest{QStringLiteral("Cam"), QSize(640, 480), 0, {}, std::nullopt});
    EXPECT_FALSE(dialog.findChild<QRadioButton*>("FromLine")->isEnabled());
    EXPECT_FALSE(dialog.findChild<QPushButton*>("Remove")->isEnabled());
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("None")->isChecked());
    EXPECT_FALSE(dialog.Answer().chosen);
}

TEST(CalibrationDialog, DeletingTheChosenStoredOneLeavesPixels) {
    const Calibration a{QStringLiteral("10x"), 2.5, LengthUnit::Micrometre};
    CalibrationDialog dialog(CalibrationRequest{QStringLiteral("Cam"), QSize(640, 480), 0, {a}, a});
    ASSERT_EQ(dialog.Answer().chosen, a);
    dialog.findChild<QPushButton*>("Remove")->click();
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("None")->isChecked());
    EXPECT_FALSE(dialog.Answer().chosen);
}
