// Every command of the menus "&Bildbearbeitung", "Filters(&L)" and
// "Fluorescence(&U)" driven once on a real photograph (ImageMagick's rose,
// opened from a file), dialogs accepted with their presets (or a chosen value
// where the preset changes nothing), each compared with what it documents: the
// library operation run directly with the same values, and beside it an
// independent reference (ImageMagick for the plain turns and the negative,
// numpy and OpenCV through /usr/bin/python3 for the kernels and tone curves,
// hand-computed colours), properties for the random filters, new documents
// with their titles.
#include <algorithm>
#include <cmath>
#include <map>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "CmdUI.h"
#include "EllipseWarp.h"
#include "ImageTestSupport.h"
#include "ProcessingTestSupport.h"
#include "ReduceBitDepth.h"
#include "TemplateDialog.h"

using apptest::StartedApp;
using proctest::Documents;
using vimg::Image;

namespace {

// Accepts every dialog with what it shows: template dialogs through their OK
// button (so their checks run), message boxes with OK.
class DialogAccepter {
public:
    DialogAccepter() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                texts << box->text();
                box->accept();
            } else if (auto* dialog = qobject_cast<CTemplateDialog*>(modal)) {
                ++dialogs;
                // The transform needs one input: the first document as the real part.
                if (dialog->TemplateId() == IDD_FFT)
                    if (auto* real = dialog->GetDlgItem<QComboBox>(IDC_FFT_REAL)) real->setCurrentIndex(1);
                // Presets that would change nothing: brightness or contrast 0, the opacity it has.
                if (dialog->TemplateId() == IDD_LIGHT_CONTRAST)
                    if (auto* value = dialog->GetDlgItem<QLineEdit>(IDC_LC_VALUE)) value->setText(lightValue);
                if (dialog->TemplateId() == IDD_OPACITY)
                    if (auto* level = dialog->GetDlgItem<QLineEdit>(IDC_OPA_LEVEL)) level->setText("100");
                if (auto* ok = dialog->GetDlgItem<QAbstractButton>(IDOK))
                    ok->click();
                else
                    dialog->accept();
            } else if (auto* other = qobject_cast<QDialog*>(modal)) {
                ++dialogs;
                other->accept();
            }
        });
        m_timer.start(5);
    }
    QStringList texts;
    int dialogs = 0;
    const QString lightValue = "30"; // typed into the brightness and contrast dialog

private:
    QTimer m_timer;
};

struct Context {
    const Image& before; // the picture the command started from
    CKXViewDoc* doc;
    std::vector<CKXViewDoc*> made; // documents the command opened
};

using Check = std::function<void(const Context&)>;

// The command did what the library does on a copy.
Check Same(std::function<void(Image&)> reference) {
    return [reference](const Context& c) {
        Image expected(c.before);
        reference(expected);
        EXPECT_TRUE(testsupport::SamePixels(*c.doc->GetImage(), expected));
        EXPECT_EQ(c.doc->UndoLevel(), 1);
    };
}

// ImageMagick's convert with `operation` on the picture gives the same colours.
Check Magick(const std::string& operation, const testsupport::TempDir& dir) {
    return [operation, &dir](const Context& c) {
        const std::string in = dir.file("before.bmp"), out = dir.file("after.png");
        ASSERT_TRUE(Image(c.before).Save(in.c_str(), vimg::FORMAT_BMP));
        ASSERT_EQ(testsupport::Run(testsupport::Convert() + " " + testsupport::Quote(in) + " " + operation +
                                   " " + testsupport::Quote(out)),
                  0);
        int w = 0, h = 0;
        const std::vector<uint8_t> rgba = testsupport::ReferenceRGBA(out, &w, &h);
        const Image& image = *c.doc->GetImage();
        ASSERT_EQ(static_cast<int>(image.GetWidth()), w);
        ASSERT_EQ(static_cast<int>(image.GetHeight()), h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const vimg::RGBQUAD p = image.GetPixelColor(x, h - 1 - y, false);
                const uint8_t* q = &rgba[(static_cast<size_t>(y) * w + x) * 4];
                ASSERT_TRUE(p.rgbRed == q[0] && p.rgbGreen == q[1] && p.rgbBlue == q[2]) << x << "," << y;
            }
    };
}

