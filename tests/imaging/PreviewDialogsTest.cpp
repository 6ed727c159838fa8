// The dialogs that preview on a thumbnail or choose among the open
// documents: gamma, colorize, mix, combine and FFT - their lists, presets,
// previews and the values they hand back.
#include <cmath>

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "BitmapSlider.h"
#include "DeviceContext.h"
#include "DialogColorize.h"
#include "DialogCombine.h"
#include "DialogFFT.h"
#include "DialogGamma.h"
#include "DialogMix.h"
#include "DocTestSupport.h"
#include "ImageBitmap.h"
#include "MessageBoxCatcher.h"
#include "Resource.h"

namespace {

std::unique_ptr<vimg::Image> Solid(int w, int h, vimg::RGBQUAD colour) {
    auto image = std::make_unique<vimg::Image>(static_cast<uint32_t>(w), static_cast<uint32_t>(h), 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image->SetPixelColor(x, y, colour);
    return image;
}

std::unique_ptr<CKXViewDoc> Document(std::unique_ptr<vimg::Image> image, const QString& title) {
    auto doc = std::make_unique<CKXViewDoc>();
    doc->SetImage(std::move(image));
    doc->SetTitle(title);
    return doc;
}

QImage DeviceImage(const vimg::Image& image) {
    const CDeviceContext dc(1, 1);
    return vimg::display::MakeBitmap(image, &dc)->Image();
}

void Click(CTemplateDialog& dlg, int id) {
    dlg.GetDlgItem<QAbstractButton>(id)->click();
}

void LoseFocus(QWidget* w) {
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(w, &out);
}

TEST(DialogGamma, PresetSliderPreviewAndTheValueHandedBack) {
    auto doc = Document(Solid(400, 100, {100, 100, 100, 0}), QStringLiteral("Grey"));
    CDialogGamma dlg(doc.get());
    dlg.m_gamma = 1.23f;
    dlg.show();
    EXPECT_EQ(dlg.GetDlgItemText(IDC_GAM_VALUE), QStringLiteral("1.23"));
    EXPECT_EQ(dlg.m_slider->minimum(), 0);
    EXPECT_EQ(dlg.m_slider->maximum(), 1000);
    EXPECT_EQ(dlg.m_slider->value(), 123);
    ASSERT_EQ(dlg.m_documentList->count(), 1);
    EXPECT_EQ(dlg.m_chosen, doc.get());
    ASSERT_NE(dlg.Preview().Bitmap(), nullptr);
    EXPECT_EQ(dlg.Preview().Bitmap()->Width(), 200);
    EXPECT_EQ(dlg.Preview().Bitmap()->Height(), 50);

    // Slider 250: gamma 2.5, grey 100 becomes 255 * (100 / 255)^(1 / 2.5).
    dlg.m_slider->setValue(250);
    EXPECT_FLOAT_EQ(dlg.m_gamma, 2.5f);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_GAM_VALUE), QStringLiteral("2.5"));
    const int expected = static_cast<int>(std::lround(255.0 * std::pow(100.0 / 255.0, 1.0 / 2.5)));
    EXPECT_NEAR(qRed(dlg.Preview().Bitmap()->Image().pixel(10, 10)), expected, 1);

    // Typed and left: the slider follows.
    auto* edit = dlg.GetDlgItem<QLineEdit>(IDC_GAM_VALUE);
    edit->setText(QStringLiteral("1.23"));
    LoseFocus(edit);
    EXPECT_EQ(dlg.m_slider->value(), 123);
    EXPECT_EQ(qRed(dlg.Preview().Bitmap()->Image().pixel(10, 10)),
              static_cast<int>(std::lround(255.0 * std::pow(100.0 / 255.0, 1.0 / 1.23))));
    Click(dlg, IDOK);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.GammaParameter(), 1230);
}

TEST(DialogGamma, AGammaOfZeroOrBelowIsRefusedInTheDialog) {
    auto doc = Document(Solid(40, 10, {100, 100, 100, 0}), QStringLiteral("Grey"));
    for (const char* typed : {"-1", "0"}) {
        CDialogGamma dlg(doc.get());
        dlg.show();
        dlg.GetDlgItem<QLineEdit>(IDC_GAM_VALUE)->setText(QString::fromLatin1(typed));
        MessageBoxCatcher boxes;
        Click(dlg, IDOK);
        EXPECT_TRUE(dlg.isVisible()) << typed;
        EXPECT_NE(dlg.result(), QDialog::Accepted) << typed;
        EXPECT_EQ(boxes.Take().size(), 1) << typed;
        EXPECT_TRUE(dlg.LastDataError().contains(QStringLiteral("between"))) << dlg.LastDataError().toStdString();
    }
}

