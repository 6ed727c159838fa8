#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QDropEvent>
#include <QFileDialog>
#include <QLoggingCategory>
#include <QMdiArea>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include "AboutDlg.h"
#include "AppTestSupport.h"
#include "CmdUI.h"
#include "DesktopRecentFiles.h"
#include "LanguageChoice.h"
#include "ControlHost.h"
#include "Document.h"
#include "Image.h"
#include "ImagePrinter.h"
#include "MDIChildWnd.h"
#include "MultiDocTemplate.h"
#include "Profile.h"
#include "RecentFileList.h"
#include "Resource.h"
#include "KXViewDoc.h"

using apptest::StartedApp;

namespace {

QStringList g_steps;

void CaptureSteps(QtMsgType, const QMessageLogContext& context, const QString& text) {
    if (context.category && std::strcmp(context.category, "vistorel.app") == 0 &&
        text.startsWith("start-up: "))
        g_steps << text.mid(10);
}

} // namespace

TEST(Startup, RunsItsStepsInOrderAndTakesEveryDefaultFromAnEmptyProfile) {
    testsupport::TempDir dir;
    QLoggingCategory::setFilterRules(QStringLiteral("vistorel.app.debug=true"));
    g_steps.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CaptureSteps);
    StartedApp s(dir);
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());

    ASSERT_TRUE(s.started);
    EXPECT_EQ(g_steps, QStringList({"profile", "document template", "main frame", "command line", "text tool",
                                    "show window", "done"}));
    const vimg::TextInfo& t = s.app->m_settings.textInfo;
    EXPECT_STREQ(t.font.lfFaceName, "Arial");
    EXPECT_EQ(t.font.lfCharSet, 238);
    EXPECT_EQ(t.font.lfWeight, 0);
    EXPECT_EQ(t.font.lfItalic, 0);
    EXPECT_EQ(t.font.lfUnderline, 0);
    EXPECT_EQ(t.textColor, 0xA0FFFFu);
    EXPECT_EQ(t.backColor, 0x6020u);
    EXPECT_EQ(t.opaque, 1);
    EXPECT_EQ(t.backOpacity, 0.0f);
    EXPECT_EQ(t.backRound, 25);
    EXPECT_EQ(t.font.lfHeight, -36); // library default, not in the profile
    EXPECT_EQ(s.app->m_settings.jpegQuality, 90);
    EXPECT_EQ(s.app->m_settings.imageCounter, 1);
    EXPECT_EQ(s.app->GetRecentFileList()->GetSize(), 9);

    // No argument: a new document, in image-processing mode.
    ASSERT_EQ(s.app->m_pDocTemplate->GetDocuments().size(), 1u);
    EXPECT_EQ(s.app->m_pDocTemplate->GetDocuments().front()->GetTitle(), "Vistorel1");
    EXPECT_EQ(s.frame()->Mode(), 2);
    EXPECT_TRUE(s.frame()->isVisible());
    EXPECT_TRUE(s.frame()->acceptDrops());
    // The caption names the active document.
    EXPECT_EQ(s.frame()->windowTitle(), "Vistorel SoftWare - Vistorel1");
}

TEST(Startup, TextToolSettingsSurviveARestart) {
    testsupport::TempDir dir;
    CProfile(QString::fromStdString(dir.file("Vistorel.ini"))).WriteProfileInt("TextTool", "opacity", 37);
    {
        StartedApp s(dir);
        ASSERT_TRUE(s.started);
        EXPECT_FLOAT_EQ(s.app->m_settings.textInfo.backOpacity, 0.37f);
        s.app->m_settings.textInfo.backRound = 12;
        std::strcpy(s.app->m_settings.textInfo.font.lfFaceName, "DejaVu Sans");
        s.app->m_settings.jpegQuality = 75;
        s.frame()->close();
    }
    CProfile profile(QString::fromStdString(dir.file("Vistorel.ini")));
    EXPECT_EQ(profile.GetProfileInt("TextTool", "opacity", -1), 37);
    EXPECT_EQ(profile.GetProfileInt("TextTool", "roundradius", -1), 12);
    StartedApp s(dir);
    EXPECT_EQ(s.app->m_settings.textInfo.backRound, 12);
    EXPECT_STREQ(s.app->m_settings.textInfo.font.lfFaceName, "DejaVu Sans");
    EXPECT_EQ(s.app->m_settings.jpegQuality, 75);
}

