#include <QApplication>
#include <QMainWindow>

#include <gtest/gtest.h>

#include "DialogProgress.h"
#include "GradientProgress.h"
#include "Resources.h"
#include "Resource.h"

TEST(DialogProgress, BorderlessModelessBarWithCaptionAndSteps) {
    QWidget owner;
    owner.setGeometry(100, 100, 800, 600);
    owner.show();
    CDialogProgress dlg(&owner);
    EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(dlg.isModal());
    CGradientProgress* bar = dlg.Bar();
    ASSERT_EQ(dlg.GetDlgItem(IDC_PRG_BAR), bar);
    EXPECT_EQ(bar->text(), "Complete : 0%");
    EXPECT_EQ(bar->maximum(), 100);

    dlg.show();
    // Centred on the owner.
    EXPECT_LE((dlg.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);

    dlg.SetCaption(resources::String(IDS_SAVING_IMAGE));
    dlg.SetPos(50);
    EXPECT_EQ(bar->text(), "Bild speichern: 50%");
    dlg.StepIt();
    EXPECT_EQ(bar->value(), 60);
    for (int i = 0; i < 6; ++i) dlg.StepIt();
    EXPECT_EQ(bar->value(), 100);

    // An empty or negative range still has a top.
    dlg.SetRange(0, 0);
    EXPECT_EQ(bar->maximum(), 1);
    dlg.SetRange(0, -5);
    EXPECT_EQ(bar->maximum(), 1);
    dlg.SetRange(0, 400);
    dlg.SetStep(100);
    dlg.SetPos(0);
    dlg.StepIt();
    EXPECT_EQ(bar->text(), "Bild speichern: 25%");
}