// Answers the colour chooser with a fixed colour and keeps what it was shown.
class ProbeColorize : public CDialogColorize {
public:
    using CDialogColorize::CDialogColorize;
    QColor answer, shown;

protected:
    std::optional<QColor> ChooseColour(const QColor& initial) override {
        shown = initial;
        return answer;
    }
};

TEST(DialogColorize, ReturnsHslOrRgbParametersAndTheChooserRewritesTheEdits) {
    auto doc = Document(Solid(64, 48, {0, 0, 200, 0}), QStringLiteral("Red"));
    {
        ProbeColorize dlg(doc.get());
        dlg.show();
        EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_COL_HSL));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_COL_HUE), QStringLiteral("12"));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_COL_BLUE), QStringLiteral("-50"));
        // The preview is the thumbnail itself.
        ASSERT_NE(dlg.Preview().Bitmap(), nullptr);
        EXPECT_EQ(dlg.Preview().Bitmap()->Image(), DeviceImage(dlg.Preview().Thumbnail()));
        EXPECT_EQ(dlg.Preview().Bitmap()->Width(), 64);

        // HSL mode: the chooser starts from (hue 12, saturation 50, lightness 128).
        dlg.answer = QColor(0, 255, 0);
        Click(dlg, IDC_CHOOSE_COLOUR);
        const vimg::RGBQUAD start = vimg::Image::HSLtoRGB(vimg::RGBQUAD{128, 50, 12, 0});
        EXPECT_EQ(dlg.shown, QColor(start.rgbRed, start.rgbGreen, start.rgbBlue));
        const vimg::RGBQUAD green = vimg::Image::RGBtoHSL(vimg::RGBQUAD{0, 255, 0, 0});
        EXPECT_EQ(dlg.GetDlgItemText(IDC_COL_HUE), QString::number(green.rgbRed));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_COL_SATURATION), QStringLiteral("255"));
        Click(dlg, IDOK);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        ASSERT_EQ(dlg.Steps().Steps().size(), 1u);
        EXPECT_EQ(dlg.Steps().Steps()[0].operation, "Colorize");
        EXPECT_EQ(dlg.Steps().Steps()[0].values,
                  (std::vector<vops::Value>{(long long)green.rgbRed, 255LL, 0.5}));
    }
    {
        ProbeColorize dlg(doc.get());
        dlg.show();
        Click(dlg, IDC_COL_RGB);
        // RGB mode: each shift modulo 256, -50 as 206.
        dlg.answer = QColor(10, 20, 30);
        Click(dlg, IDC_CHOOSE_COLOUR);
        EXPECT_EQ(dlg.shown, QColor(50, 0, 206));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_COL_GREEN), QStringLiteral("20"));
        dlg.SetDlgItemText(IDC_COL_BLUE, QStringLiteral("-255"));
        Click(dlg, IDOK);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        ASSERT_EQ(dlg.Steps().Steps().size(), 1u);
        EXPECT_EQ(dlg.Steps().Steps()[0].operation, "ShiftRGB");
        EXPECT_EQ(dlg.Steps().Steps()[0].values, (std::vector<vops::Value>{10LL, 20LL, -255LL}));
    }
    {
        // A hue beyond a byte keeps the dialog open after the message.
        MessageBoxCatcher boxes;
        ProbeColorize dlg(doc.get());
        dlg.show();
        dlg.SetDlgItemText(IDC_COL_HUE, QStringLiteral("300"));
        Click(dlg, IDOK); // the message is shown and answered within the click
        EXPECT_EQ(dlg.result(), 0);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(boxes.Take().size(), 1);
    }
}

class DocumentDialogs : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(s.started);
        s.app->CloseAllDocuments();
    }
    CKXViewDoc* OpenSolid(const std::string& name, int w, int h, vimg::RGBQUAD colour) {
        const std::string path = dir.file(name);
        Solid(w, h, colour)->Save(path.c_str(), vimg::FORMAT_BMP);
        return doctest::Open(s, QString::fromStdString(path));
    }
    static QStringList Entries(const QComboBox* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
        return texts;
    }
    testsupport::TempDir dir;
    apptest::StartedApp s{dir};
};