// numpy (with OpenCV as cv2) works the expected picture out of the one before:
// `expression` turns `a` (float64, rows top-down, channels R, G, B) into one of
// the same size, rounded by the expression and clamped to 0..255. The command's colours may
// differ by `tolerance`; `border` pixels along each edge are not compared
// (the references treat the outside of the picture differently).
Check Python(const std::string& expression, const testsupport::TempDir& dir, int tolerance = 0, int border = 0) {
    return [=, &dir](const Context& c) {
        const std::string in = dir.file("before.bmp"), out = dir.file("expected.rgb"),
                          script = dir.file("reference.py");
        ASSERT_TRUE(Image(c.before).Save(in.c_str(), vimg::FORMAT_BMP));
        // OpenCV only where the expression asks for it: it is slow to load.
        const std::string text =
            "import sys\nimport numpy as np\n" +
            std::string(expression.find("cv2.") != std::string::npos ? "import cv2\n" : "") +
            "from PIL import Image\n"
            "a = np.asarray(Image.open(sys.argv[1]).convert('RGB')).astype(np.float64)\n"
            "r = " + expression + "\n"
            "open(sys.argv[2], 'wb').write(np.clip(r, 0, 255).astype(np.uint8).tobytes())\n";
        testsupport::WriteFile(script, std::vector<uint8_t>(text.begin(), text.end()));
        ASSERT_EQ(testsupport::Run("/usr/bin/python3 " + testsupport::Quote(script) + " " +
                                   testsupport::Quote(in) + " " + testsupport::Quote(out)),
                  0)
            << expression;
        const std::vector<uint8_t> rgb = testsupport::ReadFile(out); // rows top-down, R G B
        const Image& image = *c.doc->GetImage();
        const int w = static_cast<int>(c.before.GetWidth()), h = static_cast<int>(c.before.GetHeight());
        ASSERT_EQ(rgb.size(), static_cast<size_t>(w) * h * 3) << expression;
        ASSERT_EQ(static_cast<int>(image.GetWidth()), w);
        ASSERT_EQ(static_cast<int>(image.GetHeight()), h);
        int worst = 0;
        for (int y = border; y < h - border; ++y)
            for (int x = border; x < w - border; ++x) {
                const vimg::RGBQUAD p = image.GetPixelColor(x, h - 1 - y, false);
                const uint8_t* q = &rgb[(static_cast<size_t>(y) * w + x) * 3];
                worst = std::max({worst, std::abs(p.rgbRed - q[0]), std::abs(p.rgbGreen - q[1]),
                                  std::abs(p.rgbBlue - q[2])});
            }
        EXPECT_LE(worst, tolerance) << expression;
    };
}

// Both checks, one after the other.
Check Both(Check first, Check second) {
    return [first, second](const Context& c) {
        first(c);
        second(c);
    };
}

// Every pixel is the colour of a pixel at most `radius` away (in both
// directions) in the picture before, and most pixels moved.
Check Scattered(int radius) {
    return [radius](const Context& c) {
        const Image& img = *c.doc->GetImage();
        ASSERT_EQ(img.GetWidth(), c.before.GetWidth());
        ASSERT_EQ(img.GetHeight(), c.before.GetHeight());
        const int w = static_cast<int>(img.GetWidth()), h = static_cast<int>(img.GetHeight());
        int changed = 0, strays = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const vimg::RGBQUAD p = img.GetPixelColor(x, y, false);
                changed += !(p == c.before.GetPixelColor(x, y, false));
                bool near = false;
                for (int dy = -radius; dy <= radius && !near; ++dy)
                    for (int dx = -radius; dx <= radius && !near; ++dx)
                        near = x + dx >= 0 && x + dx < w && y + dy >= 0 && y + dy < h &&
                               p == c.before.GetPixelColor(x + dx, y + dy, false);
                strays += !near;
            }
        EXPECT_EQ(strays, 0);
        EXPECT_GT(changed, w * h / 2);
        EXPECT_EQ(c.doc->UndoLevel(), 1);
    };
}

