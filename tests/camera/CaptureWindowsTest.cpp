// The save panel, the capture configuration dialog with its numeric edits and
// the image browser.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "CameraTestSupport.h"
#include "CaptureTestSupport.h"
#include "DialogCaptureConfig.h"
#include "Image.h"
#include "ImageBrowser.h"
#include "ImageTypes.h"
#include "NumericEditRule.h"
#include "Resource.h"
#include "SavePanel.h"
#include "UserMessages.h"

using camtest::CaptureFrame;
using camtest::WaitFor;

namespace {

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
}

class ConfigDialog : public testing::Test {
protected:
    // Opens the dialog for a running camera of `type` with file type `code`.
    CDialogCaptureConfig* Open(int type, int code) {
        frame.Start(type);
        frame.capture->m_captureFormat = code;
        EXPECT_EQ(SendMessage(&frame, UM_CAPTURE_CONFIG), MSG_DONE);
        CDialogCaptureConfig* dialog = frame.capture->ConfigDialog();
        dialog->SetReporter([this](const QString& text) { frame.reports.push_back(text); });
        return dialog;
    }
    // Clicks OK; true when the dialog let go (the 1245 it posts reached the frame).
    bool Ok(CDialogCaptureConfig* dialog) {
        dialog->GetDlgItem<QPushButton>(IDOK)->click();
        QCoreApplication::processEvents();
        return frame.capture->ConfigDialog() == nullptr;
    }
    CaptureFrame frame;
};

TEST_F(ConfigDialog, TypeSevenHasNoRawSoCodeFourSelectsNothingAndIsKept) {
    CDialogCaptureConfig* dialog = Open(7, 4);
    EXPECT_EQ(Items(dialog->m_typeList), (QStringList{".jpg", ".bmp"}));
    EXPECT_TRUE(dialog->m_typeList->isEnabled());
    EXPECT_EQ(dialog->m_typeList->currentIndex(), -1);
    ASSERT_TRUE(Ok(dialog));
    EXPECT_EQ(frame.capture->m_captureFormat, 4);
}

TEST_F(ConfigDialog, TypeZeroFixesBmpAndOtherTypesChooseFromThree) {
    CDialogCaptureConfig* dialog = Open(0, 1);
    EXPECT_FALSE(dialog->m_typeList->isEnabled());
    EXPECT_EQ(Items(dialog->m_typeList), (QStringList{".jpg", ".bmp", ".raw"}));
    EXPECT_EQ(dialog->m_typeList->currentText(), QStringLiteral(".bmp"));
    ASSERT_TRUE(Ok(dialog));
    EXPECT_EQ(frame.capture->m_captureFormat, 2);

    SendMessage(&frame, UM_PREVIEW_STOP);
    dialog = Open(3, 4);
    EXPECT_EQ(dialog->m_typeList->currentText(), QStringLiteral(".raw"));
    dialog->m_typeList->setCurrentIndex(0);
    ASSERT_TRUE(Ok(dialog));
    EXPECT_EQ(frame.capture->m_captureFormat, 1);
}

TEST_F(ConfigDialog, OkStoresEverySettingAndTheTimeStampGovernsTheName) {
    frame.capture->m_timestampNames = 0;
    frame.capture->m_captureBaseName = QStringLiteral("probe");
    frame.capture->m_seriesCount = 4;
    frame.capture->m_seriesInterval = 9;
    CDialogCaptureConfig* dialog = Open(2, 2);
    EXPECT_EQ(dialog->m_nameEdit->text(), QStringLiteral("probe"));
    EXPECT_TRUE(dialog->m_nameEdit->isEnabled());
    EXPECT_TRUE(dialog->m_numButton->isEnabled());
    EXPECT_EQ(dialog->m_countRule->Edit()->text(), QStringLiteral("4"));
    EXPECT_EQ(dialog->m_intervalRule->Edit()->text(), QStringLiteral("9"));
    EXPECT_EQ(dialog->m_folderEdit->text(), QString::fromStdString(frame.Folder()));

    // Turning the time stamp on clears and disables the name and "Num"; off enables them, empty.
    dialog->m_timestampBox->click();
    EXPECT_TRUE(dialog->m_nameEdit->text().isEmpty());
    EXPECT_FALSE(dialog->m_nameEdit->isEnabled());
    EXPECT_FALSE(dialog->m_numButton->isEnabled());
    dialog->m_timestampBox->click();
    EXPECT_TRUE(dialog->m_nameEdit->isEnabled());
    EXPECT_TRUE(dialog->m_numButton->isEnabled());
    EXPECT_TRUE(dialog->m_nameEdit->text().isEmpty());

    QTest::keyClicks(dialog->m_nameEdit, "slide");
    dialog->m_numButton->click();
    dialog->SetFolderChooser([] { return QStringLiteral("/tmp"); });
    dialog->GetDlgItem<QPushButton>(IDC_CONFIG_BROWSE)->click();
    dialog->m_countRule->Edit()->selectAll();
    QTest::keyClicks(dialog->m_countRule->Edit(), "12");
    ASSERT_TRUE(Ok(dialog));
    EXPECT_EQ(frame.capture->m_captureBaseName, QStringLiteral("slide"));
    EXPECT_EQ(frame.capture->m_numberedNames, 1);
    EXPECT_EQ(frame.capture->m_timestampNames, 0);
    EXPECT_EQ(frame.capture->m_seriesCount, 12);
    EXPECT_EQ(frame.capture->m_seriesInterval, 9);
    EXPECT_EQ(frame.capture->m_capturePath, QStringLiteral("/tmp/"));
}

