// The page and the preview, combination and settings dialogs once on screen
// with real documents: every control inside its dialog, no caption cut off,
// and a picture of each kept for a look.
#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

#include "DialogColorize.h"
#include "DialogCombine.h"
#include "DialogFFT.h"
#include "DialogGamma.h"
#include "DialogLightContrast.h"
#include "DialogMix.h"
#include "DialogOptions.h"
#include "DialogText.h"
#include "DocTestSupport.h"
#include "PageImageProc.h"
#include "codecs/ExifReader.h"

namespace {

void CheckAndKeep(QWidget& dlg, const QString& name) {
    SCOPED_TRACE(name.toStdString());
    dlg.show();
    QCoreApplication::processEvents();
    const QRect inside = dlg.rect();
    for (QWidget* w : dlg.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isHidden()) continue;
        EXPECT_TRUE(inside.contains(w->geometry())) << w->metaObject()->className() << " " << w->x() << ","
                                                    << w->y() << " " << w->width() << "x" << w->height();
        int needed = 0;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
            needed = label->fontMetrics().horizontalAdvance(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            text = button->text();
            needed = button->fontMetrics().horizontalAdvance(text) + (button->icon().isNull() ? 4 : 24);
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            needed = group->fontMetrics().horizontalAdvance(text) + 16;
        }
        EXPECT_LE(needed, w->width()) << text.toStdString();
    }
    const QString dir = QStringLiteral(VISTOREL_SCREENSHOTS "/dialogs");
    QDir().mkpath(dir);
    EXPECT_TRUE(dlg.grab().save(dir + "/" + name + ".png"));
}

// A picture with detail: colour ramps and a dark disc.
QString WritePicture(const testsupport::TempDir& dir, const std::string& name, int w, int h) {
    vimg::Image image(static_cast<uint32_t>(w), static_cast<uint32_t>(h), 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int dx = x - w / 2, dy = y - h / 2;
            const bool disc = dx * dx + dy * dy < h * h / 9;
            image.SetPixelColor(
                x, y,
                disc ? vimg::RGB(30, 30, 90)
                     : vimg::RGB(static_cast<uint8_t>(255 * x / w), static_cast<uint8_t>(255 * y / h), 140));
        }
    const std::string path = dir.file(name);
    image.Save(path.c_str(), vimg::FORMAT_BMP);
    return QString::fromStdString(path);
}

TEST(PreviewDialogs, FitTheirCaptionsAndArePictured) {
    testsupport::TempDir dir;
    apptest::StartedApp s(dir);
    ASSERT_TRUE(s.started);
    s.app->CloseAllDocuments();
    CKXViewDoc* wide = doctest::Open(s, WritePicture(dir, "wide.bmp", 640, 400));
    CKXViewDoc* small = doctest::Open(s, WritePicture(dir, "small.bmp", 150, 150));
    ASSERT_TRUE(wide && small);

    CPageImageProc page(s.frame());
    CheckAndKeep(page, "page-image-processing");
    CDialogLightContrast light(CDialogLightContrast::MODE_BRIGHTNESS, wide);
    light.m_value = 30;
    CheckAndKeep(light, "light-contrast");
    CDialogGamma gamma(wide);
    CheckAndKeep(gamma, "gamma");
    CDialogColorize colorize(wide);
    CheckAndKeep(colorize, "colorize");
    CDialogCombine combine;
    CheckAndKeep(combine, "combine");
    CDialogFFT fft;
    CheckAndKeep(fft, "fft");
    CDialogMix mix;
    CheckAndKeep(mix, "mix");
    CDialogText text;
    CheckAndKeep(text, "text");
    vimg::ExifInfo exif{};
    exif.isExif = 1;
    CDialogOptions options(&exif);
    options.m_tiffOption = 5;
    CheckAndKeep(options, "options");
}

} // namespace
