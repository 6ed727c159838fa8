// The palette dialog (grid, hit test, status text, editing, loading with its
// messages, saving) and the document's "Palette" command in its three modes.
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "CmdUI.h"
#include "DialogPalette.h"
#include "DocTestSupport.h"
#include "Image.h"
#include "PaletteFile.h"
#include "Resource.h"

using doctest::MessageBoxAnswerer;
using vimg::RGBQUAD;

namespace {

std::vector<RGBQUAD> Greys(int n) {
    std::vector<RGBQUAD> t;
    for (int i = 0; i < n; ++i)
        t.push_back(
            {static_cast<uint8_t>(i * 16), static_cast<uint8_t>(i * 16), static_cast<uint8_t>(i * 16), 0});
    return t;
}

QPoint Centre(int index) { return CDialogPalette::CellRect(index).center(); }

TEST(DialogPalette, HitTestFindsCellsGapsBelongLeftAndAboveAndNothingPastTheTable) {
    CDialogPalette dialog;
    const auto table = Greys(20);
    dialog.SetTable(table.data(), 20);
    EXPECT_EQ(dialog.HitTest({14, 14}), 0);
    EXPECT_EQ(dialog.HitTest({24, 24}), 0);
    EXPECT_EQ(dialog.HitTest({25, 14}), 0); // the gap right of cell 0
    EXPECT_EQ(dialog.HitTest({26, 14}), 1);
    EXPECT_EQ(dialog.HitTest({14, 26}), 16);
    EXPECT_EQ(dialog.HitTest(Centre(19)), 19);
    EXPECT_EQ(dialog.HitTest(Centre(20)), -1);
    EXPECT_EQ(dialog.HitTest({13, 20}), -1);
    EXPECT_EQ(dialog.HitTest({20, 13}), -1);
    EXPECT_EQ(dialog.HitTest({14 + 16 * 12, 14}), -1); // a 17th column would wrap into the next row
    EXPECT_EQ(CDialogPalette::CellRect(17), QRect(26, 26, 11, 11));

    CDialogPalette empty;
    empty.SetTable(nullptr, 0);
    for (int y = 0; y < 220; y += 3)
        for (int x = 0; x < 220; x += 3) ASSERT_EQ(empty.HitTest({x, y}), -1) << x << "," << y;
}

TEST(DialogPalette, MouseOverAnEntryShowsItsIndexAndColour) {
    CDialogPalette dialog;
    RGBQUAD table[3] = {{1, 2, 3, 4}, {10, 20, 30, 40}, {50, 60, 70, 80}};
    dialog.SetTable(table, 3);
    dialog.show();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_PAL_STATUS), QStringLiteral(" I = 0, RGBA = (0,0,0,0)"));
    QTest::mouseMove(&dialog, Centre(1));
    EXPECT_EQ(dialog.GetDlgItemText(IDC_PAL_STATUS), QStringLiteral(" I : 1, RGBA : 30, 20, 10, 40"));
    QTest::mouseMove(&dialog, Centre(40)); // no entry there: the text stays
    EXPECT_EQ(dialog.GetDlgItemText(IDC_PAL_STATUS), QStringLiteral(" I : 1, RGBA : 30, 20, 10, 40"));
}

TEST(DialogPalette, DoubleClickEditsColourOrAlphaAndPaintsTheSwatch) {
    CDialogPalette dialog;
    const auto table = Greys(16);
    dialog.SetTable(table.data(), 16);
    QColor offered;
    QColor answer(200, 100, 50);
    dialog.m_chooseColour = [&](const QColor& initial) {
        offered = initial;
        return answer;
    };
    dialog.show();
    QTest::mouseDClick(&dialog, Qt::LeftButton, {}, Centre(3));
    EXPECT_EQ(offered, QColor(48, 48, 48));
    EXPECT_EQ(dialog.Table()[3], (RGBQUAD{50, 100, 200, 0}));
    EXPECT_TRUE(dialog.Changed());
    EXPECT_EQ(dialog.Selected(), 3);
    EXPECT_EQ(dialog.grab().toImage().pixelColor(Centre(3)), QColor(200, 100, 50));

    // Alpha editing: the chooser sees the alpha as grey and its red becomes the alpha.
    dialog.GetDlgItem<QCheckBox>(IDC_PAL_EDIT_ALPHA)->click();
    ASSERT_TRUE(dialog.AlphaEditing());
    answer = QColor(77, 1, 2);
    QTest::mouseDClick(&dialog, Qt::LeftButton, {}, Centre(5));
    EXPECT_EQ(offered, QColor(0, 0, 0));
    EXPECT_EQ(dialog.Table()[5], (RGBQUAD{80, 80, 80, 77}));
    EXPECT_EQ(dialog.grab().toImage().pixelColor(Centre(5)), QColor(77, 77, 77));

    // A cancelled chooser changes nothing.
    CDialogPalette other;
    other.SetTable(table.data(), 16);
    other.m_chooseColour = [](const QColor&) { return QColor(); };
    other.show();
    QTest::mouseDClick(&other, Qt::LeftButton, {}, Centre(2));
    EXPECT_FALSE(other.Changed());
    EXPECT_EQ(other.Selected(), -1);
}