TEST(Startup, AnOverlongFaceNameIsCutToThirtyOneCharacters) {
    testsupport::TempDir dir;
    CProfile(QString::fromStdString(dir.file("Vistorel.ini")))
        .WriteProfileString("TextTool", "lfFaceName", QString(60, QLatin1Char('x')));
    StartedApp s(dir);
    EXPECT_EQ(std::strlen(s.app->m_settings.textInfo.font.lfFaceName), 31u);
}

TEST(Startup, AFileOnTheCommandLineOpens) {
    testsupport::TempDir dir;
    const QString bmp = apptest::WriteBmp(dir, "start.bmp", 5, 4);
    StartedApp s(dir, {bmp});
    ASSERT_TRUE(s.started);
    const auto& docs = s.app->m_pDocTemplate->GetDocuments();
    ASSERT_EQ(docs.size(), 1u);
    auto* doc = dynamic_cast<CKXViewDoc*>(docs.front());
    ASSERT_TRUE(doc && doc->GetImage());
    EXPECT_EQ(doc->GetTitle(), "start.bmp");
    EXPECT_EQ(doc->GetImage()->GetWidth(), 5u);
    EXPECT_EQ(s.frame()->Mode(), 2);
}

class AppCommands : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(s.started);
        s.frame()->ExecuteCommand(ID_MODE_CAMERA);
        ASSERT_EQ(s.frame()->Mode(), 1);
    }
    testsupport::TempDir dir;
    StartedApp s{dir};
};

TEST_F(AppCommands, NewSwitchesToImageProcessingMode) {
    EXPECT_TRUE(s.frame()->ExecuteCommand(ID_FILE_NEW));
    EXPECT_EQ(s.frame()->Mode(), 2);
    EXPECT_EQ(s.app->m_pDocTemplate->GetDocuments().size(), 2u);
}

TEST_F(AppCommands, RecentFileSwitchesToImageProcessingModeAndOpens) {
    const QString bmp = apptest::WriteBmp(dir, "recent.bmp");
    s.app->AddToRecentFileList(bmp);
    EXPECT_TRUE(s.frame()->ExecuteCommand(ID_FILE_MRU_FILE1));
    EXPECT_EQ(s.frame()->Mode(), 2);
    EXPECT_EQ(s.app->m_pDocTemplate->GetDocuments().back()->GetPathName(), bmp);
}

TEST_F(AppCommands, OpenSwitchesModeBeforeItsDialogAndOffersAllFormats) {
    int modeDuringDialog = 0;
    QString title;
    qsizetype filters = 0;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        modeDuringDialog = s.frame()->Mode();
        title = dlg->windowTitle();
        filters = dlg->nameFilters().size();
        dlg->reject();
    });
    s.frame()->ExecuteCommand(ID_FILE_OPEN);
    EXPECT_EQ(modeDuringDialog, 2);
    EXPECT_EQ(title, "Open image file");
    EXPECT_EQ(filters, 16);
    EXPECT_EQ(s.app->m_pDocTemplate->GetDocuments().size(), 1u);
}

TEST_F(AppCommands, OpenTakesSeveralFilesAndStartsInTheFolderUsedLast) {
    QDir(QString::fromStdString(dir.path().string())).mkdir("pictures");
    const QString a = apptest::WriteBmp(dir, "pictures/a.bmp");
    const QString b = apptest::WriteBmp(dir, "pictures/b.bmp");
    const QString folder = QFileInfo(a).absolutePath();
    QString startedIn;
    auto choose = [&](const QString& selection) {
        QTimer::singleShot(0, [&, selection] {
            auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            EXPECT_EQ(dlg->fileMode(), QFileDialog::ExistingFiles);
            startedIn = dlg->directory().absolutePath();
            dlg->setDirectory(folder);
            dlg->selectFile(selection);
            QMetaObject::invokeMethod(dlg, "accept");
        });
        s.frame()->ExecuteCommand(ID_FILE_OPEN);
    };
    choose("\"a.bmp\" \"b.bmp\"");
    const auto& docs = s.app->m_pDocTemplate->GetDocuments();
    ASSERT_EQ(docs.size(), 3u);
    EXPECT_EQ(docs.back()->GetPathName(), b);
    EXPECT_EQ((*std::next(docs.begin()))->GetPathName(), a);
    // The next time the dialog opens in that folder.
    choose("a.bmp");
    EXPECT_EQ(startedIn, folder);
}

