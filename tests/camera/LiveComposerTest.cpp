// Live focus stacking and stitching on the stepped simulated microscope: the
// stage is moved through the camera's API, every frame is merged before the
// next comes, and the results are judged by plain reference loops here, not by
// the library's own measures.
#include <cmath>
#include <vector>

#include <QPushButton>

#include <gtest/gtest.h>

#include "CameraLibrary.h"
#include "CameraTestSupport.h"
#include "CaptureTestSupport.h"
#include "Image.h"
#include "LiveComposer.h"
#include "Resource.h"
#include "SavePanel.h"
#include "SimCamera.h"
#include "UserMessages.h"

using camtest::CaptureFrame;
using camtest::WaitFor;
using kxcam::StagePosition;

namespace {

// Grey levels (mean of R, G, B), rows from the top.
struct Grey {
    int width = 0, height = 0;
    std::vector<double> v;
    double at(int x, int y) const { return v[static_cast<size_t>(y) * width + x]; }
};

Grey GreyOf(const QImage& frame) {
    const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
    Grey g{rgb.width(), rgb.height(), {}};
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            const QRgb p = rgb.pixel(x, y);
            g.v.push_back((qRed(p) + qGreen(p) + qBlue(p)) / 3.0);
        }
    return g;
}

Grey GreyOf(const vimg::Image& image) {
    Grey g{static_cast<int>(image.GetWidth()), static_cast<int>(image.GetHeight()), {}};
    for (int y = 0; y < g.height; ++y) {
        const uint8_t* row = image.GetBits(static_cast<uint32_t>(g.height - 1 - y));
        for (int x = 0; x < g.width; ++x)
            g.v.push_back((row[3 * x] + row[3 * x + 1] + row[3 * x + 2]) / 3.0);
    }
    return g;
}

// Variance of the 4-neighbour Laplacian, a margin of 16 pixels left out.
double LaplacianVariance(const Grey& g) {
    double sum = 0, sum2 = 0;
    long n = 0;
    for (int y = 16; y < g.height - 16; ++y)
        for (int x = 16; x < g.width - 16; ++x) {
            const double l =
                4 * g.at(x, y) - g.at(x - 1, y) - g.at(x + 1, y) - g.at(x, y - 1) - g.at(x, y + 1);
            sum += l;
            sum2 += l * l;
            ++n;
        }
    return sum2 / n - (sum / n) * (sum / n);
}

// Normalised cross-correlation of `ref` with `g` shifted by (dx, dy).
double Correlation(const Grey& g, int dx, int dy, const Grey& ref) {
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    long n = 0;
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x) {
            const int gx = x + dx, gy = y + dy;
            if (gx < 0 || gy < 0 || gx >= g.width || gy >= g.height) continue;
            const double a = g.at(gx, gy), b = ref.at(x, y);
            sa += a, sb += b, saa += a * a, sbb += b * b, sab += a * b;
            ++n;
        }
    const double cov = sab - sa * sb / n;
    return cov / std::sqrt((saa - sa * sa / n) * (sbb - sb * sb / n));
}

// Mean of the strip of `width` columns (or rows) starting at `from`, within `span`.
double StripMean(const Grey& g, bool columns, int from, int width, int spanFrom, int spanTo) {
    double sum = 0;
    long n = 0;
    for (int s = spanFrom; s < spanTo; ++s)
        for (int t = from; t < from + width; ++t, ++n)
            sum += columns ? g.at(t, s) : g.at(s, t);
    return sum / n;
}

