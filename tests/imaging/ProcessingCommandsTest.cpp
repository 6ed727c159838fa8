// The processing commands of the document: the worker protocol, the
// parameters the commands hand to the operations, crop origins, result
// documents with their titles and counter, and closing while a filter runs.
#include <algorithm>
#include <cmath>
#include <regex>

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include "ColorQuantizer.h"
#include "DialogDecreaseBpp.h"
#include "DialogGamma.h"
#include "DialogRotate.h"
#include "ImageTestSupport.h"
#include "ProcessingTestSupport.h"
#include "Resource.h"
#include "RowRunner.h"
#include "TemplateDialog.h"

using apptest::StartedApp;
using proctest::Documents;
using proctest::NewDoc;
using proctest::WaitUntilIdle;
using testsupport::Rgb;

namespace {

class ProcessingTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(s.started);
        s.app->CloseAllDocuments();
    }
    void TearDown() override { vimg::RowRunner::SetThreadCount(0); }
    testsupport::TempDir dir;
    StartedApp s{dir};

    // Runs a command on a document and waits for its worker.
    QStringList Run(CKXViewDoc* doc, int command) {
        proctest::Activate(s, doc);
        s.frame()->ExecuteCommand(command);
        return WaitUntilIdle(s, doc);
    }
};

bool IsPercent(const QString& text) {
    return std::regex_match(text.toStdString(), std::regex("\\d{1,3} %"));
}

TEST_F(ProcessingTest, SharpenRunsOnTheWorkerShowsPercentagesThenTheTimeAndUndoes) {
    // One thread and a large picture: the filter outlasts several progress reports.
    vimg::RowRunner::SetThreadCount(1);
    const vimg::Image original = testsupport::RandomImage(5000, 4000, 24, 5);
    CKXViewDoc* doc = NewDoc(s, original);
    ASSERT_TRUE(doc);
    s.frame()->ExecuteCommand(ID_FILTER_SHARPEN);
    EXPECT_TRUE(doc->IsBusy());
    // The view keeps the picture from before the operation meanwhile.
    EXPECT_TRUE(testsupport::SamePixels(*doc->DisplayImage(), original));
    const QStringList shown = WaitUntilIdle(s, doc);
    ASSERT_FALSE(doc->IsBusy());
    // A report every 333 ms while the filter runs, rising.
    std::vector<int> percentages;
    for (const QString& t : shown)
        if (IsPercent(t) && t != "100 %") percentages.push_back(t.section(' ', 0, 0).toInt());
    EXPECT_TRUE(std::is_sorted(percentages.begin(), percentages.end())) << shown.join(" | ").toStdString();
    if (doc->ElapsedSeconds() >= 0.8f) {
        EXPECT_FALSE(percentages.empty()) << shown.join(" | ").toStdString();
    }
    EXPECT_TRUE(shown.contains("100 %")) << shown.join(" | ").toStdString();
    EXPECT_TRUE(std::regex_match(shown.back().toStdString(), std::regex("Time \\(s\\): \\d+\\.\\d{3}")))
        << shown.back().toStdString();
    EXPECT_GT(doc->ElapsedSeconds(), 0.0f);

    vimg::Image reference(original);
    const int32_t kernel[] = {-1, -1, -1, -1, 15, -1, -1, -1, -1};
    ASSERT_TRUE(reference.Filter(kernel, 3, 7, 0));
    EXPECT_TRUE(testsupport::SamePixels(*doc->GetImage(), reference));
    EXPECT_EQ(doc->UndoLevel(), 1);
    s.frame()->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(testsupport::SamePixels(*doc->GetImage(), original));
}

// Every pixel of `after` is a pixel of `before` at most `radius` away in
// each direction, and some pixels moved.
::testing::AssertionResult Jittered(const vimg::Image& before, const vimg::Image& after, int radius) {
    const int w = static_cast<int>(before.GetWidth()), h = static_cast<int>(before.GetHeight());
    int moved = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const vimg::RGBQUAD c = after.GetPixelColor(x, y, false);
            bool found = false;
            for (int dy = -radius; dy <= radius && !found; ++dy)
                for (int dx = -radius; dx <= radius && !found; ++dx)
                    found =
                        before.IsInside(x + dx, y + dy) && before.GetPixelColor(x + dx, y + dy, false) == c;
            if (!found)
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") comes from nowhere";
            moved += !(before.GetPixelColor(x, y, false) == c);
        }
    if (moved < w * h / 4) return ::testing::AssertionFailure() << "only " << moved << " pixels moved";
    return ::testing::AssertionSuccess();
}

