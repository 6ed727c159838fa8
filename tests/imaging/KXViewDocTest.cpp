// The image document: opening (pages, extensions), undo through the
// commands, duplicate titles, saving the rendering, the status bar and
// stopping a running operation.
#include <atomic>
#include <thread>

#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "CmdUI.h"
#include "CommandIds.h"
#include "DialogOptions.h"
#include "DialogProgress.h"
#include "DialogText.h"
#include "DocTestSupport.h"
#include "GradientProgress.h"
#include "Image.h"
#include "RecentFileList.h"
#include "Resource.h"
#include "TextDraw.h"

using apptest::StartedApp;
using doctest::MessageBoxAnswerer;
using doctest::Open;

namespace {

class DocTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(s.started);
        s.app->CloseAllDocuments(); // the empty document of the start
    }
    testsupport::TempDir dir;
    StartedApp s{dir};

    CKXViewDoc* OpenBmp(const std::string& name = "a.bmp", int w = 8, int h = 6) {
        return Open(s, apptest::WriteBmp(dir, name, w, h));
    }
    // The enabled state and text an update handler gives a command.
    CCmdUI Update(int id) {
        CCmdUI ui(id);
        s.frame()->OnCmdMsg(id, &ui);
        return ui;
    }
};

// One undoable change: record, then paint pixel (0,0) with `value`.
void Change(CKXViewDoc* doc, uint8_t value) {
    ASSERT_TRUE(doc->SubmitUndo());
    doc->GetImage()->SetPixelColor(0, 0, vimg::RGBQUAD{value, value, value, 0});
}

uint8_t Marker(const CKXViewDoc* doc) { return doc->GetImage()->GetPixelColor(0, 0, false).rgbBlue; }

TEST_F(DocTest, NineChangesKeepEightStepsAndEightUndosReachTheStateAfterTheFirst) {
    CKXViewDoc* doc = OpenBmp();
    ASSERT_TRUE(doc);
    for (int i = 1; i <= 9; ++i) Change(doc, static_cast<uint8_t>(i * 10));
    EXPECT_EQ(doc->UndoLevel(), 8);
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(Update(ID_EDIT_UNDO).m_bEnabled);
        s.frame()->ExecuteCommand(ID_EDIT_UNDO);
    }
    EXPECT_EQ(Marker(doc), 10);
    EXPECT_FALSE(Update(ID_EDIT_UNDO).m_bEnabled);
    s.frame()->ExecuteCommand(ID_EDIT_REDO);
    EXPECT_EQ(Marker(doc), 20);
}

TEST_F(DocTest, UndoThenANewChangeDisablesRedo) {
    CKXViewDoc* doc = OpenBmp();
    ASSERT_TRUE(doc);
    Change(doc, 1);
    Change(doc, 2);
    s.frame()->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(Update(ID_EDIT_REDO).m_bEnabled);
    Change(doc, 3);
    EXPECT_FALSE(Update(ID_EDIT_REDO).m_bEnabled);
    EXPECT_EQ(Marker(doc), 3);
}

TEST_F(DocTest, UndoItemShowsTheNumberOfSteps) {
    CKXViewDoc* doc = OpenBmp();
    ASSERT_TRUE(doc);
    for (uint8_t i = 1; i <= 3; ++i) Change(doc, i);
    QAction* undo = s.frame()->CommandAction(ID_EDIT_UNDO);
    s.frame()->UpdateCommandUI(undo);
    EXPECT_EQ(undo->text(), "Undo (3)\tCtrl+Z");
}

// A TIFF file of `pages` pages of widths 5, 6, 7, ... made by ImageMagick.
std::string WriteTiffPages(const testsupport::TempDir& dir, const std::string& name, int pages) {
    std::string command = testsupport::Convert();
    for (int i = 0; i < pages; ++i) command += " -size " + std::to_string(5 + i) + "x4 xc:red";
    const std::string path = dir.file(name);
    command += " " + testsupport::Quote(path);
    return testsupport::Run(command) == 0 ? path : std::string();
}

