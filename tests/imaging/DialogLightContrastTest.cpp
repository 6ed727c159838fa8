// The brightness/contrast dialog: the slider's range and its mapping to the
// value, both modes of the preview, the thumbnail size, and values beyond the
// slider handed back unchanged.
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "BitmapSlider.h"
#include "DeviceContext.h"
#include "DialogLightContrast.h"
#include "ImageBitmap.h"
#include "KXViewDoc.h"
#include "MessageBoxCatcher.h"
#include "Resource.h"

namespace {

// A document holding a w x h picture with a ramp and a grey area.
std::unique_ptr<CKXViewDoc> Document(int w, int h) {
    auto doc = std::make_unique<CKXViewDoc>();
    auto image = std::make_unique<vimg::Image>(static_cast<uint32_t>(w), static_cast<uint32_t>(h), 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image->SetPixelColor(x, y,
                                 vimg::RGB(static_cast<uint8_t>(x * 255 / w), 100, static_cast<uint8_t>(y)));
    doc->SetImage(std::move(image));
    doc->SetTitle(QStringLiteral("Probe"));
    return doc;
}

QImage Shown(const CDialogLightContrast& dlg) {
    return dlg.m_previewBitmap ? dlg.m_previewBitmap->Image() : QImage();
}

// What the preview must show: the thumbnail after Light(brightness, contrast).
QImage Expected(const CDialogLightContrast& dlg, int brightness, int contrast) {
    vimg::Image copy(dlg.m_thumbnail);
    copy.Light(brightness, contrast);
    const CDeviceContext dc(1, 1);
    return vimg::display::MakeBitmap(copy, &dc)->Image();
}

void LoseFocus(QWidget* w) {
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(w, &out);
}

TEST(DialogLightContrast, SliderRangeValueMappingAndBothModes) {
    auto doc = Document(300, 150);
    CDialogLightContrast dlg(CDialogLightContrast::MODE_BRIGHTNESS, doc.get());
    dlg.m_value = 0;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Erhellen einstellen ..."));
    EXPECT_EQ(dlg.m_slider->minimum(), 0);
    EXPECT_EQ(dlg.m_slider->maximum(), 200);
    EXPECT_EQ(dlg.m_slider->value(), 100);
    ASSERT_EQ(dlg.m_documentList->count(), 1);
    EXPECT_EQ(dlg.m_documentList->itemText(0), QStringLiteral("Probe"));
    EXPECT_EQ(dlg.m_chosen, doc.get());
    // 200 / 300 in single precision, the thumbnail 200 x 100.
    EXPECT_FLOAT_EQ(dlg.m_scale, 200.0f / 300.0f);
    EXPECT_EQ(dlg.m_thumbnail.GetWidth(), 200u);
    EXPECT_EQ(dlg.m_thumbnail.GetHeight(), 100u);
    auto* edit = dlg.GetDlgItem<QLineEdit>(IDC_LC_VALUE);

    const std::pair<int, int> moves[] = {{0, -100}, {200, 100}, {100, 0}, {137, 37}};
    for (const auto& [pos, value] : moves) {
        dlg.m_slider->setValue(pos);
        EXPECT_EQ(dlg.m_value, value) << pos;
        EXPECT_EQ(edit->text(), QString::number(value)) << pos;
        EXPECT_EQ(Shown(dlg), Expected(dlg, value, 0)) << pos;
    }
    // Brightness 37 really changed the picture.
    EXPECT_NE(Shown(dlg), Expected(dlg, 0, 0));

    QTest::mouseClick(dlg.GetDlgItem<QPushButton>(IDOK), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_value, 37);
}

TEST(DialogLightContrast, ContrastModeSmallImageAndTypedValuesBeyondTheSlider) {
    auto doc = Document(120, 80);
    CDialogLightContrast dlg(CDialogLightContrast::MODE_CONTRAST, doc.get());
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kontrast einstellen..."));
    // Smaller than 200: previewed at its own size.
    EXPECT_FLOAT_EQ(dlg.m_scale, 1.0f);
    ASSERT_NE(dlg.m_previewBitmap, nullptr);
    EXPECT_EQ(dlg.m_previewBitmap->Width(), 120);
    EXPECT_EQ(dlg.m_previewBitmap->Height(), 80);
    EXPECT_EQ(dlg.m_preview->size(), QSize(120, 80));
    // Contrast 0 leaves the thumbnail as it is.
    const CDeviceContext dc(1, 1);
    EXPECT_EQ(Shown(dlg), vimg::display::MakeBitmap(dlg.m_thumbnail, &dc)->Image());

    auto* edit = dlg.GetDlgItem<QLineEdit>(IDC_LC_VALUE);
    edit->setText(QStringLiteral("-40"));
    LoseFocus(edit);
    EXPECT_EQ(dlg.m_value, -40);
    EXPECT_EQ(dlg.m_slider->value(), 60);
    EXPECT_EQ(Shown(dlg), Expected(dlg, 0, -40));
    EXPECT_NE(Shown(dlg), Expected(dlg, -40, 0));

    // 150 is previewed and handed back as typed; the slider shows its end.
    edit->setText(QStringLiteral("150"));
    LoseFocus(edit);
    EXPECT_EQ(dlg.m_value, 150);
    EXPECT_EQ(dlg.m_slider->value(), 200);
    EXPECT_EQ(edit->text(), QStringLiteral("150"));
    EXPECT_EQ(Shown(dlg), Expected(dlg, 0, 150));
    QTest::mouseClick(dlg.GetDlgItem<QPushButton>(IDOK), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_value, 150);
}

TEST(DialogLightContrast, TextThatIsNotAnIntegerIsRefusedOnceAndChangesNothing) {
    auto doc = Document(60, 40);
    CDialogLightContrast dlg(CDialogLightContrast::MODE_BRIGHTNESS, doc.get());
    dlg.m_value = 20;
    dlg.show();
    const QImage before = Shown(dlg);
    MessageBoxCatcher boxes;
    auto* edit = dlg.GetDlgItem<QLineEdit>(IDC_LC_VALUE);
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    edit->setFocus();
    edit->setText(QStringLiteral("12a"));
    // Leaving the edit reads it: one message, and nothing changes.
    dlg.GetDlgItem<QWidget>(IDCANCEL)->setFocus(); // the message is shown and answered meanwhile
    EXPECT_EQ(boxes.Take().size(), 1);
    EXPECT_EQ(dlg.m_value, 20);
    EXPECT_EQ(dlg.m_slider->value(), 120);
    EXPECT_EQ(Shown(dlg), before);
    edit->setText(QStringLiteral("-20"));
    LoseFocus(edit);
    EXPECT_TRUE(boxes.Take().isEmpty());
    EXPECT_EQ(dlg.m_value, -20);
    EXPECT_EQ(Shown(dlg), Expected(dlg, -20, 0));
}

} // namespace