TEST_F(ProcessingTest, WhiteBalanceRunsTheSameJitterAsImageFluctuation) {
    const vimg::Image original = testsupport::RandomImage(60, 40, 24, 9);
    for (int command : {ID_WHITE_BALANCE, ID_FILTER_JITTER}) {
        CKXViewDoc* doc = NewDoc(s, original);
        ASSERT_TRUE(doc);
        Run(doc, command);
        EXPECT_EQ(doc->UndoLevel(), 1);
        EXPECT_TRUE(Jittered(original, *doc->GetImage(), 2)) << command;
    }
}

TEST_F(ProcessingTest, UserContrastThirtyRunsLightWithBrightnessZeroAndContrastThirty) {
    const vimg::Image original = testsupport::SmoothImage(50, 30, 3);
    CKXViewDoc* doc = NewDoc(s, original);
    ASSERT_TRUE(doc);
    // Types 30 into the dialog's value and confirms.
    QTimer typer;
    QObject::connect(&typer, &QTimer::timeout, [&typer] {
        if (auto* dialog = qobject_cast<CTemplateDialog*>(QApplication::activeModalWidget())) {
            typer.stop();
            dialog->SetDlgItemText(IDC_LC_VALUE, "30");
            dialog->GetDlgItem<QAbstractButton>(IDOK)->click();
        }
    });
    typer.start(5);
    Run(doc, ID_IMAGE_USER_CONTRAST);
    vimg::Image reference(original);
    reference.Light(0, 30);
    EXPECT_TRUE(testsupport::SamePixels(*doc->GetImage(), reference));
}

TEST_F(ProcessingTest, RotateFillsUncoveredCornersWithTheFirstPixelOrBlack) {
    vimg::Image original = testsupport::Filled(80, 60, Rgb(200, 200, 200));
    original.SetPixelColor(0, 0, Rgb(10, 120, 240));
    struct Case {
        int overflow;
        vimg::RGBQUAD corner;
    };
    for (const Case& c : {Case{0, Rgb(10, 120, 240)}, Case{1, Rgb(0, 0, 0)}}) {
        CKXViewDoc* doc = NewDoc(s, original);
        ASSERT_TRUE(doc);
        // 30 degrees, bilinear, keep the size.
        CDialogRotate dlg;
        dlg.m_angle = 30.0f;
        dlg.m_interpolation = 1;
        dlg.m_overflow = c.overflow;
        dlg.m_keepSize = true;
        ASSERT_TRUE(doc->StartSteps(dlg.Steps(*doc->GetImage())));
        WaitUntilIdle(s, doc);
        const vimg::Image& image = *doc->GetImage();
        ASSERT_EQ(image.GetWidth(), 80u);
        ASSERT_EQ(image.GetHeight(), 60u);
        for (const auto& [x, y] : {std::pair{0, 0}, {79, 0}, {0, 59}, {79, 59}})
            EXPECT_EQ(image.GetPixelColor(x, y, false), c.corner) << c.overflow << " at " << x << "," << y;
        EXPECT_EQ(image.GetPixelColor(40, 30, false), Rgb(200, 200, 200));
    }
}

TEST_F(ProcessingTest, RotatedRectangleCropStartsAtTheTopMostCorner) {
    const vimg::Image original = testsupport::RandomImage(120, 100, 24, 11);
    CKXViewDoc* doc = NewDoc(s, original);
    ASSERT_TRUE(doc);
    // A rectangle of about 50 x 30 turned by atan(3/4), drawn from its lowest corner:
    // the top-most corner is point 2.
    const vimg::POINT corners[5] = {{40, 80}, {80, 50}, {62, 26}, {22, 56}, {40, 80}};
    for (int i = 0; i < 5; ++i)
        doc->m_selPoints[static_cast<size_t>(i)] = corners[i];
    doc->m_selCount = 5;
    doc->m_rectSelection = true;
    vimg::POINT flipped[5];
    for (int i = 0; i < 5; ++i)
        flipped[i] = {corners[i].x, 99 - corners[i].y};
    ASSERT_TRUE(doc->GetImage()->SelectionAddPolygon(flipped, 5));
    proctest::Activate(s, doc);
    s.frame()->ExecuteCommand(ID_IMAGE_CROP);
    // B = (62, 26), its successor (22, 56) gives the width, its predecessor (80, 50) the height.
    vimg::Image reference(original, true, false, true);
    ASSERT_TRUE(reference.CropRotatedRectangle(62, 26, 50, 30, static_cast<float>(std::atan2(30.0, -40.0))));
    EXPECT_TRUE(testsupport::SamePixels(*doc->GetImage(), reference));
    EXPECT_EQ(doc->UndoLevel(), 1);
}