TEST_F(DocTest, AThreePageTiffAnsweredWithOkGivesThreeDocuments) {
    const std::string path = WriteTiffPages(dir, "pages.tif", 3);
    ASSERT_FALSE(path.empty());
    MessageBoxAnswerer ok(QMessageBox::Ok);
    ASSERT_TRUE(Open(s, QString::fromStdString(path)));
    EXPECT_EQ(ok.texts, QStringList{"File with 3 images. Read all?"});
    const auto& docs = s.app->m_pDocTemplate->GetDocuments();
    ASSERT_EQ(docs.size(), 3u);
    QStringList titles;
    std::vector<uint32_t> widths;
    for (CDocument* d : docs) {
        titles << d->GetTitle();
        widths.push_back(dynamic_cast<CKXViewDoc*>(d)->GetImage()->GetWidth());
    }
    EXPECT_EQ(titles, QStringList({"pages.tif", "pages.tif (2)", "pages.tif (3)"}));
    EXPECT_EQ(widths, (std::vector<uint32_t>{5, 6, 7}));
}

TEST_F(DocTest, AThreePageTiffAnsweredWithCancelStaysOneDocument) {
    const std::string path = WriteTiffPages(dir, "two.tif", 2);
    ASSERT_FALSE(path.empty());
    MessageBoxAnswerer cancel(QMessageBox::Cancel);
    ASSERT_TRUE(Open(s, QString::fromStdString(path)));
    EXPECT_EQ(s.app->m_pDocTemplate->GetDocuments().size(), 1u);
}

TEST_F(DocTest, ExtensionsAreComparedInLowerCase) {
    EXPECT_EQ(CKXViewDoc::FindType("jpg"), 3);
    EXPECT_EQ(CKXViewDoc::FindType("JPG"), 3);
    EXPECT_EQ(CKXViewDoc::FindType("j2c"), 12);
    EXPECT_EQ(CKXViewDoc::FindType("cur"), 0);
    EXPECT_EQ(CKXViewDoc::Extension("/x.y/name"), "y/name"); // the text after the last dot
    EXPECT_EQ(CKXViewDoc::Extension("a.JPG"), "jpg");

    vimg::Image picture(9, 7, 24);
    const std::string path = dir.file("a.JPG");
    ASSERT_TRUE(picture.Save(path.c_str(), vimg::FORMAT_JPG));
    CKXViewDoc* doc = Open(s, QString::fromStdString(path));
    ASSERT_TRUE(doc && doc->GetImage());
    EXPECT_EQ(doc->GetImage()->GetType(), static_cast<uint32_t>(vimg::FORMAT_JPG));
    EXPECT_EQ(s.frame()->PaneText(3), "JPG");
    EXPECT_EQ(s.frame()->PaneText(4), "(9x7x24)");
    EXPECT_TRUE(s.frame()->PaneText(2).startsWith("Time (s): "));
}

TEST_F(DocTest, AnUnreadableFileShowsTheLibraryMessageAndLeavesNoDocument) {
    const std::string path = dir.file("broken.cur");
    testsupport::WriteFile(path, {1, 2, 3, 4, 5});
    MessageBoxAnswerer ok(QMessageBox::Ok);
    EXPECT_EQ(Open(s, QString::fromStdString(path)), nullptr);
    ASSERT_EQ(ok.texts.size(), 1);
    EXPECT_FALSE(ok.texts[0].isEmpty());
    EXPECT_TRUE(s.app->m_pDocTemplate->GetDocuments().empty());
    // Without an extension nothing is said.
    const std::string bare = dir.file("noextension");
    testsupport::WriteFile(bare, {1, 2});
    EXPECT_EQ(Open(s, QString::fromStdString(bare)), nullptr);
    EXPECT_EQ(ok.texts.size(), 1);
}

TEST_F(DocTest, ACutFileOpensWithWhatItHoldsAndSaysItIsIncomplete) {
    // A PNG cut in the middle of its image data, as a broken copy leaves it.
    const std::string whole = dir.file("whole.png");
    ASSERT_EQ(testsupport::Run(testsupport::Convert() + " -size 64x64 gradient:white-black " + testsupport::Quote(whole)),
              0);
    std::vector<uint8_t> bytes = testsupport::ReadFile(whole);
    bytes.resize(bytes.size() / 2);
    const std::string cut = dir.file("cut.png");
    testsupport::WriteFile(cut, bytes);
    MessageBoxAnswerer ok(QMessageBox::Ok);
    CKXViewDoc* doc = Open(s, QString::fromStdString(cut));
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->GetImage()->GetWidth(), 64u);
    ASSERT_EQ(ok.texts.size(), 1);
    EXPECT_TRUE(ok.texts[0].startsWith(QStringLiteral("Datei unvollständig"))) << ok.texts[0].toStdString();
    EXPECT_TRUE(ok.texts[0].contains(QStringLiteral("cut.png")));
}