TEST_F(ConfigDialog, NumbersOutOfRangeBeepBackAndBadOnesAreNotStored) {
    CDialogCaptureConfig* dialog = Open(2, 2);
    QLineEdit* count = dialog->m_countRule->Edit();
    count->selectAll();
    QTest::keyClicks(count, "7");
    EXPECT_EQ(dialog->m_countRule->LastValid(), 7);
    count->selectAll();
    QTest::keyClicks(count, "0");
    EXPECT_EQ(count->text(), QStringLiteral("7"));
    EXPECT_EQ(count->cursorPosition(), 1);
    QTest::keyClicks(count, "1"); // 71 is beyond 50
    EXPECT_EQ(count->text(), QStringLiteral("7"));
    count->selectAll();
    QTest::keyClicks(count, "51"); // "5" is valid, "51" returns to it
    EXPECT_EQ(count->text(), QStringLiteral("5"));
    count->setText(QStringLiteral("007"));
    EXPECT_EQ(count->text(), QStringLiteral("7"));
    QTest::keyClicks(count, "x-");
    EXPECT_EQ(count->text(), QStringLiteral("7")); // digits only
    QTest::keyClick(count, Qt::Key_Up);
    EXPECT_EQ(count->text(), QStringLiteral("8"));
    QLineEdit* interval = dialog->m_intervalRule->Edit();
    interval->setText(QStringLiteral("60"));
    QTest::keyClick(interval, Qt::Key_Up);
    EXPECT_EQ(interval->text(), QStringLiteral("60"));

    // An empty number: the framework's message, nothing stored, the dialog stays.
    count->clear();
    EXPECT_FALSE(dialog->m_countRule->LastValid().has_value());
    EXPECT_FALSE(Ok(dialog));
    EXPECT_EQ(frame.reports, (std::vector<QString>{QStringLiteral("Please enter an integer.")}));
    EXPECT_EQ(frame.capture->m_seriesCount, 1);
    EXPECT_EQ(frame.capture->m_seriesInterval, 1);
    EXPECT_TRUE(dialog->isVisible());
}