TEST_F(DocumentDialogs, MixWithOneDocumentListsItInBothAndPreviewsTheOperation) {
    CKXViewDoc* only = OpenSolid("only.bmp", 40, 30, {1, 2, 3, 0});
    ASSERT_NE(only, nullptr);
    {
        CDialogMix dlg;
        dlg.show();
        auto* dst = dlg.GetDlgItem<QComboBox>(IDC_MIX_DESTINATION);
        auto* src = dlg.GetDlgItem<QComboBox>(IDC_MIX_SOURCE);
        EXPECT_EQ(Entries(dst), QStringList{QStringLiteral("only.bmp")});
        EXPECT_EQ(Entries(src), QStringList{QStringLiteral("only.bmp")});
        EXPECT_EQ(dst->currentIndex(), 0);
        EXPECT_EQ(src->currentIndex(), 0);
        auto* ops = dlg.GetDlgItem<QComboBox>(IDC_MIX_OPERATION);
        EXPECT_EQ(Entries(ops), (QStringList{"OpAdd", "OpAnd", "OpXor", "OpOr", "OpScreen", "OpMask",
                                             "OpSrcCopy", "OpDstCopy", "OpSub", "OpSrcBlend"}));
        const int data[] = {0, 1, 2, 3, 9, 4, 5, 6, 7, 8};
        for (int i = 0; i < ops->count(); ++i)
            EXPECT_EQ(ops->itemData(i).toInt(), data[i]) << i;
        EXPECT_EQ(ops->currentIndex(), 1);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_MIX_X), QStringLiteral("0"));
        EXPECT_FALSE(dlg.IsDlgButtonChecked(IDC_MIX_ALPHA));
        Click(dlg, IDOK);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.m_destination, only);
        EXPECT_EQ(dlg.m_source, only);
        EXPECT_EQ(dlg.m_operation, 1);
    }

    // Two documents: "Dst:" on the second. XOR of a 100 x 100 source moved
    // by 20 pixels over a 400 x 200 destination, on thumbnails at half size.
    const vimg::RGBQUAD a{10, 200, 60, 0}, b{255, 15, 7, 0};
    CKXViewDoc* source = OpenSolid("source.bmp", 100, 100, b);
    CKXViewDoc* destination = OpenSolid("destination.bmp", 400, 200, a);
    CDialogMix dlg;
    dlg.show();
    EXPECT_EQ(dlg.GetDlgItem<QComboBox>(IDC_MIX_DESTINATION)->currentIndex(), 1);
    dlg.GetDlgItem<QComboBox>(IDC_MIX_DESTINATION)->setCurrentIndex(2);
    dlg.GetDlgItem<QComboBox>(IDC_MIX_SOURCE)->setCurrentIndex(1);
    dlg.GetDlgItem<QComboBox>(IDC_MIX_OPERATION)->setCurrentIndex(2);
    dlg.SetDlgItemText(IDC_MIX_X, QStringLiteral("20"));
    Click(dlg, IDC_MIX_PREVIEW_BUTTON);
    EXPECT_EQ(dlg.m_destination, destination);
    EXPECT_EQ(dlg.m_source, source);
    EXPECT_EQ(dlg.m_operation, vimg::Image::OpXor);
    ASSERT_NE(dlg.Preview().Bitmap(), nullptr);
    const QImage shown = dlg.Preview().Bitmap()->Image();
    ASSERT_EQ(shown.size(), QSize(200, 100));
    const QRgb plain = qRgb(a.rgbRed, a.rgbGreen, a.rgbBlue);
    const QRgb mixed = qRgb(a.rgbRed ^ b.rgbRed, a.rgbGreen ^ b.rgbGreen, a.rgbBlue ^ b.rgbBlue);
    int mixedCount = 0, plainCount = 0, lastMixedColumn = -1;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb p = shown.pixel(x, y) | 0xFF000000u;
            if (p == mixed) {
                ++mixedCount;
                lastMixedColumn = std::max(lastMixedColumn, x);
            } else if (p == plain) {
                ++plainCount;
            }
        }
    // The 50 x 50 source thumbnail read from column 10 on covers 40 x 50.
    EXPECT_EQ(mixedCount, 40 * 50);
    EXPECT_EQ(plainCount, 200 * 100 - 40 * 50);
    EXPECT_EQ(lastMixedColumn, 39);
    Click(dlg, IDOK);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_x, 20);
}