// Answers the first modal dialog of type D that opens with `answer` (its controls set, then OK).
template <class D> struct DialogAnswerer {
    explicit DialogAnswerer(std::function<void(D&)> answer) {
        QObject::connect(&timer, &QTimer::timeout, [this, answer] {
            if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget()); dialog && !seen) {
                seen = true;
                answer(*dialog);
                if (auto* ok = dialog->template GetDlgItem<QAbstractButton>(IDOK)) ok->click();
            }
        });
        timer.start(10);
    }
    bool seen = false;
    QTimer timer;
};

TEST_F(DocTest, OptionsAndTextCommandsUseTheirDialogs) {
    CKXViewDoc* doc = OpenBmp("a.bmp");
    ASSERT_TRUE(doc);
    doc->GetImage()->SetXDPI(150);
    {
        DialogAnswerer<CDialogOptions> user([](CDialogOptions& dlg) {
            EXPECT_EQ(dlg.GetDlgItemText(IDC_OPT_XDPI), QStringLiteral("150"));
            dlg.SetDlgItemText(IDC_OPT_QUALITY, QStringLiteral("30"));
            dlg.SetDlgItemText(IDC_OPT_XDPI, QStringLiteral("300"));
        });
        s.frame()->ExecuteCommand(ID_IMAGE_OPTIONS);
        EXPECT_TRUE(user.seen);
    }
    EXPECT_EQ(doc->GetImage()->GetJpegQuality(), 30);
    EXPECT_EQ(doc->GetImage()->GetXDPI(), 300);
    EXPECT_EQ(s.app->m_settings.jpegQuality, 30);
    EXPECT_TRUE(doc->IsModified());

    {
        DialogAnswerer<CDialogText> user([](CDialogText& dlg) {
            dlg.GetDlgItem<QPlainTextEdit>(IDC_TXT_TEXT)->setPlainText(QStringLiteral("Zwei\nZeilen"));
        });
        s.frame()->ExecuteCommand(ID_TOOL_TEXT);
        EXPECT_TRUE(user.seen);
    }
    EXPECT_EQ(doc->m_tool, CKXViewDoc::TOOL_TEXT);
    EXPECT_EQ(vimg::display::RecordText(s.app->m_settings.textInfo), QStringLiteral("Zwei\nZeilen"));
}

TEST_F(DocTest, DuplicatesAreNumberedWithTheSharedCounter) {
    CKXViewDoc* doc = OpenBmp("a.bmp");
    ASSERT_TRUE(doc);
    doc->GetImage()->SelectionAddRect(vimg::RECT{1, 4, 3, 1});
    s.app->m_settings.imageCounter = 5;
    s.frame()->ExecuteCommand(ID_DUPLICATE);
    auto* copy = dynamic_cast<CKXViewDoc*>(s.app->m_pDocTemplate->GetDocuments().back());
    ASSERT_TRUE(copy && copy != doc);
    EXPECT_EQ(copy->GetTitle(), "Copy 5 of a.bmp");
    EXPECT_EQ(s.app->m_settings.imageCounter, 6);
    EXPECT_TRUE(copy->GetImage()->SelectionIsValid());
    EXPECT_EQ(copy->GetImage()->GetPixelColor(3, 2, false), doc->GetImage()->GetPixelColor(3, 2, false));
    EXPECT_TRUE(copy->m_fileName.isEmpty());
}

TEST_F(DocTest, SaveOfANeverSavedDuplicateAsksForAName) {
    CKXViewDoc* doc = OpenBmp("a.bmp");
    ASSERT_TRUE(doc);
    s.frame()->ExecuteCommand(ID_DUPLICATE);
    auto* copy = dynamic_cast<CKXViewDoc*>(s.app->m_pDocTemplate->GetDocuments().back());
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy->IsModified());
    const auto before = std::distance(std::filesystem::directory_iterator(dir.path()), {});
    // Ctrl+S without a file is Save As: the file dialog comes; cancelled, nothing changes.
    bool asked = false;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            asked = true;
            dialog->reject();
        }
    });
    cancel.start(10);
    EXPECT_FALSE(copy->OnSave());
    EXPECT_TRUE(asked);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), before);
    EXPECT_TRUE(copy->m_fileName.isEmpty());
    EXPECT_TRUE(copy->IsModified());
}