TEST_F(ProcessingTest, FreeHandCropKeepsExactlyTheSelectionBox) {
    const vimg::Image original = testsupport::RandomImage(50, 40, 24, 12);
    CKXViewDoc* doc = NewDoc(s, original);
    ASSERT_TRUE(doc);
    // A triangle; its box spans columns 5..29 and, from the top, rows 4..20.
    const vimg::POINT topDown[3] = {{5, 4}, {29, 12}, {10, 20}};
    vimg::POINT bottomUp[3];
    for (int i = 0; i < 3; ++i) {
        doc->m_selPoints[static_cast<size_t>(i)] = topDown[i];
        bottomUp[i] = {topDown[i].x, 39 - topDown[i].y};
    }
    doc->m_selCount = 3;
    doc->m_rectSelection = false;
    ASSERT_TRUE(doc->GetImage()->SelectionAddPolygon(bottomUp, 3));
    proctest::Activate(s, doc);
    s.frame()->ExecuteCommand(ID_IMAGE_CROP);
    const vimg::Image& image = *doc->GetImage();
    ASSERT_EQ(image.GetWidth(), 25u);
    ASSERT_EQ(image.GetHeight(), 17u);
    // Top-left of the result is (5, 4) counted from the top of the original.
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 25; ++x)
            ASSERT_EQ(image.GetPixelColor(x, 16 - y, false),
                      original.GetPixelColor(5 + x, 39 - (4 + y), false))
                << x << "," << y;
}

TEST_F(ProcessingTest, OptimisedEightBitReductionUsesEightColourBitsUpToSixteenColoursElseSeven) {
    const vimg::Image original = testsupport::SmoothImage(64, 48, 21);
    for (const auto& [colours, bits] : {std::pair{12u, 8u}, {200u, 7u}}) {
        CKXViewDoc* doc = NewDoc(s, original);
        ASSERT_TRUE(doc);
        CDialogDecreaseBpp dlg;
        dlg.m_bpp = 8;
        dlg.m_paletteMethod = 1;
        dlg.m_errorDiffusion = false;
        dlg.m_maxColours = static_cast<int>(colours);
        ASSERT_TRUE(doc->StartSteps(dlg.Steps()));
        WaitUntilIdle(s, doc);
        // The reference builds the palette with the quantiser itself.
        vimg::ColorQuantizer quantizer(colours, bits);
        quantizer.ProcessImage(original.GetDIB(), original.GetSize());
        vimg::RGBQUAD palette[256] = {};
        quantizer.SetColorTable(palette, 256);
        vimg::Image reference(original);
        ASSERT_TRUE(reference.DecreaseBpp(8, false, palette, colours));
        EXPECT_EQ(doc->GetImage()->GetBpp(), 8u);
        EXPECT_TRUE(testsupport::SamePixels(*doc->GetImage(), reference)) << colours;
    }
}

TEST_F(ProcessingTest, SplitNumbersAllChannelsWithTheAdvancedCounterAndDuplicateUsesItBeforeAdvancing) {
    vimg::Image original = testsupport::RandomImage(9, 7, 24, 4);
    CKXViewDoc* doc = NewDoc(s, original, "Probe");
    ASSERT_TRUE(doc);
    s.app->m_settings.imageCounter = 4;
    proctest::Activate(s, doc);
    s.frame()->ExecuteCommand(ID_SPLIT_RGB);
    std::vector<CKXViewDoc*> docs = Documents(s);
    ASSERT_EQ(docs.size(), 4u);
    EXPECT_EQ(docs[1]->GetTitle(), "Red Channel 5 from Probe");
    EXPECT_EQ(docs[2]->GetTitle(), "Green Channel 5 from Probe");
    EXPECT_EQ(docs[3]->GetTitle(), "Blue Channel 5 from Probe");
    // Each channel image holds that component of every pixel as grey.
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) {
            const vimg::RGBQUAD c = original.GetPixelColor(x, y, false);
            EXPECT_EQ(docs[1]->GetImage()->GetPixelColor(x, y, false).rgbRed, c.rgbRed);
            EXPECT_EQ(docs[2]->GetImage()->GetPixelColor(x, y, false).rgbGreen, c.rgbGreen);
            EXPECT_EQ(docs[3]->GetImage()->GetPixelColor(x, y, false).rgbBlue, c.rgbBlue);
        }
    EXPECT_EQ(doc->UndoLevel(), 0);
    proctest::Activate(s, doc);
    s.frame()->ExecuteCommand(ID_DUPLICATE);
    docs = Documents(s);
    ASSERT_EQ(docs.size(), 5u);
    EXPECT_EQ(docs[4]->GetTitle(), "Copy 5 of Probe");
    proctest::Activate(s, doc);
    s.frame()->ExecuteCommand(ID_SPLIT_CMYK);
    docs = Documents(s);
    ASSERT_EQ(docs.size(), 9u);
    EXPECT_EQ(docs[5]->GetTitle(), "C Channel 7 from Probe");
    EXPECT_EQ(docs[8]->GetTitle(), "K Channel 7 from Probe");
}