// Each pixel away from the edges is one of the 3 x 3 pixels around it before,
// the one of middle brightness: its grey (0.299 R + 0.587 G + 0.114 B) lies
// within two levels of the median of their greys.
Check MedianOfNine() {
    return [](const Context& c) {
        const auto grey = [](const vimg::RGBQUAD& p) {
            return 0.299 * p.rgbRed + 0.587 * p.rgbGreen + 0.114 * p.rgbBlue;
        };
        const Image& img = *c.doc->GetImage();
        const int w = static_cast<int>(img.GetWidth()), h = static_cast<int>(img.GetHeight());
        int strays = 0, offMiddle = 0;
        for (int y = 1; y < h - 1; ++y)
            for (int x = 1; x < w - 1; ++x) {
                const vimg::RGBQUAD p = img.GetPixelColor(x, y, false);
                std::vector<double> greys;
                bool found = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const vimg::RGBQUAD q = c.before.GetPixelColor(x + dx, y + dy, false);
                        found = found || p == q;
                        greys.push_back(grey(q));
                    }
                std::nth_element(greys.begin(), greys.begin() + 4, greys.end());
                strays += !found;
                offMiddle += std::abs(grey(p) - greys[4]) > 2;
            }
        EXPECT_EQ(strays, 0);
        EXPECT_EQ(offMiddle, 0);
    };
}

// Black where the grey (Rec. 601) is at most the picture's mean grey, white
// above it; pixels within two levels of the mean may go either way (the
// library's grey is an integer approximation).
Check ThresholdAtMean() {
    return [](const Context& c) {
        const auto grey = [](const vimg::RGBQUAD& p) {
            return 0.299 * p.rgbRed + 0.587 * p.rgbGreen + 0.114 * p.rgbBlue;
        };
        const Image& img = *c.doc->GetImage();
        const int w = static_cast<int>(img.GetWidth()), h = static_cast<int>(img.GetHeight());
        ASSERT_EQ(w, static_cast<int>(c.before.GetWidth()));
        double sum = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) sum += grey(c.before.GetPixelColor(x, y, false));
        const double level = std::floor(sum / (static_cast<double>(w) * h));
        int white = 0, wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const vimg::RGBQUAD p = img.GetPixelColor(x, y, false);
                const bool isWhite = p.rgbRed == 255 && p.rgbGreen == 255 && p.rgbBlue == 255;
                const bool isBlack = p.rgbRed == 0 && p.rgbGreen == 0 && p.rgbBlue == 0;
                const double g = grey(c.before.GetPixelColor(x, y, false));
                white += isWhite;
                wrong += !(isWhite || isBlack) || (std::abs(g - level) > 2 && isWhite != (g > level));
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(white, w * h / 10);
        EXPECT_LT(white, w * h * 9 / 10);
    };
}

// New documents with these titles (in order), the source unchanged.
Check Made(std::vector<QString> titles) {
    return [titles](const Context& c) {
        ASSERT_EQ(c.made.size(), titles.size());
        for (size_t i = 0; i < titles.size(); ++i) {
            EXPECT_EQ(c.made[i]->GetTitle(), titles[i]);
            EXPECT_TRUE(c.made[i]->GetImage() && c.made[i]->GetImage()->IsValid());
        }
        EXPECT_TRUE(testsupport::SamePixels(*c.doc->GetImage(), c.before));
        EXPECT_EQ(c.doc->UndoLevel(), 0);
    };
}