TEST(CaptureFolder, RootsGetNoExtraSeparator) {
    EXPECT_EQ(CDialogCaptureConfig::FolderText(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(CDialogCaptureConfig::FolderText(QStringLiteral("/data/pictures")),
              QStringLiteral("/data/pictures/"));
    EXPECT_EQ(CDialogCaptureConfig::FolderText(QStringLiteral("/data/pictures/")),
              QStringLiteral("/data/pictures/"));
}

TEST(SavePanel, TypeFourteenStartsAndStopsWithTheSameButton) {
    CaptureFrame frame;
    frame.Start(14);
    CSavePanel* panel = frame.capture->SavePanel();
    ASSERT_TRUE(panel->m_stillButton->isEnabled());
    panel->m_stillButton->click();
    EXPECT_EQ(panel->m_stillButton->text(), QStringLiteral("Aufnahme Stoppen"));
    ASSERT_TRUE(WaitFor([&] { return frame.Count(UM_CAPTURE) == 1; }));
    panel->m_stillButton->click();
    EXPECT_EQ(panel->m_stillButton->text(), QStringLiteral("Aufnahme"));
    ASSERT_TRUE(WaitFor([&] { return frame.Count(UM_LONG_EXPOSURE_END) == 1; }));
    EXPECT_EQ(frame.Stills().size(), 1u); // the stop wrote the pending still
}

TEST(SavePanel, ButtonsFollowTheCameraStateAndType) {
    CaptureFrame frame;
    CSavePanel* panel = frame.capture->SavePanel();
    EXPECT_FALSE(panel->m_stillButton->isEnabled());
    EXPECT_FALSE(panel->m_videoButton->isEnabled());
    EXPECT_FALSE(panel->m_compressorButton->isEnabled());
    const struct {
        int type;
        bool video, compressor;
    } cases[] = {{2, false, false}, {0, true, false}, {16, true, false}, {11, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        frame.Start(c.type);
        EXPECT_TRUE(panel->m_stillButton->isEnabled());
        EXPECT_EQ(panel->m_videoButton->isEnabled(), c.video);
        EXPECT_EQ(panel->m_compressorButton->isEnabled(), c.compressor);
        SendMessage(&frame, UM_PREVIEW_STOP);
        QCoreApplication::processEvents();
        EXPECT_FALSE(panel->m_stillButton->isEnabled());
    }
    // Every other button posts its message to the frame.
    panel->GetDlgItem<QPushButton>(IDC_SAVE_CONFIG)->click();
    panel->GetDlgItem<QPushButton>(IDC_SAVE_OPEN_FOLDER)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.Count(UM_CAPTURE_CONFIG), 1);
    EXPECT_EQ(frame.Count(UM_OPEN_CAPTURE_FOLDER), 1);
}

// A frame window that keeps the path of each 1235.
class OpenRecorder : public QWidget, public CMessageTarget {
public:
    LRESULT WindowProc(UINT message, WPARAM, LPARAM lParam) override {
        if (message == UM_OPEN_IMAGE) opened.push_back(*reinterpret_cast<const QString*>(lParam));
        return 0;
    }
    std::vector<QString> opened;
};

QString Picture(const testsupport::TempDir& dir, const std::string& name, int width, int height) {
    vimg::Image image;
    image.Create(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 24, vimg::FORMAT_BMP);
    const std::string path = dir.file(name);
    EXPECT_TRUE(image.Save(path.c_str(), vimg::FORMAT_BMP));
    return QString::fromStdString(path);
}

TEST(ImageBrowser, StepsThroughTheStillsWithThumbnailsAndOpensTheOneShown) {
    testsupport::TempDir dir;
    OpenRecorder frame;
    CImageBrowser browser(&frame);
    std::vector<QString> reports;
    browser.SetReporter([&](const QString& text) { reports.push_back(text); });
    browser.OpenCurrent(); // nothing shown: nothing asked
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.opened.empty());

    const QString large = Picture(dir, "large.BMP", 1600, 1200);
    browser.Add(large);
    EXPECT_EQ(browser.CounterText(), QStringLiteral("< 1 / 1 >"));
    EXPECT_EQ(browser.Thumbnail().GetWidth(), 200u);
    EXPECT_EQ(browser.Thumbnail().GetHeight(), 150u);
    EXPECT_EQ(browser.GetDlgItem<QLabel>(IDC_BROWSER_PICTURE)->pixmap().size(), QSize(200, 150));
    browser.Previous();
    EXPECT_EQ(browser.Position(), 1);

    const QString small = Picture(dir, "small.bmp", 150, 100);
    browser.Add(small);
    EXPECT_EQ(browser.CounterText(), QStringLiteral("< 2 / 2 >"));
    EXPECT_EQ(browser.Thumbnail().GetWidth(), 150u); // never enlarged
    EXPECT_EQ(browser.Thumbnail().GetHeight(), 100u);
    browser.Next(); // the last entry: nothing happens
    EXPECT_EQ(browser.Position(), 2);
    browser.m_previousButton->click();
    EXPECT_EQ(browser.CounterText(), QStringLiteral("< 1 / 2 >"));
    EXPECT_EQ(browser.Thumbnail().GetWidth(), 200u);
    browser.m_openButton->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.opened, (std::vector<QString>{large}));

    // A file without an extension and a deleted file leave the last picture and counter.
    const QString bare = Picture(dir, "bare", 40, 30);
    browser.Add(bare);
    EXPECT_EQ(browser.Position(), 3);
    EXPECT_EQ(browser.CounterText(), QStringLiteral("< 1 / 2 >"));
    EXPECT_EQ(browser.Thumbnail().GetWidth(), 200u);
    browser.Add(QString::fromStdString(dir.file("gone.bmp")));
    EXPECT_EQ(browser.CounterText(), QStringLiteral("< 1 / 2 >"));
    // A file that is no picture is reported with the library's text.
    testsupport::WriteFile(dir.file("broken.bmp"), {'B', 'M', 1, 2, 3});
    browser.Add(QString::fromStdString(dir.file("broken.bmp")));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_FALSE(reports[0].isEmpty());
    browser.Add(QString());
    EXPECT_EQ(reports.back(), QStringLiteral("Filename is blank, please check it !"));
    EXPECT_EQ(browser.Count(), 6);
}

} // namespace
