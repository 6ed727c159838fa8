#include <QTest>

#include <gtest/gtest.h>

#include "NumericEdit.h"

TEST(NumericEdit, TakesOnlyKeystrokesThatCanMakeANumber) {
    CNumericEdit integer(CNumericEdit::Kind::Integer);
    QTest::keyClicks(&integer, "-12a3.4");
    EXPECT_EQ(integer.text(), "-1234");
    EXPECT_EQ(integer.Value(), -1234.0);

    CNumericEdit positive(CNumericEdit::Kind::Unsigned);
    QTest::keyClicks(&positive, "-7");
    EXPECT_EQ(positive.text(), "7");

    CNumericEdit real(CNumericEdit::Kind::Real);
    QTest::keyClicks(&real, "-1.2.5x");
    EXPECT_EQ(real.text(), "-1.25");
    EXPECT_DOUBLE_EQ(*real.Value(), -1.25);
    // A keystroke in the middle that would spoil the number is undone there.
    real.setCursorPosition(1);
    QTest::keyClicks(&real, "q");
    EXPECT_EQ(real.text(), "-1.25");
    EXPECT_EQ(real.cursorPosition(), 1);

    // Without the restore rule a range does not stop typing.
    CNumericEdit free(CNumericEdit::Kind::Integer);
    free.SetRange(0, 255);
    QTest::keyClicks(&free, "999");
    EXPECT_EQ(free.text(), "999");
}

TEST(NumericEdit, RestoresTheLastValidValueWhenAsked) {
    CNumericEdit level(CNumericEdit::Kind::Integer);
    level.SetRange(2, 255);
    level.SetRestoreOutOfRange(true);
    level.setText("30");
    QTest::keyClicks(&level, "0");
    EXPECT_EQ(level.text(), "30"); // 300 can never come back into range
    // Below the lower bound is fine while typing (1 may become 15) but not when done.
    level.selectAll();
    QTest::keyClicks(&level, "1");
    EXPECT_EQ(level.text(), "1");
    emit level.editingFinished();
    EXPECT_EQ(level.text(), "30");
    level.selectAll();
    QTest::keyClicks(&level, "15");
    emit level.editingFinished();
    EXPECT_EQ(level.text(), "15");
    EXPECT_EQ(level.Value(), 15.0);

    CNumericEdit angle(CNumericEdit::Kind::Real);
    angle.SetRange(-90, 90);
    angle.SetRestoreOutOfRange(true);
    QTest::keyClicks(&angle, "-89.5");
    EXPECT_EQ(angle.text(), "-89.5");
    angle.setText("-9");
    QTest::keyClicks(&angle, "5");
    EXPECT_EQ(angle.text(), "-9");
}