class LiveMerging : public testing::Test {
protected:
    void SetUp() override {
        // The library's own list, holding on to the simulated camera to move its stage.
        auto& library = kxcam::CameraLibrary::Instance();
        library.UnInit();
        library.SetEnumerator([this] {
            std::vector<std::unique_ptr<kxcam::CameraDevice>> list;
            auto camera = std::make_unique<kxcam::SimCamera>(type);
            sim = camera.get();
            list.push_back(std::move(camera));
            return list;
        });
        library.Refresh();
        library.SetGains(128, 128, 128);
        frame = std::make_unique<CaptureFrame>(true);
        frame->capture->SetCalibration([](const QString&, int, int) { return 2.5; });
        frame->capture->SetLiveResult([this](int control, std::unique_ptr<vimg::Image> picture) {
            resultControl = control;
            result = std::move(picture);
        });
        ASSERT_EQ(SendMessage(frame.get(), UM_DETECT_CAMERAS), MSG_DONE);
        ASSERT_EQ(SendMessage(frame.get(), UM_PREVIEW_START), MSG_DONE);
        ASSERT_TRUE(frames.Next(1));
        panel = frame->capture->SavePanel();
    }
    void TearDown() override {
        frame.reset();
        camtest::ResetLibrary();
    }
    CLiveComposer& Live() { return *frame->capture->Live(); }
    // One frame at `stage`, merged before this returns; the frame as shown.
    QImage Show(StagePosition stage) {
        sim->SetStage(stage);
        EXPECT_TRUE(frames.Next(1));
        EXPECT_TRUE(WaitFor([&] { return !Live().Busy(); }, 60000));
        return kxcam::CameraLibrary::Instance().CurrentFrame();
    }

    int type = 2;
    camtest::SteppedCameras frames;
    kxcam::SimCamera* sim = nullptr;
    std::unique_ptr<CaptureFrame> frame;
    CSavePanel* panel = nullptr;
    int resultControl = 0;
    std::unique_ptr<vimg::Image> result;
};

TEST_F(LiveMerging, FocusStackThroughTheSpecimenIsSharperThanEveryFrameAndCalibrated) {
    panel->m_edfButton->click();
    ASSERT_EQ(Live().Running(), CLiveComposer::Kind::FocusStack);
    const StagePosition home = kxcam::SimPicture::Home();
    std::vector<double> sharpness;
    for (double dz = -12; dz <= 12; dz += 3)
        sharpness.push_back(LaplacianVariance(GreyOf(Show({home.x, home.y, home.z + dz}))));
    EXPECT_EQ(Live().Skipped(), 0u);
    panel->m_edfButton->click();
    ASSERT_TRUE(result);
    EXPECT_EQ(resultControl, IDC_SAVE_EDF);
    EXPECT_EQ(Live().Running(), CLiveComposer::Kind::None);
    EXPECT_NEAR(result->GetPixelSize(), 2.5, 1e-9);
    EXPECT_STREQ(result->GetCameraName(), KXCameraGetCameraID().name);
    const double merged = LaplacianVariance(GreyOf(*result));
    for (size_t i = 0; i < sharpness.size(); ++i)
        EXPECT_GT(merged, sharpness[i]) << "frame " << i;
}

