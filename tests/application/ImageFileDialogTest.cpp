#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include "ImageFileDialog.h"
#include "TestSupport.h"

TEST(ImageFileDialog, OpenListsEveryRowAndSaveLeavesOutMetafiles) {
    const auto open = CImageFileDialog::BuildChoice(true, -1);
    ASSERT_EQ(open.filters.size(), 16);
    EXPECT_EQ(open.initial, 0);
    EXPECT_TRUE(open.filters[0].startsWith("Supported files (*.bmp *.gif *.jpg *.jpeg "));
    EXPECT_EQ(open.filters[10], "WMF EMF files (*.wmf *.emf)");
    EXPECT_EQ(open.filters[15], "PNM files (*.pnm *.pgm *.ppm)");
    EXPECT_EQ(open.filters[5], "ICO CUR files (*.ico *.cur)");
    // Rows come from the codec registry: every extension a codec reads, and no
    // JBIG (*.jbg), which nothing here decodes.
    EXPECT_EQ(open.filters[0],
              "Supported files (*.bmp *.gif *.jpg *.jpeg *.png *.ico *.tif *.tiff *.tga *.pcx "
              "*.wbmp *.wmf *.emf *.j2k *.jp2 *.j2c *.jpc *.pgx *.pnm *.pgm *.ppm *.ras)");

    const auto save = CImageFileDialog::BuildChoice(false, 3);
    ASSERT_EQ(save.filters.size(), 15);
    EXPECT_FALSE(save.filters.join(';').contains("WMF"));
    EXPECT_EQ(save.ids, (std::vector<int>{-1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 15, 14}));
    EXPECT_EQ(save.initial, 3);
    EXPECT_EQ(save.defaultExt, "jpg");
}

TEST(ImageFileDialog, InitialFilterIsCountedAmongTheListedRows) {
    // PNM comes after RAS in the table, so it is the last filter.
    EXPECT_EQ(CImageFileDialog::BuildChoice(true, 14).initial, 15);
    EXPECT_EQ(CImageFileDialog::BuildChoice(false, 14).initial, 14);
    EXPECT_EQ(CImageFileDialog::BuildChoice(false, 15).initial, 13);
    // No format means BMP; a format the mode does not list means the first row.
    EXPECT_EQ(CImageFileDialog::BuildChoice(false, 0).initial, 1);
    EXPECT_EQ(CImageFileDialog::BuildChoice(false, 0).defaultExt, "bmp");
    EXPECT_EQ(CImageFileDialog::BuildChoice(false, 10).initial, 0);
    EXPECT_EQ(CImageFileDialog::BuildChoice(false, 10).defaultExt, "bmp");
    EXPECT_EQ(CImageFileDialog::BuildChoice(true, 99).initial, 0);
    // The whole extension, so a WBMP file is found again by its name.
    EXPECT_EQ(CImageFileDialog::BuildChoice(false, 9).defaultExt, "wbmp");
    EXPECT_EQ(CImageFileDialog::BuildChoice(false, 6).defaultExt, "tif");
}

TEST(ImageFileDialog, ExtensionsNameTheirFormats) {
    EXPECT_EQ(CImageFileDialog::FindType("/a/b/c.BMP"), 1);
    EXPECT_EQ(CImageFileDialog::FindType("x.jpeg"), 3);
    EXPECT_EQ(CImageFileDialog::FindType("x.tif"), 6);
    EXPECT_EQ(CImageFileDialog::FindType("x.emf"), 10);
    EXPECT_EQ(CImageFileDialog::FindType("x.j2c"), 12);
    EXPECT_EQ(CImageFileDialog::FindType("x.ppm"), 14);
    EXPECT_EQ(CImageFileDialog::FindType("x.wbmp"), 9);
    EXPECT_EQ(CImageFileDialog::FindType("dir.png/noext"), 0);
    EXPECT_EQ(CImageFileDialog::FindType("x.cur"), 0);
    EXPECT_EQ(CImageFileDialog::FormatShortName(9), "WBM");
    EXPECT_EQ(CImageFileDialog::FormatShortName(0), "");
}

TEST(ImageFileDialog, HandsBackTheFormatOfTheFilterTheUserEndedOn) {
    testsupport::TempDir dir;
    const QString target = QString::fromStdString(dir.file("out.png"));
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        title = dlg->windowTitle();
        EXPECT_EQ(dlg->selectedNameFilter(), "TIF files (*.tif *.tiff)");
        dlg->selectNameFilter("PNG files (*.png)");
        dlg->selectFile(target);
        QMetaObject::invokeMethod(dlg, "accept");
    });
    QString path;
    int format = 6;
    ASSERT_TRUE(CImageFileDialog::PromptForFileName(nullptr, path, 0, false, format));
    EXPECT_EQ(title, "Save image file");
    EXPECT_EQ(path, target);
    EXPECT_EQ(format, 4);

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    format = 6;
    EXPECT_FALSE(CImageFileDialog::PromptForFileName(nullptr, path, 0, true, format));
    EXPECT_EQ(format, 6);
}