TEST_F(DocumentDialogs, CombineListsEveryOpenDocumentWithItsPresets) {
    CKXViewDoc* first = OpenSolid("first.bmp", 8, 8, {1, 1, 1, 0});
    CKXViewDoc* second = OpenSolid("second.bmp", 8, 8, {2, 2, 2, 0});
    CKXViewDoc* third = OpenSolid("third.bmp", 8, 8, {3, 3, 3, 0});
    ASSERT_TRUE(first && second && third);
    CDialogCombine dlg;
    dlg.show();
    const QStringList titles = {"first.bmp", "second.bmp", "third.bmp"};
    for (int id : {IDC_CMB_SOURCE_RED, IDC_CMB_SOURCE_GREEN, IDC_CMB_SOURCE_BLUE}) {
        EXPECT_EQ(Entries(dlg.GetDlgItem<QComboBox>(id)), titles) << id;
        EXPECT_EQ(dlg.GetCurSel(id), 0);
    }
    EXPECT_EQ(Entries(dlg.GetDlgItem<QComboBox>(IDC_CMB_SOURCE_ALPHA)), QStringList{"(None)"} + titles);
    EXPECT_EQ(Entries(dlg.GetDlgItem<QComboBox>(IDC_CMB_PLANE_RED)),
              (QStringList{"Grau", "Rot", "Grün", "Blau"}));
    EXPECT_EQ(dlg.GetCurSel(IDC_CMB_PLANE_RED), 1);
    EXPECT_EQ(dlg.GetCurSel(IDC_CMB_PLANE_GREEN), 2);
    EXPECT_EQ(dlg.GetCurSel(IDC_CMB_PLANE_BLUE), 3);
    EXPECT_EQ(dlg.GetCurSel(IDC_CMB_PLANE_ALPHA), 0);
    EXPECT_EQ(Entries(dlg.GetDlgItem<QComboBox>(IDC_CMB_COLOUR_SPACE)),
              (QStringList{"RGB", "HSL", "YUV", "YIQ", "XYZ"}));
    EXPECT_EQ(dlg.GetCurSel(IDC_CMB_COLOUR_SPACE), 0);

    dlg.GetDlgItem<QComboBox>(IDC_CMB_SOURCE_GREEN)->setCurrentIndex(2);
    dlg.GetDlgItem<QComboBox>(IDC_CMB_SOURCE_ALPHA)->setCurrentIndex(2);
    dlg.GetDlgItem<QComboBox>(IDC_CMB_PLANE_BLUE)->setCurrentIndex(0);
    dlg.GetDlgItem<QComboBox>(IDC_CMB_COLOUR_SPACE)->setCurrentIndex(4);
    Click(dlg, IDOK);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_source1, first);
    EXPECT_EQ(dlg.m_source2, third);
    EXPECT_EQ(dlg.m_source3, first);
    EXPECT_EQ(dlg.m_alphaSource, second);
    EXPECT_EQ(dlg.m_plane3, 0);
    EXPECT_EQ(dlg.m_colourSpace, 4);

    CDialogCombine noAlpha;
    noAlpha.show();
    Click(noAlpha, IDOK);
    EXPECT_EQ(noAlpha.m_alphaSource, nullptr);
    EXPECT_EQ(noAlpha.m_plane1, 1);
}

TEST_F(DocumentDialogs, FftStaysOpenWithoutInputAndReturnsDirectionAndFlags) {
    CKXViewDoc* first = OpenSolid("first.bmp", 8, 8, {1, 1, 1, 0});
    CKXViewDoc* second = OpenSolid("second.bmp", 8, 8, {2, 2, 2, 0});
    ASSERT_TRUE(first && second);
    MessageBoxCatcher boxes;
    CDialogFFT dlg;
    dlg.show();
    for (int id : {IDC_FFT_REAL, IDC_FFT_IMAG}) {
        EXPECT_EQ(Entries(dlg.GetDlgItem<QComboBox>(id)), (QStringList{"(None)", "first.bmp", "second.bmp"}));
        EXPECT_EQ(dlg.GetCurSel(id), 0);
    }
    EXPECT_FALSE(dlg.IsDlgButtonChecked(IDC_FFT_INVERSE));
    EXPECT_FALSE(dlg.IsDlgButtonChecked(IDC_FFT_MAGNITUDE));
    EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_FFT_FORCE));
    Click(dlg, IDOK);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_TRUE(boxes.Take().isEmpty());

    dlg.GetDlgItem<QComboBox>(IDC_FFT_IMAG)->setCurrentIndex(2);
    Click(dlg, IDC_FFT_INVERSE);
    Click(dlg, IDC_FFT_MAGNITUDE);
    Click(dlg, IDOK);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_realSource, nullptr);
    EXPECT_EQ(dlg.m_imagSource, second);
    EXPECT_EQ(dlg.m_direction, -1);
    EXPECT_TRUE(dlg.m_magnitude);
    EXPECT_TRUE(dlg.m_force);
}

} // namespace