TEST_F(ProcessingTest, FourierMakesTheImaginaryDocumentBeforeTheRealOne) {
    const vimg::Image grey = [] {
        vimg::Image g = testsupport::RandomImage(16, 16, 8, 2, testsupport::kGreyPalette);
        return g;
    }();
    CKXViewDoc* doc = NewDoc(s, grey, "Probe");
    ASSERT_TRUE(doc);
    s.app->m_settings.imageCounter = 10;
    doc->FourierDocuments(doc, nullptr, 1, true, false);
    std::vector<CKXViewDoc*> docs = Documents(s);
    ASSERT_EQ(docs.size(), 3u);
    EXPECT_EQ(docs[1]->GetTitle(), "FFT Imag 11");
    EXPECT_EQ(docs[2]->GetTitle(), "FFT Real 11");
    // The same as the library's transform with a black imaginary part.
    vimg::Image real(grey), imag(16, 16, 8), outReal, outImag;
    imag.SetGrayPalette();
    ASSERT_TRUE(real.FFT2(&real, &imag, &outReal, &outImag, 1, true, false));
    EXPECT_TRUE(testsupport::SamePixels(*docs[2]->GetImage(), outReal));
    EXPECT_TRUE(testsupport::SamePixels(*docs[1]->GetImage(), outImag));
    doc->FourierDocuments(nullptr, doc, 1, true, true);
    docs = Documents(s);
    ASSERT_EQ(docs.size(), 5u);
    EXPECT_EQ(docs[3]->GetTitle(), "FFT Phase 12");
    EXPECT_EQ(docs[4]->GetTitle(), "FFT Magnitude 12");
}

TEST_F(ProcessingTest, ClosingADocumentDuringAMedianStopsAndJoinsTheWorker) {
    vimg::RowRunner::SetThreadCount(1);
    CKXViewDoc* doc = NewDoc(s, testsupport::RandomImage(4000, 3000, 24, 8));
    ASSERT_TRUE(doc);
    s.frame()->ExecuteCommand(ID_FILTER_MEDIAN);
    ASSERT_TRUE(doc->IsBusy());
    // Until the job has reported progress at least once.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!IsPercent(s.frame()->PaneText(2)) && doc->IsBusy() && std::chrono::steady_clock::now() < giveUp)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    ASSERT_TRUE(doc->IsBusy());
    doctest::MessageBoxAnswerer discard(QMessageBox::Discard); // the question to save the changed picture
    s.frame()->ExecuteCommand(ID_FILE_CLOSE);
    EXPECT_TRUE(Documents(s).empty());
}

TEST_F(ProcessingTest, AParameterOutsideTheOperationsRangeIsRefusedAndLeavesThePicture) {
    const vimg::Image original = testsupport::SmoothImage(20, 10, 1);
    CKXViewDoc* doc = NewDoc(s, original);
    ASSERT_TRUE(doc);
    doctest::MessageBoxAnswerer answer(QMessageBox::Ok);
    CDialogGamma dlg(doc);
    dlg.m_gamma = 0.0f;
    EXPECT_FALSE(doc->StartSteps(dlg.Steps()));
    EXPECT_FALSE(doc->IsBusy());
    ASSERT_EQ(answer.texts.size(), 1);
    EXPECT_TRUE(answer.texts[0].contains("gamma")) << answer.texts[0].toStdString();
    EXPECT_TRUE(testsupport::SamePixels(*doc->GetImage(), original));
}

} // namespace