TEST(DialogPalette, LoadingShowsTheReadersMessagesAndSavingWritesTheRiffFile) {
    testsupport::TempDir dir;
    CDialogPalette dialog;
    const auto table = Greys(16);
    dialog.SetTable(table.data(), 16);
    const QString unknown = QString::fromStdString(dir.file("lower.pal"));
    testsupport::WriteFile(unknown.toStdString(), {'j', 'a', 's', 'c', '\n'});
    {
        MessageBoxAnswerer answer(QMessageBox::Ok);
        dialog.LoadFile(unknown);
        dialog.LoadFile(QString::fromStdString(dir.file("missing.pal"))); // silently nothing
        EXPECT_EQ(answer.texts, QStringList{QStringLiteral("Unknown contents!")});
    }
    EXPECT_FALSE(dialog.Changed());

    std::vector<RGBQUAD> eight(256);
    for (int i = 0; i < 8; ++i) eight[i] = {static_cast<uint8_t>(i), 1, 2, static_cast<uint8_t>(100 + i)};
    const std::string eightPath = dir.file("eight.pal");
    testsupport::WriteFile(eightPath, CPaletteFile::Save(eight.data(), 8));
    {
        MessageBoxAnswerer answer(QMessageBox::Ok);
        dialog.LoadFile(QString::fromStdString(eightPath));
        EXPECT_EQ(answer.texts, QStringList{QStringLiteral("Warning: numcolors doesn't match")});
    }
    EXPECT_TRUE(dialog.Changed());
    EXPECT_EQ(dialog.Table()[7], eight[7]);
    EXPECT_EQ(dialog.Table()[8], table[8]);

    const QString saved = QString::fromStdString(dir.file("out.pal"));
    ASSERT_TRUE(dialog.SaveFile(saved));
    std::vector<RGBQUAD> expected(dialog.Table(), dialog.Table() + 16);
    EXPECT_EQ(testsupport::ReadFile(saved.toStdString()), CPaletteFile::Save(expected.data(), 16));
    EXPECT_FALSE(dialog.SaveFile(QString::fromStdString(dir.file("no/such/folder/x.pal"))));
}

TEST(DialogPalette, SichernAsksBeforeReplacingAPaletteNamedWithoutItsExtension) {
    testsupport::TempDir dir;
    CDialogPalette dialog;
    const auto table = Greys(16);
    dialog.SetTable(table.data(), 16);
    const std::string existing = dir.file("mine.pal");
    testsupport::WriteFile(existing, {'k', 'e', 'e', 'p'});
    // The user types "mine" into the save dialog, is asked about mine.pal, says no and cancels.
    QStringList questions;
    QTimer answer; // the question, in the file dialog's own wait for it
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            questions << box->text();
            box->button(QMessageBox::No)->click();
        }
    });
    answer.start(10);
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* name = files ? files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!name) return;
        user.stop();
        files->setDirectory(QString::fromStdString(dir.path().string()));
        name->setText(QStringLiteral("mine"));
        QMetaObject::invokeMethod(files, "accept"); // returns once the question is answered
        files->reject();
    });
    user.start(10);
    QPushButton* save = nullptr;
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Sichern")) save = b;
    ASSERT_TRUE(save);
    save->click();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("mine.pal"))) << questions[0].toStdString();
    EXPECT_EQ(testsupport::ReadFile(existing), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
}

TEST(DialogPalette, OkReportsTheChosenMode) {
    for (int id : {IDC_PAL_MAINTAIN, IDC_PAL_NEAREST, IDC_PAL_DITHER}) {
        CDialogPalette dialog;
        dialog.GetDlgItem<QRadioButton>(id)->setChecked(true);
        dialog.accept();
        EXPECT_EQ(dialog.ApplyMode(), id - IDC_PAL_MAINTAIN + 1);
    }
    CDialogPalette fresh;
    EXPECT_TRUE(fresh.GetDlgItem<QRadioButton>(IDC_PAL_MAINTAIN)->isChecked());
}

// ---- the document's command ----

class PaletteCommandTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(s.started);
        s.app->CloseAllDocuments();
    }
    // A 4-bit picture of 4 × 2 pixels with indexes 0..7 into a table of 16 greys.
    CKXViewDoc* OpenIndexed() {
        vimg::Image image(4, 2, 4);
        const auto greys = Greys(16);
        image.SetPalette(greys.data(), 16);
        for (int i = 0; i < 8; ++i) image.SetPixelIndex(i % 4, i / 4, static_cast<uint8_t>(i));
        const std::string path = dir.file("indexed.bmp");
        image.Save(path.c_str(), vimg::FORMAT_BMP);
        return doctest::Open(s, QString::fromStdString(path));
    }
    // Runs the command, answering its dialog with `answer` (null: cancel).
    void RunPalette(const std::function<void(CDialogPalette&)>& answer) {
        QTimer::singleShot(0, [answer] {
            auto* dialog = qobject_cast<CDialogPalette*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            if (answer) {
                answer(*dialog);
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
        s.frame()->ExecuteCommand(ID_VIEW_PALETTE);
    }
    testsupport::TempDir dir;
    apptest::StartedApp s{dir};
};

TEST_F(PaletteCommandTest, MaintainIndexesReplacesColoursWithUndoAndUnchangedOkDoesNothing) {
    CKXViewDoc* doc = OpenIndexed();
    ASSERT_TRUE(doc && doc->GetImage()->GetNumColors() == 16);
    CCmdUI ui(ID_VIEW_PALETTE);
    s.frame()->OnCmdMsg(ID_VIEW_PALETTE, &ui);
    EXPECT_TRUE(ui.m_bEnabled);

    RunPalette([](CDialogPalette& d) { EXPECT_EQ(d.Count(), 16); });
    EXPECT_EQ(doc->UndoLevel(), 0); // OK without a change
    RunPalette(nullptr);
    EXPECT_EQ(doc->UndoLevel(), 0);

    RunPalette([](CDialogPalette& d) { d.EditEntry(2, QColor(255, 0, 0)); });
    EXPECT_EQ(doc->UndoLevel(), 1);
    EXPECT_EQ(doc->GetImage()->GetPaletteColor(2), (RGBQUAD{0, 0, 255, 0}));
    EXPECT_EQ(doc->GetImage()->GetPixelIndex(2, 0), 2);
    s.frame()->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(doc->GetImage()->GetPaletteColor(2), (RGBQUAD{32, 32, 32, 0}));
}

TEST_F(PaletteCommandTest, NearestAndDiffusionModesMatchPixelsToTheEditedTableAtTheSameDepth) {
    CKXViewDoc* doc = OpenIndexed();
    ASSERT_TRUE(doc);
    // Entry 0 turns from black to white: the black pixel keeps its colour as
    // closely as the new table allows (grey 16, entry 1); the others stay.
    RunPalette([](CDialogPalette& d) {
        d.EditEntry(0, QColor(255, 255, 255));
        d.GetDlgItem<QRadioButton>(IDC_PAL_NEAREST)->setChecked(true);
    });
    vimg::Image* image = doc->GetImage();
    EXPECT_EQ(image->GetBpp(), 4u);
    EXPECT_EQ(image->GetPaletteColor(0), (RGBQUAD{255, 255, 255, 0}));
    EXPECT_EQ(image->GetPixelIndex(0, 0), 1);
    EXPECT_EQ(image->GetPixelIndex(1, 0), 1);
    EXPECT_EQ(image->GetPixelIndex(3, 1), 7);
    EXPECT_EQ(doc->UndoLevel(), 1);

    RunPalette([](CDialogPalette& d) {
        d.EditEntry(7, QColor(0, 0, 255));
        d.GetDlgItem<QRadioButton>(IDC_PAL_DITHER)->setChecked(true);
    });
    EXPECT_EQ(doc->GetImage()->GetBpp(), 4u);
    EXPECT_EQ(doc->GetImage()->GetPaletteColor(7), (RGBQUAD{255, 0, 0, 0}));
    EXPECT_EQ(doc->UndoLevel(), 2);
}

TEST_F(PaletteCommandTest, ImageWithoutPaletteDisablesTheCommandAndOpensAnEmptyGrid) {
    CKXViewDoc* doc = doctest::Open(s, apptest::WriteBmp(dir, "rgb.bmp"));
    ASSERT_TRUE(doc);
    CCmdUI ui(ID_VIEW_PALETTE);
    s.frame()->OnCmdMsg(ID_VIEW_PALETTE, &ui);
    EXPECT_FALSE(ui.m_bEnabled);
    // Called all the same, the dialog shows nothing and its OK changes nothing.
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CDialogPalette*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        shown = true;
        EXPECT_EQ(dialog->Count(), 0);
        dialog->accept();
    });
    doc->OnPalette();
    EXPECT_TRUE(shown);
    EXPECT_EQ(doc->UndoLevel(), 0);
}

} // namespace