TEST_F(DocTest, ASaveShowsTheProgressAndAFailedOneChangesNothing) {
    CKXViewDoc* doc = OpenBmp("a.bmp");
    ASSERT_TRUE(doc);
    ASSERT_TRUE(doc->SubmitUndo());
    const QString original = doc->m_fileName;
    const int recent = s.app->GetRecentFileList()->GetCount();
    QStringList seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<CDialogProgress*>(w); p && p->isVisible()) seen << p->Bar()->text();
    });
    watch.start(0);
    // Save As into a folder that does not exist.
    const QString target = QString::fromStdString(dir.file("missing/b.png"));
    MessageBoxAnswerer ok(QMessageBox::Ok);
    EXPECT_FALSE(doc->DoSave(target, true));
    ASSERT_EQ(ok.texts.size(), 1);
    EXPECT_TRUE(ok.texts[0].contains(QStringLiteral("missing/b.png"))) << ok.texts[0].toStdString();
    EXPECT_FALSE(ok.texts[0].contains(QStringLiteral(".part")));
    EXPECT_EQ(doc->m_fileName, original);
    EXPECT_EQ(doc->GetTitle(), "a.bmp");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(s.app->GetRecentFileList()->GetCount(), recent);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(seen.front().startsWith("Bild speichern: ")) << seen.front().toStdString();
    // The same into an existing folder works and takes the name.
    EXPECT_TRUE(doc->DoSave(QString::fromStdString(dir.file("b.png")), true));
    EXPECT_EQ(doc->GetTitle(), "b.png");
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(DocTest, ClosingAChangedDocumentAsksWhetherToSave) {
    CKXViewDoc* doc = OpenBmp("a.bmp");
    ASSERT_TRUE(doc);
    EXPECT_FALSE(doc->IsModified());
    Change(doc, 9);
    {
        MessageBoxAnswerer cancel(QMessageBox::Cancel);
        s.frame()->ExecuteCommand(ID_FILE_CLOSE);
        ASSERT_EQ(cancel.texts.size(), 1);
        EXPECT_TRUE(cancel.texts[0].contains(QStringLiteral("a.bmp")));
    }
    ASSERT_EQ(s.app->m_pDocTemplate->GetDocuments().size(), 1u);
    {
        MessageBoxAnswerer save(QMessageBox::Save);
        s.frame()->ExecuteCommand(ID_FILE_CLOSE);
    }
    EXPECT_TRUE(s.app->m_pDocTemplate->GetDocuments().empty());
    vimg::Image saved(dir.file("a.bmp").c_str(), vimg::FORMAT_BMP);
    EXPECT_EQ(saved.GetPixelColor(0, 0, false).rgbBlue, 9);
}

TEST_F(DocTest, JpegKeepsItsExifAndTakesTheQualityAndResolutionOfTheOptions) {
    if (testsupport::Run("exiftool -ver >/dev/null 2>&1") != 0) GTEST_SKIP() << "exiftool is not installed";
    const std::string path = dir.file("photo.jpg");
    ASSERT_EQ(testsupport::Run(testsupport::Convert() + " -size 64x48 gradient:red-blue -quality 95 " +
                               testsupport::Quote(path) + " && exiftool -q -overwrite_original -Make=Mikro "
                               "-Model=Scope-9 -DateTimeOriginal='2026:01:02 03:04:05' " +
                               testsupport::Quote(path)),
              0);
    CKXViewDoc* doc = Open(s, QString::fromStdString(path));
    ASSERT_TRUE(doc);
    Change(doc, 200);
    // What "Optionen" sets: quality 30, 300 dots per inch.
    doc->GetImage()->SetJpegQuality(30);
    s.app->m_settings.jpegQuality = 30;
    doc->GetImage()->SetXDPI(300);
    doc->GetImage()->SetYDPI(300);
    s.frame()->ExecuteCommand(ID_FILE_SAVE);
    std::string out;
    ASSERT_EQ(testsupport::Run("exiftool -s3 -Make -Model -DateTimeOriginal " + testsupport::Quote(path), &out),
              0);
    EXPECT_EQ(out, "Mikro\nScope-9\n2026:01:02 03:04:05\n");
    ASSERT_EQ(testsupport::Run(std::string("/usr/bin/identify -units PixelsPerInch -format '%Q %x %w' ") +
                                   testsupport::Quote(path),
                               &out),
              0);
    EXPECT_EQ(out, "30 300 64");
}