TEST_F(LiveMerging, PanoramaOfThreeByThreeFieldsMatchesTheSpecimenWithoutSeams) {
    panel->m_panoramaButton->click();
    ASSERT_EQ(Live().Running(), CLiveComposer::Kind::Mosaic);
    // Fields 400 x 300 specimen pixels apart (200 x 150 camera pixels), row by row in a snake.
    const StagePosition home = kxcam::SimPicture::Home();
    const int step[2] = {400, 300};
    const int order[9][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 1}, {0, 1}, {0, 2}, {1, 2}, {2, 2}};
    auto at = [&](int i, int j) {
        return StagePosition{home.x + (i - 1) * step[0], home.y + (j - 1) * step[1], home.z};
    };
    for (const auto& f : order)
        Show(at(f[0], f[1]));
    panel->m_panoramaButton->click();
    ASSERT_TRUE(result);
    EXPECT_EQ(resultControl, IDC_SAVE_PANORAMA);
    EXPECT_NEAR(result->GetPixelSize(), 2.5, 1e-9);
    const Grey mosaic = GreyOf(*result);
    EXPECT_NEAR(mosaic.width, 640 + 2 * 200, 2);
    EXPECT_NEAR(mosaic.height, 480 + 2 * 150, 2);

    // Each field against the noiseless picture of the specimen there, at its
    // place in the mosaic (within two pixels).
    const kxcam::SimPicture picture(QSize(640, 480));
    Grey centre;
    for (const auto& f : order) {
        QImage clean;
        picture.Render(0, at(f[0], f[1]), clean, false);
        // The specimen itself: the camera's vignetting taken out.
        Grey ref = GreyOf(clean);
        for (int y = 0; y < ref.height; ++y)
            for (int x = 0; x < ref.width; ++x)
                ref.v[y * ref.width + x] *= 256.0 / picture.Vignette(x, y);
        if (f[0] == 1 && f[1] == 1) centre = ref;
        double best = -1;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                best = std::max(best, Correlation(mosaic, f[0] * 200 + dx, f[1] * 150 + dy, ref));
        EXPECT_GE(best, 0.95) << "field " << f[0] << ", " << f[1];
    }
    // Where other fields' edges cross the middle field, the step in brightness
    // across the edge is the specimen's own, within 2 grey levels.
    for (int x : {400, 640}) {
        const double there =
            StripMean(mosaic, true, x, 4, 150, 630) - StripMean(mosaic, true, x - 4, 4, 150, 630);
        const double own =
            StripMean(centre, true, x - 200, 4, 0, 480) - StripMean(centre, true, x - 204, 4, 0, 480);
        EXPECT_LE(std::abs(there - own), 2.0) << "column " << x;
    }
    for (int y : {300, 480}) {
        const double there =
            StripMean(mosaic, false, y, 4, 200, 840) - StripMean(mosaic, false, y - 4, 4, 200, 840);
        const double own =
            StripMean(centre, false, y - 150, 4, 0, 640) - StripMean(centre, false, y - 154, 4, 0, 640);
        EXPECT_LE(std::abs(there - own), 2.0) << "row " << y;
    }
}

// A camera type that records video.
class LiveMergingBesideVideo : public LiveMerging {
protected:
    LiveMergingBesideVideo() { type = 3; }
};

TEST_F(LiveMergingBesideVideo, ButtonsExcludeEachOtherAndCaptureAndEndWithTheCameraOrTheProgram) {
    QPushButton* edf = panel->m_edfButton;
    QPushButton* panorama = panel->m_panoramaButton;
    ASSERT_TRUE(edf->isEnabled() && panorama->isEnabled());
    // A recording shuts both out until it ends.
    panel->m_videoButton->click();
    EXPECT_FALSE(edf->isEnabled());
    EXPECT_FALSE(panorama->isEnabled());
    panel->m_videoButton->click();
    ASSERT_TRUE(frames.Next(1));
    EXPECT_TRUE(edf->isEnabled() && panorama->isEnabled());

    panorama->click();
    EXPECT_TRUE(panorama->isChecked());
    EXPECT_FALSE(edf->isEnabled());
    EXPECT_FALSE(panel->m_stillButton->isEnabled());
    EXPECT_FALSE(panel->m_videoButton->isEnabled());
    EXPECT_FALSE(frame->capture->StartLive(IDC_SAVE_EDF));
    EXPECT_EQ(SendMessage(frame.get(), UM_VIDEO_START), MSG_REFUSED);
    EXPECT_EQ(SendMessage(frame.get(), UM_CAPTURE), MSG_REFUSED);
    Show(kxcam::SimPicture::Home());
    // Releasing the camera ends the merge and hands its result on.
    SendMessage(frame.get(), UM_CAMERA_RELEASE);
    EXPECT_EQ(Live().Running(), CLiveComposer::Kind::None);
    EXPECT_FALSE(panorama->isChecked());
    ASSERT_TRUE(result);
    EXPECT_EQ(resultControl, IDC_SAVE_PANORAMA);
    EXPECT_EQ(result->GetWidth(), 640u);

    // Closing the program while merging: the worker stops, nothing is handed on.
    result.reset();
    ASSERT_EQ(SendMessage(frame.get(), UM_DETECT_CAMERAS), MSG_DONE);
    ASSERT_EQ(SendMessage(frame.get(), UM_PREVIEW_START), MSG_DONE);
    ASSERT_TRUE(frames.Next(1));
    edf->click();
    ASSERT_EQ(Live().Running(), CLiveComposer::Kind::FocusStack);
    ASSERT_TRUE(frames.Next(1));
    frame.reset();
    EXPECT_FALSE(result);
}

} // namespace