TEST_F(AppCommands, DroppedFilesOpenAsDocuments) {
    const QString a = apptest::WriteBmp(dir, "a.bmp");
    const QString b = apptest::WriteBmp(dir, "b.bmp");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window's handler: no drag is in progress to route it.
    static_cast<QObject*>(s.frame())->event(&drop);
    EXPECT_TRUE(drop.isAccepted());
    // They open once the drop has returned, in the order dragged.
    EXPECT_EQ(s.app->m_pDocTemplate->GetDocuments().size(), 1u);
    QCoreApplication::processEvents();
    EXPECT_EQ(s.app->m_pDocTemplate->GetDocuments().size(), 3u);
    EXPECT_EQ(s.frame()->Mode(), 2);
    EXPECT_EQ(s.frame()->MDIGetActive()->windowTitle(), "b.bmp");
    // Both joined the desktop's recent files (the test environment's XDG_DATA_HOME).
    const std::vector<uint8_t> bytes =
        testsupport::ReadFile(CDesktopRecentFiles::StandardPath().toStdString());
    const QByteArray list(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    EXPECT_TRUE(list.contains(QUrl::fromLocalFile(a).toEncoded()) &&
                list.contains(QUrl::fromLocalFile(b).toEncoded()))
        << list.toStdString();
}

TEST_F(AppCommands, ADropWithoutLocalFilesIsRefused) {
    QMimeData data;
    data.setUrls({QUrl(QStringLiteral("https://example.org/a.png"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject*>(s.frame())->event(&enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(AppCommands, ChoosingALanguageStoresItAndSaysItComesAtTheNextStart) {
    // "Same" is the language already in effect (the environment's), "other" the other one.
    const bool german = CLanguageChoice::FromEnvironment() == CLanguageChoice::Language::German;
    const int same = german ? ID_LANGUAGE_GERMAN : ID_LANGUAGE_ENGLISH;
    const int other = german ? ID_LANGUAGE_ENGLISH : ID_LANGUAGE_GERMAN;
    apptest::MessageBoxCatcher boxes;
    // Each box is shown and closed before the command returns; a choice that changes nothing says nothing.
    for (int id : {same, other, other, same})
        ASSERT_TRUE(s.frame()->ExecuteCommand(id));
    EXPECT_EQ(
        boxes.texts,
        QStringList(2, QString::fromUtf8("Die gewählte Sprache gilt ab dem nächsten Start von Vistorel.")));
    EXPECT_EQ(CProfile(s.profilePath).GetProfileString("Settings", "Language"), german ? "de" : "en");
    CCmdUI sameUI(same), otherUI(other);
    s.app->OnCmdMsg(same, &sameUI);
    s.app->OnCmdMsg(other, &otherUI);
    EXPECT_EQ(sameUI.m_nCheck, 1);
    EXPECT_EQ(otherUI.m_nCheck, 0);
}

TEST_F(AppCommands, CloseAllClosesEveryDocument) {
    s.frame()->ExecuteCommand(ID_FILE_NEW);
    s.frame()->ExecuteCommand(ID_CLOSE_ALL);
    EXPECT_TRUE(s.app->m_pDocTemplate->GetDocuments().empty());
    EXPECT_TRUE(s.frame()->MdiArea()->subWindowList().isEmpty());
}

TEST(Startup, AFileOnTheCommandLineThatCannotBeOpenedEndsStartUp) {
    testsupport::TempDir dir;
    // The open failure is reported in a message box; close it as it comes.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    closer.start(20);
    StartedApp s(dir, {QString::fromStdString(dir.file("missing.bmp"))});
    EXPECT_FALSE(s.started);
    EXPECT_TRUE(s.app->m_pDocTemplate->GetDocuments().empty());
}

TEST(AboutBox, ShowsVersionAndTheMakersLink) {
    CAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "About Vistorel SoftWare");
    EXPECT_TRUE(dlg.GetDlgItemText(IDC_ABOUT_TEXT).startsWith("Vistorel Version 6.1.4.0\n"));
    auto* link = dlg.GetDlgItem<QLabel>(IDC_HYPERLINK);
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->text().contains(QString::fromLatin1(CAboutDlg::MakerLink())));
    EXPECT_TRUE(link->openExternalLinks());
    ASSERT_NE(dlg.GetDlgItem<QLabel>(IDC_ABOUT_ICON), nullptr);
    EXPECT_FALSE(dlg.GetDlgItem<QLabel>(IDC_ABOUT_ICON)->pixmap().isNull());
}

TEST_F(AppCommands, PasteIsOfferedForPicturesAndMakesANumberedDocument) {
    QApplication::clipboard()->setText(QStringLiteral("no picture"));
    s.frame()->UpdateAllCommandUI();
    EXPECT_FALSE(s.frame()->CommandAction(ID_EDIT_PASTE)->isEnabled());

    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(qRgb(200, 10, 30));
    picture.setPixel(0, 0, qRgb(0, 0, 255));
    QApplication::clipboard()->setImage(picture);
    s.frame()->UpdateAllCommandUI();
    ASSERT_TRUE(s.frame()->CommandAction(ID_EDIT_PASTE)->isEnabled());
    s.frame()->CommandAction(ID_EDIT_PASTE)->trigger();
    s.frame()->CommandAction(ID_EDIT_PASTE)->trigger();

    const auto& docs = s.app->m_pDocTemplate->GetDocuments();
    ASSERT_EQ(docs.size(), 3u);
    auto* first = dynamic_cast<CKXViewDoc*>(*std::next(docs.begin()));
    ASSERT_TRUE(first && first->GetImage());
    EXPECT_EQ(first->GetTitle(), "Clipboard Image 1");
    EXPECT_EQ(docs.back()->GetTitle(), "Clipboard Image 2");
    EXPECT_EQ(s.app->m_settings.imageCounter, 3);
    const vimg::Image& image = *first->GetImage();
    EXPECT_EQ(image.GetWidth(), 7u);
    // The top-left pixel of the picture is the last row of the image.
    EXPECT_EQ(image.GetPixelColor(0, 4, false), (vimg::RGBQUAD{255, 0, 0, 0}));
    EXPECT_EQ(image.GetPixelColor(1, 0, false), (vimg::RGBQUAD{30, 10, 200, 0}));
    EXPECT_EQ(s.frame()->Mode(), 2);
}

TEST_F(AppCommands, TheFileMenuListsRecentFilesNewestFirst) {
    s.frame()->ExecuteCommand(ID_MODE_IMAGE);
    QMenu* file = s.frame()->menuBar()->actions().value(0)->menu();
    ASSERT_TRUE(file && file->title() == "&Datei");
    auto entries = [file] {
        QStringList texts;
        for (QAction* a : file->actions()) {
            const int id = a->data().toInt();
            if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST)
                texts << a->text() + (a->isEnabled() ? "" : " (off)");
        }
        return texts;
    };
    emit file->aboutToShow();
    EXPECT_EQ(entries(), QStringList({"Zuletzt geöffnete Datei (off)"}));

    s.app->AddToRecentFileList("/bilder/a&b.bmp");
    s.app->AddToRecentFileList("/bilder/zwei.bmp");
    emit file->aboutToShow();
    EXPECT_EQ(entries(), QStringList({"&1 /bilder/zwei.bmp", "&2 /bilder/a&&b.bmp"}));
    s.app->GetRecentFileList()->Remove(0);
    emit file->aboutToShow();
    EXPECT_EQ(entries(), QStringList({"&1 /bilder/a&&b.bmp"}));
}

TEST(OpenFailures, OneMessageNamesTheFileAndTheReasonAndNoDocumentStays) {
    testsupport::TempDir dir;
    StartedApp s(dir);
    ASSERT_TRUE(s.started);
    apptest::MessageBoxCatcher boxes(s.frame()->MdiArea());
    const QString missing = QString::fromStdString(dir.file("missing.bmp"));
    const QString text = QString::fromStdString(dir.file("notes.bmp"));
    testsupport::WriteFile(text.toStdString(), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    const QString folder = QString::fromStdString(dir.path().string());
    for (const QString& path : {missing, text, folder})
        EXPECT_EQ(s.app->OpenDocumentFile(path), nullptr) << path.toStdString();

    ASSERT_EQ(boxes.texts.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(boxes.texts[i].contains(QStringList({missing, text, folder})[i])) << i;
    EXPECT_TRUE(boxes.texts[0].endsWith("Die Datei existiert nicht."));
    // The image library's reason, on the line after the name.
    EXPECT_FALSE(boxes.texts[1].section('\n', 1).trimmed().isEmpty()) << boxes.texts[1].toStdString();
    EXPECT_TRUE(boxes.texts[2].endsWith("Das ist ein Ordner."));

    // A recent file that is gone: reported, dropped, and no tab even briefly.
    s.app->AddToRecentFileList(missing);
    s.frame()->ExecuteCommand(ID_FILE_MRU_FILE1);
    ASSERT_EQ(boxes.texts.size(), 4);
    EXPECT_TRUE(boxes.texts[3].contains(missing));
    EXPECT_EQ(s.app->GetRecentFileList()->GetCount(), 0);
    EXPECT_EQ(boxes.mostWindowsSeen, 1); // only the start-up document
    EXPECT_EQ(s.app->m_pDocTemplate->GetDocuments().size(), 1u);
}

TEST(Startup, EveryFileOnTheCommandLineOpensAndTheLastIsActive) {
    testsupport::TempDir dir;
    const QString a = apptest::WriteBmp(dir, "a.bmp");
    const QString b = apptest::WriteBmp(dir, "b.bmp");
    const QString missing = QString::fromStdString(dir.file("missing.bmp"));
    apptest::MessageBoxCatcher boxes;
    StartedApp s(dir, {a, missing, b});
    ASSERT_TRUE(s.started);
    const auto& docs = s.app->m_pDocTemplate->GetDocuments();
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(docs.front()->GetPathName(), a);
    EXPECT_EQ(docs.back()->GetPathName(), b);
    EXPECT_EQ(s.frame()->MDIGetActive()->windowTitle(), "b.bmp");
    // The one that failed is reported once, not again when start-up activates.
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].contains(missing));
}

TEST(Printing, APictureKeepsItsPrintedSizeAndShrinksOnlyToFitThePage) {
    // 600 x 300 pixels at 300 dpi: 2 x 1 inches.
    EXPECT_EQ(CImagePrinter::PlaceOnPage({600, 300}, {300, 300}, {5000, 5000}, 1200),
              QRect(0, 0, 2400, 1200));
    // Unknown resolution counts as 96 dpi; a wide picture keeps its shape.
    EXPECT_EQ(CImagePrinter::PlaceOnPage({4000, 1000}, {0, 0}, {2000, 2000}, 600), QRect(0, 0, 2000, 500));
    EXPECT_EQ(CImagePrinter::PlaceOnPage({96, 48}, {96, 48}, {2000, 2000}, 600), QRect(0, 0, 600, 600));
}

TEST(Printing, TheCommandLinePrintsEveryFileOnThePageSetUpAndEnds) {
    testsupport::TempDir dir;
    const QString bmp = apptest::WriteBmp(dir, "print.bmp", 40, 30);
    const QString pdf = QString::fromStdString(dir.file("out.pdf"));
    CKXViewApp app(QString::fromStdString(dir.file("Vistorel.ini")));
    app.Printer().setOutputFormat(QPrinter::PdfFormat);
    app.Printer().setOutputFileName(pdf);
    app.Printer().setPageOrientation(QPageLayout::Portrait);

    // "Seite einrichten" works on the application's printer and keeps what is chosen.
    bool dialogSeen = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QPageSetupDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dialogSeen = dlg->printer() == &app.Printer();
        auto* landscape = dlg->findChild<QRadioButton*>("landscape");
        ASSERT_NE(landscape, nullptr);
        landscape->click();
        dlg->accept();
    });
    EXPECT_TRUE(app.OnCmdMsg(ID_FILE_PRINT_SETUP, nullptr));
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(app.Printer().pageLayout().orientation(), QPageLayout::Landscape);

    // Printing from the command line ends start-up, with success as exit code.
    EXPECT_FALSE(app.InitInstance({"-p", bmp}));
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_TRUE(app.m_pDocTemplate->GetDocuments().empty());
    EXPECT_FALSE(app.MainFrame()->isVisible());
    const std::vector<uint8_t> bytes = testsupport::ReadFile(pdf.toStdString());
    const std::string text(bytes.begin(), bytes.end());
    ASSERT_EQ(text.rfind("%PDF", 0), 0u);
    // One page, landscape, with the picture at its own pixel size.
    EXPECT_NE(text.find("/Width 40"), std::string::npos);
    EXPECT_NE(text.find("/Height 30"), std::string::npos);
    EXPECT_NE(text.find("/Count 1"), std::string::npos);
    const size_t box = text.find("/MediaBox [");
    ASSERT_NE(box, std::string::npos);
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ASSERT_EQ(std::sscanf(text.c_str() + box, "/MediaBox [%lf %lf %lf %lf]", &x0, &y0, &x1, &y1), 4);
    EXPECT_GT(x1 - x0, y1 - y0);
}

TEST(Printing, WithoutAPrinterNothingIsPrintedAndTheProgramSaysSo) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    testsupport::TempDir dir;
    const QString bmp = apptest::WriteBmp(dir, "print.bmp");
    apptest::MessageBoxCatcher boxes;
    CKXViewApp app(QString::fromStdString(dir.file("Vistorel.ini")));
    EXPECT_FALSE(app.InitInstance({"-p", bmp}));
    EXPECT_EQ(app.ExitInstance(), 1);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].startsWith("Kein Drucker")) << boxes.texts[0].toStdString();
}