TEST_F(DocTest, SaveAtTwoHundredPercentWritesTheDisplayedPictureAtTwiceTheSize) {
    CKXViewDoc* doc = OpenBmp("a.bmp", 8, 6);
    ASSERT_TRUE(doc);
    s.frame()->ExecuteCommand(ID_ZOOM_IN); // 1.5
    s.frame()->ExecuteCommand(ID_ZOOM_IN); // 2
    ASSERT_EQ(doc->FirstView()->m_zoomFactor, 2.0f);
    const QString target = QString::fromStdString(dir.file("out.png"));
    doc->SaveRendering(target);
    vimg::Image saved(target.toStdString().c_str(), vimg::FORMAT_PNG);
    ASSERT_TRUE(saved.IsValid());
    EXPECT_EQ(saved.GetWidth(), 16u);
    EXPECT_EQ(saved.GetHeight(), 12u);
    // Pixel (x, y) of the picture covers (2x .. 2x+1, 2y .. 2y+1) of the rendering.
    const vimg::Image& image = *doc->GetImage();
    EXPECT_EQ(saved.GetPixelColor(7, 11 - 5, false), image.GetPixelColor(3, 5 - 2, false));
    EXPECT_FALSE(QFileInfo::exists(target + ".part"));
}

TEST_F(DocTest, SaveAsAddsTheChosenNameAndSaveWritesIt) {
    CKXViewDoc* doc = OpenBmp("a.bmp");
    ASSERT_TRUE(doc);
    // The name as the Save As dialog hands it back (the offscreen file dialog
    // reselects the suggested name at unpredictable moments, so it is not driven here).
    const QString target = QString::fromStdString(dir.file("b.bmp"));
    ASSERT_TRUE(doc->DoSave(target, true));
    doc->OnSave();
    EXPECT_EQ(doc->m_fileName, target);
    EXPECT_EQ(doc->GetTitle(), "b.bmp");
    vimg::Image saved(target.toStdString().c_str(), vimg::FORMAT_BMP);
    ASSERT_TRUE(saved.IsValid());
    EXPECT_EQ(saved.GetWidth(), 8u);
}

TEST_F(DocTest, StopwatchMeasuresInSeconds) {
    CKXViewDoc* doc = OpenBmp();
    ASSERT_TRUE(doc);
    // Within what a clock read around it sees, and at least what one read inside it sees.
    const auto outerStart = std::chrono::steady_clock::now();
    doc->Stopwatch(false);
    const auto innerStart = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - innerStart < std::chrono::milliseconds(30)) {
    }
    const double inner = std::chrono::duration<double>(std::chrono::steady_clock::now() - innerStart).count();
    doc->Stopwatch(true);
    const double outer = std::chrono::duration<double>(std::chrono::steady_clock::now() - outerStart).count();
    EXPECT_GE(doc->ElapsedSeconds(), static_cast<float>(inner) * 0.999f);
    EXPECT_LE(doc->ElapsedSeconds(), static_cast<float>(outer) * 1.001f);
}

TEST_F(DocTest, WhileAnOperationRunsTheViewShowsTheOldPictureAndChangesAreRefused) {
    CKXViewDoc* doc = OpenBmp("a.bmp", 16, 16);
    ASSERT_TRUE(doc);
    const vimg::RGBQUAD before = doc->GetImage()->GetPixelColor(2, 2, false);
    std::atomic<bool> release{false};
    ASSERT_TRUE(doc->StartOperation([&](vimg::Image& image) {
        image.SetPixelColor(2, 2, vimg::RGBQUAD{1, 2, 3, 0});
        while (!release) std::this_thread::yield();
        return std::string();
    }));
    EXPECT_TRUE(doc->IsBusy());
    EXPECT_EQ(doc->DisplayImage()->GetPixelColor(2, 2, false), before);
    EXPECT_FALSE(doc->SubmitUndo());
    EXPECT_FALSE(doc->SetImage(std::make_unique<vimg::Image>(4, 4, 24)));
    EXPECT_FALSE(Update(ID_EDIT_UNDO).m_bEnabled);
    EXPECT_FALSE(Update(ID_DUPLICATE).m_bEnabled);
    release = true;
    // The job's timer on this thread notices the end and hands the result over.
    EXPECT_TRUE(QTest::qWaitFor([doc] { return !doc->IsBusy(); }, 60000));
    EXPECT_EQ(doc->GetImage()->GetPixelColor(2, 2, false), (vimg::RGBQUAD{1, 2, 3, 0}));
    EXPECT_EQ(doc->UndoLevel(), 1);
    s.frame()->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(doc->GetImage()->GetPixelColor(2, 2, false), before);
}

