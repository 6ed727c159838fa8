// "Schärfentiefe erweitern..." and "Bilder zusammenfügen..." on open pictures:
// the dialog's choice reaches the merge, the results open as new documents.
#include <algorithm>
#include <cstdlib>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include "DialogCompose.h"
#include "ImageTestSupport.h"
#include "ProcessingTestSupport.h"
#include "Resource.h"

using apptest::StartedApp;
using proctest::Documents;
using proctest::NewDoc;

namespace {

class ComposeTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(s.started);
        s.app->CloseAllDocuments();
    }
    // Answers the merge dialog with OK, after `choose` has set it up.
    void Run(int command, const std::function<void(CDialogCompose&)>& choose = {}) {
        bool seen = false;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<CDialogCompose*>(QApplication::activeModalWidget());
            if (!dialog || seen) return;
            seen = true;
            if (choose) choose(*dialog);
            dialog->accept();
        });
        user.start(10);
        s.frame()->ExecuteCommand(command);
        EXPECT_TRUE(seen);
    }
    // A picture of `w` x `h` cut from a grey random texture at (x, y).
    static vimg::Image Cut(const vimg::Image& texture, int x, int y, int w, int h) {
        vimg::Image part(static_cast<uint32_t>(w), static_cast<uint32_t>(h), 24);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) part.SetPixelColor(i, j, texture.GetPixelColor(x + i, y + j, false));
        return part;
    }
    testsupport::TempDir dir;
    StartedApp s{dir};
};

TEST_F(ComposeTest, AFocusSeriesOfTwoHalvesMergesSharpEverywhereWithItsDepthMap) {
    const vimg::Image sharp = testsupport::RandomImage(96, 64, 24, 3);
    // Each frame has one half out of focus: there every pixel is the mean of its 9 x 9 neighbourhood.
    const auto blurred = [&sharp](int x, int y) {
        int sum[3] = {};
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx) {
                const vimg::RGBQUAD c = sharp.GetPixelColor(std::clamp(x + dx, 0, 95), std::clamp(y + dy, 0, 63), false);
                sum[0] += c.rgbBlue, sum[1] += c.rgbGreen, sum[2] += c.rgbRed;
            }
        return vimg::RGBQUAD{uint8_t(sum[0] / 81), uint8_t(sum[1] / 81), uint8_t(sum[2] / 81), 0};
    };
    vimg::Image left = sharp, right = sharp;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 48; ++x) {
            right.SetPixelColor(x, y, blurred(x, y));
            left.SetPixelColor(x + 48, y, blurred(x + 48, y));
        }
    ASSERT_TRUE(NewDoc(s, left, "near"));
    ASSERT_TRUE(NewDoc(s, right, "far"));
    Run(ID_IMAGE_FOCUS_STACK, [](CDialogCompose& dlg) {
        ASSERT_EQ(dlg.Chosen().size(), 2u);
        // The frames are still (alignment has its own tests); the depth map too.
        for (QCheckBox* box : dlg.findChildren<QCheckBox*>())
            box->setChecked(box->text().startsWith(QStringLiteral("Tiefenkarte")));
    });
    const auto docs = Documents(s);
    ASSERT_EQ(docs.size(), 4u);
    EXPECT_TRUE(docs[2]->GetTitle().startsWith(QStringLiteral("EDF "))) << docs[2]->GetTitle().toStdString();
    EXPECT_TRUE(docs[3]->GetTitle().endsWith(QStringLiteral(" Tiefenkarte")));
    const vimg::Image& merged = *docs[2]->GetImage();
    ASSERT_EQ(merged.GetWidth(), 96u);
    // Closer to the sharp picture than either frame, on both halves.
    long mergedError = 0, frameError = 0;
    for (int y = 4; y < 60; ++y)
        for (int x = 4; x < 92; ++x) {
            mergedError += std::abs(merged.GetPixelColor(x, y, false).rgbGreen - sharp.GetPixelColor(x, y, false).rgbGreen);
            frameError += std::abs(left.GetPixelColor(x, y, false).rgbGreen - sharp.GetPixelColor(x, y, false).rgbGreen);
        }
    EXPECT_LT(mergedError * 4, frameError);
    // The depth map tells the halves apart: the first frame (black) on the left.
    const vimg::Image& depth = *docs[3]->GetImage();
    EXPECT_LT(depth.GetPixelColor(20, 32, false).rgbRed, depth.GetPixelColor(76, 32, false).rgbRed);
}

TEST_F(ComposeTest, TwoOverlappingFieldsBecomeOneMosaic) {
    const vimg::Image texture = testsupport::RandomImage(200, 120, 24, 7);
    ASSERT_TRUE(NewDoc(s, Cut(texture, 80, 0, 120, 120), "right"));
    ASSERT_TRUE(NewDoc(s, Cut(texture, 0, 0, 120, 120), "left"));
    Run(ID_IMAGE_STITCH);
    const auto docs = Documents(s);
    ASSERT_EQ(docs.size(), 3u);
    EXPECT_TRUE(docs[2]->GetTitle().startsWith(QStringLiteral("Mosaik "))) << docs[2]->GetTitle().toStdString();
    const vimg::Image& mosaic = *docs[2]->GetImage();
    EXPECT_NEAR(static_cast<int>(mosaic.GetWidth()), 200, 1);
    EXPECT_NEAR(static_cast<int>(mosaic.GetHeight()), 120, 1);
    EXPECT_EQ(mosaic.GetPixelColor(150, 60, false), texture.GetPixelColor(150, 60, false));
}

TEST_F(ComposeTest, EscapeStopsAMergeThatShowsItsProgressInTheStatusBar) {
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(NewDoc(s, testsupport::RandomImage(1600, 1200, 24, 11 + i), "frame"));
    std::vector<QString> texts;
    for (CKXViewDoc* doc : Documents(s))
        QObject::connect(doc, &CKXViewDoc::StatusChanged, [&texts](int pane, const QString& text) {
            if (pane == 2) texts.push_back(text);
        });
    // Escape as soon as the progress window shows.
    bool pressed = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* progress = QApplication::activeModalWidget();
        if (pressed || !progress || qobject_cast<CDialogCompose*>(progress)) return;
        pressed = true;
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(progress, &key);
    });
    user.start(5);
    Run(ID_IMAGE_FOCUS_STACK);
    EXPECT_TRUE(pressed);
    EXPECT_EQ(Documents(s).size(), 6u); // no result opened
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const QString& t) { return t.endsWith(" %"); }));
}

} // namespace