class EveryCommand : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(s.started);
        if (!testsupport::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
        rose = dir.file("rose.bmp");
        ASSERT_EQ(testsupport::Run(testsupport::Convert() +
                                   " rose: -resize 200% -type TrueColor BMP3:" + testsupport::Quote(rose)),
                  0);
    }
    testsupport::TempDir dir;
    StartedApp s{dir};
    std::string rose;
};

TEST_F(EveryCommand, RunsOnceOnAPhotographWithItsDocumentedEffect) {
    const auto presetSkew = [](Image& img) {
        // The skew dialog's 5.5 and -5 pixels as slopes, truncated after x 1000.
        const float sx = 5.5f / static_cast<float>(img.GetWidth()),
                    sy = -5.0f / static_cast<float>(img.GetHeight());
        img.Skew(static_cast<int32_t>(sx * 1000) * 0.001f, static_cast<int32_t>(sy * 1000) * 0.001f, 0, 0,
                 true);
    };
    const auto filter = [](int size, int divisor, int offset, std::vector<int32_t> k) {
        return Same([=](Image& img) { img.Filter(k.data(), size, divisor, offset); });
    };
    // A weighted sum over the neighbourhood (OpenCV), divided with the fraction
    // dropped, plus an offset. The weights are written as the picture shows them,
    // top row first.
    const auto convolution = [this](const std::string& weights, int divisor, int offset, int border = 1) {
        return Python("np.trunc(cv2.filter2D(a, -1, np.array([" + weights + "], dtype=np.float64), "
                      "borderType=cv2.BORDER_REPLICATE) / (" + std::to_string(divisor) + ")) + " +
                          std::to_string(offset),
                      dir, 0, border);
    };
    // Brightness b added and contrast c scaling around 128 by (100 + c) %, the fraction dropped.
    const auto tone = [this](int b, int c) {
        return Python("np.floor(" + std::to_string(b) + " + 128 + (100 + (" + std::to_string(c) +
                          ")) / 100 * (a - 128))",
                      dir, 1);
    };
    // Per channel, the darkest and the brightest of a 2 x 2 window: the pixel,
    // its left neighbour and the two below them.
    const std::string window2 = "[a, np.roll(a, 1, axis=1), np.roll(a, -1, axis=0), "
                                "np.roll(np.roll(a, 1, axis=1), -1, axis=0)]";
    const std::string darkest = "np.minimum.reduce(" + window2 + ")";
    const std::string brightest = "np.maximum.reduce(" + window2 + ")";
    // Rec. 601 luma.
    const Check luma = Python("np.repeat(np.floor(a @ [0.299, 0.587, 0.114])[..., None], 3, axis=2)", dir, 1);
    const std::map<int, Check> checks = {
        {ID_IMAGE_MIRROR, Magick("-flop", dir)},
        {ID_IMAGE_FLIP, Magick("-flip", dir)},
        {ID_IMAGE_ROTATE_LEFT, Magick("-rotate -90", dir)},
        {ID_IMAGE_ROTATE_RIGHT, Magick("-rotate 90", dir)},
        {ID_IMAGE_NEGATIVE, Magick("-negate", dir)},
        {ID_IMAGE_ROTATE, Same([](Image& img) {
             const vimg::RGBQUAD corner = img.GetPixelColor(0, 0, true);
             img.Rotate2(12.345f, nullptr, Image::IM_BILINEAR, Image::OM_BACKGROUND, &corner, true, true);
         })},
        {ID_IMAGE_RESAMPLE, Same([](Image& img) {
             img.Resample2(static_cast<int32_t>(img.GetWidth() * 2),
                           static_cast<int32_t>(img.GetHeight() * 2),
                           Image::IM_BILINEAR, Image::OM_REPEAT, nullptr, false);
         })},
        {ID_IMAGE_SKEW, Same(presetSkew)},
        {ID_IMAGE_CROP, Same([](Image& img) { img.Crop(10, 20, 60, 50); })},
        {ID_IMAGE_ELLIPSE, Same([](Image& img) {
             Image warped;
             SquareToEllipse(img, warped);
             img = std::move(warped);
         })},
        {ID_IMAGE_GRAYSCALE, Both(Same([](Image& img) { img.GrayScale(); }), luma)},
        {ID_IMAGE_PSEUDO_COLOURS, Both(Same([](Image& img) { img.GrayScale(); }), luma)},
        {ID_IMAGE_DECREASE_BPP, Same([](Image& img) { vimg::ReduceBitDepth(img, 4, false, true, 16); })},
        {ID_IMAGE_INCREASE_BPP, [](const Context& c) {
             // From the 16 colours prepared below to 24 bits (the preset): every pixel keeps its colour.
             const Image& img = *c.doc->GetImage();
             ASSERT_EQ(c.before.GetBpp(), 4u);
             EXPECT_EQ(img.GetBpp(), 24u);
             ASSERT_EQ(img.GetWidth(), c.before.GetWidth());
             int differ = 0;
             for (int y = 0; y < static_cast<int>(img.GetHeight()); ++y)
                 for (int x = 0; x < static_cast<int>(img.GetWidth()); ++x)
                     differ += !(img.GetPixelColor(x, y, false) == c.before.GetPixelColor(x, y, false));
             EXPECT_EQ(differ, 0);
             EXPECT_EQ(c.doc->UndoLevel(), 1);
         }},
        {ID_IMAGE_DITHER, Same([](Image& img) { img.Dither(0); })},
        {ID_IMAGE_THRESHOLD,
         Both(Same([](Image& img) { img.Threshold(static_cast<uint8_t>(img.Mean())); }), ThresholdAtMean())},
        {ID_IMAGE_LIGHTEN, Both(Same([](Image& img) { img.Light(20, 0); }), tone(20, 0))},
        {ID_IMAGE_DARKEN, Both(Same([](Image& img) { img.Light(-20, 0); }), tone(-20, 0))},
        {ID_IMAGE_MORE_CONTRAST, Both(Same([](Image& img) { img.Light(0, 25); }), tone(0, 25))},
        {ID_IMAGE_LESS_CONTRAST, Both(Same([](Image& img) { img.Light(0, -25); }), tone(0, -25))},
        {ID_IMAGE_USER_LIGHT, tone(30, 0)}, // 30 typed into the dialog
        {ID_IMAGE_USER_CONTRAST, tone(0, 30)},
        {ID_IMAGE_GAMMA, Both(Same([](Image& img) { img.Gamma(static_cast<float>(1230 * 0.001)); }),
                              Python("np.floor(255 * (a / 255) ** (1 / 1.23))", dir, 1))},
        {ID_IMAGE_COLORIZE, Same([](Image& img) { img.Colorize(12, 50, static_cast<float>(50 * 0.01)); })},
        {ID_HISTOGRAM_STRETCH, Same([](Image& img) { img.HistogramStretch(0); })},
        {ID_HISTOGRAM_STRETCH1, Same([](Image& img) { img.HistogramStretch(1); })},
        {ID_HISTOGRAM_STRETCH2, Same([](Image& img) { img.HistogramStretch(2); })},
        {ID_HISTOGRAM_EQUALIZE, Same([](Image& img) { img.HistogramEqualize(); })},
        {ID_HISTOGRAM_NORMALIZE, Same([](Image& img) { img.HistogramNormalize(); })},
        {ID_HISTOGRAM_LOG, Same([](Image& img) { img.HistogramLog(); })},
        {ID_HISTOGRAM_ROOT, Same([](Image& img) { img.HistogramRoot(); })},
        {ID_SPLIT_RGB, Made({"Red Channel 2 from rose.bmp", "Green Channel 2 from rose.bmp",
                             "Blue Channel 2 from rose.bmp"})},
        {ID_SPLIT_YUV, Made({"Y Channel 2 from rose.bmp",
                             "U Channel 2 from rose.bmp", "V Channel 2 from rose.bmp"})},
        {ID_SPLIT_HSL, Made({"Hue Channel 2 from rose.bmp", "Saturation Channel 2 from rose.bmp",
                             "Lightness Channel 2 from rose.bmp"})},
        {ID_SPLIT_YIQ, Made({"Y Channel 2 from rose.bmp",
                             "I Channel 2 from rose.bmp", "Q Channel 2 from rose.bmp"})},
        {ID_SPLIT_XYZ, Made({"X Channel 2 from rose.bmp",
                             "Y Channel 2 from rose.bmp", "Z Channel 2 from rose.bmp"})},
        {ID_SPLIT_CMYK, Made({"C Channel 2 from rose.bmp", "M Channel 2 from rose.bmp",
                              "Y Channel 2 from rose.bmp", "K Channel 2 from rose.bmp"})},
        {ID_ALPHA_OPACITY, [](const Context& c) {
             // 100 typed into the dialog: the picture covers 100 / 255 of what is behind it.
             const Image& img = *c.doc->GetImage();
             ASSERT_TRUE(img.AlphaIsValid());
             EXPECT_EQ(img.AlphaGetMax(), 100);
             Image flat(img);
             flat.SetTransColor(vimg::RGBQUAD{0, 0, 0, 0});
             flat.AlphaStrip(); // onto black
             int differ = 0;
             for (int y = 0; y < static_cast<int>(img.GetHeight()); ++y)
                 for (int x = 0; x < static_cast<int>(img.GetWidth()); ++x) {
                     const vimg::RGBQUAD was = c.before.GetPixelColor(x, y, false);
                     const vimg::RGBQUAD now = flat.GetPixelColor(x, y, false);
                     differ += now.rgbRed != was.rgbRed * 100 / 255 || now.rgbGreen != was.rgbGreen * 100 / 255 ||
                               now.rgbBlue != was.rgbBlue * 100 / 255;
                 }
             EXPECT_EQ(differ, 0);
             EXPECT_EQ(c.doc->UndoLevel(), 1);
         }},
        {ID_ALPHA_DELETE, Same([](Image& img) {
             img.AlphaDelete();
             img.AlphaSetMax(255);
         })},
        {ID_ALPHA_INVERT, Same([](Image& img) { img.AlphaInvert(); })},
        {ID_ALPHA_PALETTE_TOGGLE,
         Same([](Image& img) { img.AlphaPaletteEnable(!img.AlphaPaletteIsEnabled()); })},
        {ID_ALPHA_STRIP, Same([](Image& img) {
             img.SetTransColor(vimg::RGBQUAD{255, 255, 255, 0});
             img.AlphaStrip();
         })},
        {ID_ALPHA_FROM_LIGHTNESS, Same([](Image& img) {
             Image grey(img, true, false, false);
             grey.Negative();
             grey.GrayScale();
             img.AlphaSet(grey);
         })},
        {ID_ALPHA_SPLIT, Made({"Alpha Channel 2 from rose.bmp"})},
        {ID_TRANSPARENCY_SET, [](const Context& c) { EXPECT_TRUE(c.doc->m_waitingClick); }},
        {ID_TRANSPARENCY_REMOVE, Same([](Image& img) { img.SetTransIndex(-1); })},
        {ID_IMAGE_COMBINE, Made({"NewImage1"})},
        {ID_IMAGE_FFT, Made({"FFT Imag 2", "FFT Real 2"})},
        {ID_IMAGE_MIX, Made({"Mix 2"})},
        {ID_IMAGE_JPEG_COMPRESSION, [](const Context& c) {
             ASSERT_EQ(c.made.size(), 1u);
             EXPECT_TRUE(c.made[0]->GetTitle().startsWith("Jpeg compr. 2, q = 50, size = "));
             EXPECT_TRUE(testsupport::SamePixels(*c.doc->GetImage(), c.before));
         }},
        {ID_FILTER_BLUR, Both(filter(3, 9, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1}), convolution("[1,1,1],[1,1,1],[1,1,1]", 9, 0))},
        {ID_FILTER_SOFTEN, Both(filter(3, 16, 0, {1, 1, 1, 1, 8, 1, 1, 1, 1}), convolution("[1,1,1],[1,8,1],[1,1,1]", 16, 0))},
        {ID_FILTER_GAUSS3, Both(filter(3, 16, 0, {1, 2, 1, 2, 4, 2, 1, 2, 1}), convolution("[1,2,1],[2,4,2],[1,2,1]", 16, 0))},
        {ID_FILTER_GAUSS5,
         Both(filter(5, 52, 0, {0, 1, 2, 1, 0, 1, 3, 4, 3, 1, 2, 4, 8, 4, 2, 1, 3, 4, 3, 1, 0, 1, 2, 1, 0}),
              convolution("[0,1,2,1,0],[1,3,4,3,1],[2,4,8,4,2],[1,3,4,3,1],[0,1,2,1,0]", 52, 0, 2))},
        {ID_FILTER_SHARPEN, Both(filter(3, 7, 0, {-1, -1, -1, -1, 15, -1, -1, -1, -1}), convolution("[-1,-1,-1],[-1,15,-1],[-1,-1,-1]", 7, 0))},
        {ID_FILTER_EDGE, Both(filter(3, -1, 255, {-1, -1, -1, -1, 8, -1, -1, -1, -1}), convolution("[-1,-1,-1],[-1,8,-1],[-1,-1,-1]", -1, 255))},
        // The pixel up and to the left less the one down and to the right, on grey 127.
        {ID_FILTER_EMBOSS, Both(filter(3, 0, 127, {0, 0, -1, 0, 0, 0, 1, 0, 0}), convolution("[1,0,0],[0,0,0],[0,0,-1]", 1, 127))},
        {ID_FILTER_NOISE, [](const Context& c) {
             // Random: the same size, most pixels changed.
             const Image& img = *c.doc->GetImage();
             ASSERT_EQ(img.GetWidth(), c.before.GetWidth());
             int changed = 0;
             for (int y = 0; y < static_cast<int>(img.GetHeight()); ++y)
                 for (int x = 0; x < static_cast<int>(img.GetWidth()); ++x)
                     changed += !(img.GetPixelColor(x, y, false) == c.before.GetPixelColor(x, y, false));
             EXPECT_GT(changed, static_cast<int>(img.GetWidth() * img.GetHeight() / 2));
         }},
        {ID_FILTER_MEDIAN, Both(Same([](Image& img) { img.Median(3); }), MedianOfNine())},
        {ID_FILTER_ERODE, Both(Same([](Image& img) { img.Erode(2); }), Python(darkest, dir, 0, 1))},
        {ID_FILTER_DILATE, Both(Same([](Image& img) { img.Dilate(2); }), Python(brightest, dir, 0, 1))},
        {ID_FILTER_CONTOUR, Same([](Image& img) { img.Contour(); })},
        {ID_FILTER_EDGES, Both(Same([](Image& img) { img.Edge(2); }),
                               Python("255 - (" + brightest + " - " + darkest + ")", dir, 0, 1))},
        {ID_FILTER_JITTER, Scattered(2)},
        {ID_WHITE_BALANCE, Scattered(2)}, // the menu entry runs the jitter filter
        {ID_CIRCLE_PINCH, Same([](Image& img) { img.CircleTransform(1, 0, 100.0f); })},
        {ID_CIRCLE_PUNCH, Same([](Image& img) { img.CircleTransform(0, 0, 100.0f); })},
        {ID_CIRCLE_SWIRL, Same([](Image& img) { img.CircleTransform(2, 0, 100.0f); })},
        {ID_CIRCLE_CYLINDER, Same([](Image& img) { img.CircleTransform(3, 0, 100.0f); })},
        {ID_CIRCLE_BATHROOM, Same([](Image& img) { img.CircleTransform(4, 0, 1.0f); })},
        {ID_IMAGE_REPAIR, Same([](Image& img) { img.Repair(0.25f, 2, 0); })},
    };

    DialogAccepter accepter;
    std::vector<int> commands = proctest::ProcessingMenuCommands();
    // Merging needs two pictures or more: those commands have tests of their own.
    std::erase_if(commands, [](int id) { return id == ID_IMAGE_FOCUS_STACK || id == ID_IMAGE_STITCH; });
    for (int id : commands) {
        SCOPED_TRACE(id);
        const auto check = checks.find(id);
        ASSERT_NE(check, checks.end()) << "no documented effect for command " << id;
        s.app->CloseAllDocuments();
        s.app->m_settings.imageCounter = 1;
        auto* doc = doctest::Open(s, QString::fromStdString(rose));
        ASSERT_TRUE(doc && doc->GetImage());
        Image& image = *doc->GetImage();
        // What some commands need: an alpha plane, a palette with alpha, a
        // transparent index, a selection.
        if (id >= ID_ALPHA_DELETE && id <= ID_ALPHA_STRIP && id != ID_ALPHA_PALETTE_TOGGLE)
            image.AlphaCreate();
        if (id == ID_ALPHA_INVERT || id == ID_ALPHA_SPLIT || id == ID_ALPHA_STRIP) {
            image.AlphaCreate();
            for (int y = 0; y < static_cast<int>(image.GetHeight()); ++y)
                for (int x = 0; x < static_cast<int>(image.GetWidth()); ++x)
                    image.AlphaSet(x, y, static_cast<uint8_t>(x * 3 + y));
        }
        if (id == ID_ALPHA_PALETTE_TOGGLE) {
            image.DecreaseBpp(8, false);
            image.SetPaletteColor(3, vimg::RGBQUAD{1, 2, 3, 128});
        }
        if (id == ID_TRANSPARENCY_REMOVE) image.SetTransIndex(0);
        if (id == ID_IMAGE_INCREASE_BPP) {
            ASSERT_TRUE(image.DecreaseBpp(4, false));
        }
        if (id == ID_IMAGE_CROP) {
            const vimg::POINT corners[5] = {{10, 20}, {60, 20}, {60, 50}, {10, 50}, {10, 20}};
            vimg::POINT bottomUp[5];
            for (int i = 0; i < 5; ++i) {
                doc->m_selPoints[static_cast<size_t>(i)] = corners[i];
                bottomUp[i] = {corners[i].x, static_cast<int32_t>(image.GetHeight()) - 1 - corners[i].y};
            }
            doc->m_selCount = 5;
            doc->m_rectSelection = true;
            image.SelectionAddPolygon(bottomUp, 5);
        }
        const Image before(image);
        const size_t docsBefore = Documents(s).size();
        proctest::Activate(s, doc);
        CCmdUI ui(id);
        ASSERT_TRUE(s.frame()->OnCmdMsg(id, &ui)) << "no update handler";
        EXPECT_TRUE(ui.m_bEnabled);
        ASSERT_TRUE(s.frame()->ExecuteCommand(id)) << "no handler";
        proctest::WaitUntilIdle(s, doc);
        QCoreApplication::processEvents();
        const std::vector<CKXViewDoc*> all = Documents(s);
        Context context{before, doc,
                        std::vector<CKXViewDoc*>(all.begin() + static_cast<long>(docsBefore), all.end())};
        check->second(context);
        EXPECT_TRUE(accepter.texts.isEmpty()) << accepter.texts.join(" | ").toStdString();
        accepter.texts.clear();
    }
    EXPECT_EQ(commands.size(), checks.size());
}

} // namespace