TEST_F(DocTest, ClosingADocumentStopsTheRunningOperationAndWaitsForIt) {
    CKXViewDoc* doc = OpenBmp("a.bmp", 16, 16);
    ASSERT_TRUE(doc);
    std::atomic<bool> stopped{false};
    std::atomic<bool> ended{false};
    ASSERT_TRUE(doc->StartOperation([&](vimg::Image& image) {
        // A long filter: stops only when asked to.
        while (!image.GetEscape()) {
            image.SetProgress(std::min(99, image.GetProgress() + 1));
            std::this_thread::yield();
        }
        stopped = true;
        ended = true;
        return std::string("stopped");
    }));
    // Until the job has reported its progress at least once.
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.frame()->PaneText(2).endsWith(" %"); }, 60000));
    MessageBoxAnswerer discard(QMessageBox::Discard); // the question to save the changed picture
    s.frame()->ExecuteCommand(ID_FILE_CLOSE);
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(s.app->m_pDocTemplate->GetDocuments().empty());
}

} // namespace

namespace {

TEST_F(DocTest, CopyThenPasteKeepsDepthPaletteAndResolution) {
    vimg::Image picture(13, 9, 8);
    for (int i = 0; i < 256; ++i)
        picture.SetPaletteColor(static_cast<uint8_t>(i), static_cast<uint8_t>(i),
                                static_cast<uint8_t>(255 - i), 7);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x) picture.SetPixelIndex(x, y, static_cast<uint8_t>(x * 19 + y * 3));
    picture.SetXDPI(300);
    picture.SetYDPI(300);
    const std::string path = dir.file("pal.bmp");
    ASSERT_TRUE(picture.Save(path.c_str(), vimg::FORMAT_BMP));
    CKXViewDoc* doc = Open(s, QString::fromStdString(path));
    ASSERT_TRUE(doc);
    s.frame()->ExecuteCommand(ID_EDIT_COPY);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data && data->hasImage());
    EXPECT_TRUE(data->data("image/bmp").startsWith("BM"));

    s.app->m_settings.imageCounter = 4;
    s.frame()->ExecuteCommand(ID_EDIT_PASTE);
    auto* pasted = dynamic_cast<CKXViewDoc*>(s.app->m_pDocTemplate->GetDocuments().back());
    ASSERT_TRUE(pasted && pasted != doc && pasted->GetImage());
    EXPECT_EQ(pasted->GetTitle(), "Clipboard Image 4");
    const vimg::Image& image = *pasted->GetImage();
    EXPECT_EQ(image.GetBpp(), 8u);
    EXPECT_EQ(image.GetXDPI(), 300);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x) ASSERT_EQ(image.GetPixelIndex(x, y), picture.GetPixelIndex(x, y));
    EXPECT_EQ(image.GetPaletteColor(200).rgbGreen, 55);

    // Another program's picture arrives as a plain image.
    auto* foreign = new QMimeData;
    QImage qt(4, 3, QImage::Format_RGB32);
    qt.fill(QColor(10, 20, 30));
    foreign->setImageData(qt);
    std::unique_ptr<vimg::Image> fromQt = CMainFrame::ImageFromClipboard(*foreign);
    delete foreign;
    ASSERT_TRUE(fromQt);
    EXPECT_EQ(fromQt->GetWidth(), 4u);
    EXPECT_EQ(fromQt->GetPixelColor(3, 2, false), (vimg::RGBQUAD{30, 20, 10, 0}));
}

} // namespace
