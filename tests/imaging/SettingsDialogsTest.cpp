// The settings dialogs: the image options with the codec option words and
// the EXIF summary, and the text dialog editing the text tool's record.
#include <cstring>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

#include "DialogOptions.h"
#include "DialogText.h"
#include "IconButton.h"
#include "MessageBoxCatcher.h"
#include "Resource.h"
#include "codecs/ExifReader.h"

namespace {

void Click(CTemplateDialog& dlg, int id) {
    dlg.GetDlgItem<QAbstractButton>(id)->click();
}

struct OptionsCase {
    uint32_t tiff, gif, png, jpeg;
    int tiffRadio, gifRadio, pngRadio, jpegRadio;
    bool optimise;
    uint32_t tiffBack, gifBack, jpegBack;
};

TEST(DialogOptions, CodecOptionWordsSelectTheirButtonsAndComeBack) {
    const OptionsCase cases[] = {
        // TIFF 3 shows as "Fax" and comes back as 4; unknown words fall back to the defaults.
        {3, 7, 1, 24, IDC_OPT_TIF_FAX, IDC_OPT_GIF_LZW, IDC_OPT_PNG_INTERLACED, IDC_OPT_JPG_PROGRESSIVE, true,
         4, 0, 24},
        {32773, 2, 0, 8, IDC_OPT_TIF_PACKBITS, IDC_OPT_GIF_RLE, IDC_OPT_PNG_PLAIN, IDC_OPT_JPG_BASELINE, true,
         32773, 2, 8},
        {99, 1, 5, 16, IDC_OPT_TIF_AUTO, IDC_OPT_GIF_NONE, IDC_OPT_PNG_PLAIN, IDC_OPT_JPG_PROGRESSIVE, false,
         0, 1, 16},
        {5, 0, 0, 0, IDC_OPT_TIF_LZW, IDC_OPT_GIF_LZW, IDC_OPT_PNG_PLAIN, IDC_OPT_JPG_BASELINE, false, 5, 0,
         0},
    };
    for (const OptionsCase& c : cases) {
        CDialogOptions dlg;
        dlg.m_quality = 75;
        dlg.m_xDpi = 300;
        dlg.m_yDpi = 150;
        dlg.m_tiffOption = c.tiff;
        dlg.m_gifOption = c.gif;
        dlg.m_pngOption = c.png;
        dlg.m_jpegOption = c.jpeg;
        dlg.show();
        EXPECT_TRUE(dlg.IsDlgButtonChecked(c.tiffRadio)) << c.tiff;
        EXPECT_TRUE(dlg.IsDlgButtonChecked(c.gifRadio)) << c.gif;
        EXPECT_TRUE(dlg.IsDlgButtonChecked(c.pngRadio)) << c.png;
        EXPECT_TRUE(dlg.IsDlgButtonChecked(c.jpegRadio)) << c.jpeg;
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_OPT_JPG_OPTIMISE), c.optimise) << c.jpeg;
        EXPECT_EQ(dlg.GetDlgItemText(IDC_OPT_QUALITY), QStringLiteral("75"));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_OPT_YDPI), QStringLiteral("150"));
        Click(dlg, IDOK);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.m_tiffOption, c.tiffBack);
        EXPECT_EQ(dlg.m_gifOption, c.gifBack);
        EXPECT_EQ(dlg.m_pngOption, c.png == 1 ? 1u : 0u);
        EXPECT_EQ(dlg.m_jpegOption, c.jpegBack);
    }

    // Changed by the user: RLE, interlaced, progressive without optimising, new values.
    CDialogOptions dlg;
    dlg.show();
    Click(dlg, IDC_OPT_TIF_JPEG);
    Click(dlg, IDC_OPT_PNG_INTERLACED);
    Click(dlg, IDC_OPT_JPG_PROGRESSIVE);
    Click(dlg, IDC_OPT_JPG_OPTIMISE);
    dlg.SetDlgItemText(IDC_OPT_QUALITY, QStringLiteral("255"));
    dlg.SetDlgItemText(IDC_OPT_XDPI, QStringLiteral("0"));
    dlg.SetDlgItemText(IDC_OPT_YDPI, QStringLiteral("10000"));
    Click(dlg, IDOK);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_tiffOption, 7u);
    EXPECT_EQ(dlg.m_pngOption, 1u);
    EXPECT_EQ(dlg.m_jpegOption, 24u);
    EXPECT_EQ(dlg.m_quality, 255);
    EXPECT_EQ(dlg.m_xDpi, 0);
    EXPECT_EQ(dlg.m_yDpi, 10000u);
}

TEST(DialogOptions, ValuesOutsideTheirChecksKeepTheDialogOpen) {
    const std::pair<int, const char*> bad[] = {
        {IDC_OPT_QUALITY, "0"}, {IDC_OPT_QUALITY, "256"}, {IDC_OPT_XDPI, "10001"}, {IDC_OPT_YDPI, "-1"}};
    for (const auto& [id, text] : bad) {
        MessageBoxCatcher boxes;
        CDialogOptions dlg;
        dlg.m_tiffOption = 3;
        dlg.show();
        dlg.SetDlgItemText(id, QString::fromLatin1(text));
        Click(dlg, IDOK); // the message is shown and answered within the click
        EXPECT_TRUE(dlg.isVisible()) << id << text;
        EXPECT_EQ(dlg.result(), 0) << id << text;
        EXPECT_EQ(boxes.Take().size(), 1) << id << text;
        EXPECT_EQ(dlg.m_tiffOption, 3u); // nothing stored
    }
}

vimg::ExifInfo FullRecord() {
    vimg::ExifInfo e{};
    std::strcpy(e.cameraMake, "Canon");
    std::strcpy(e.cameraModel, "EOS 5D");
    std::strcpy(e.dateTime, "2024:05:06 07:08:09");
    std::memcpy(e.version, "0230", 4);
    e.width = 4368;
    e.height = 2912;
    e.xResolution = 144;
    e.yResolution = 72;
    e.resolutionUnit = 2;
    e.orientation = 6;
    e.isColor = 1;
    e.flashUsed = 1;
    e.focalLength = 50;
    e.ccdWidth = 24;
    e.exposureTime = 0.004f;
    e.brightness = 2.5f;
    e.apertureFNumber = 5.6f;
    e.distance = -1;
    e.isoEquivalent = 100;
    e.exposureBias = -0.33f;
    e.whiteBalance = 5;
    e.meteringMode = 5;
    e.exposureProgram = 2;
    e.compressionLevel = 4;
    e.process = 0xC2;
    std::strcpy(e.comments, "first\nsecond");
    e.isExif = 1;
    return e;
}

TEST(DialogOptions, ExifSummaryHasEveryLineInOrder) {
    EXPECT_EQ(CDialogOptions::ExifSummary(FullRecord()),
              QStringLiteral("Camera make  : Canon\n"
                             "Camera model : EOS 5D\n"
                             "Date/Time    : 2024:05:06 07:08:09\n"
                             "Exif version : 0230\n"
                             "Width x Height   : 4368 x 2912\n"
                             "X resolution (dpi) :  72.0\n"
                             "Y resolution (dpi) :  36.0\n"
                             "Orientation  : rotate 90\n"
                             "Flash used   : Yes\n"
                             "Focal length : 50.0mm  (35mm equivalent: 75mm)\n"
                             "CCD width    : 24.00mm\n"
                             "Exposure time: 0.004 s  (1/250)\n"
                             "Brightness :  2.500\n"
                             "Aperture     : f/5.6\n"
                             "Focus dist.  : Infinite\n"
                             "ISO equiv.   : 100\n"
                             "Exposure bias:-0.33\n"
                             "Whitebalance : cloudy\n"
                             "Metering Mode: matrix\n"
                             "Exposure     : program (auto)\n"
                             "Jpeg Quality : fine\n"
                             "Encoding      : Progressive\n"
                             "Comment      : first\n"
                             "Comment      : second\n"));

    // A sparse record: only the lines that are always there and those it has.
    vimg::ExifInfo e{};
    e.width = 640;
    e.height = 480;
    e.flashUsed = -1;
    e.exposureTime = 2.0f;
    e.distance = 1.5f;
    e.whiteBalance = 2;
    e.process = 0xC4; // not a frame marker
    std::strcpy(e.cameraModel, "no make: not shown");
    e.xResolution = 72; // no unit: no resolution lines
    EXPECT_EQ(CDialogOptions::ExifSummary(e), QStringLiteral("Width x Height   : 640 x 480\n"
                                                             "Color/bw     : Black and white\n"
                                                             "Exposure time: 2.000 s \n"
                                                             "Focus dist.  : 1.50m\n"
                                                             "Whitebalance : fluorescent\n"
                                                             "Encoding      : Unknown\n"
                                                             "\n"));
    // Numbers from a damaged file: the fractions saturate instead of overflowing.
    e = vimg::ExifInfo{};
    e.flashUsed = -1;
    e.exposureTime = 1e-30f;
    e.focalLength = 5;
    e.ccdWidth = 1e-38f;
    const QString lines = CDialogOptions::ExifSummary(e);
    EXPECT_TRUE(lines.contains(QStringLiteral("Exposure time: 0.000 s  (1/2147483647)\n")))
        << lines.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("(35mm equivalent: 2147483647mm)\n"))) << lines.toStdString();
}

TEST(DialogOptions, IconButtonsAndTheSummaryButtonOnlyWithExif) {
    {
        CDialogOptions dlg;
        dlg.show();
        EXPECT_EQ(dlg.GetDlgItem<CIconButton>(IDOK)->IconId(), 155);
        EXPECT_EQ(dlg.GetDlgItem<CIconButton>(IDCANCEL)->IconId(), 154);
        EXPECT_EQ(dlg.GetDlgItem<CIconButton>(IDC_SHOW_EXIF)->IconId(), 156);
        EXPECT_FALSE(dlg.GetDlgItem(IDC_SHOW_EXIF)->isEnabled());
    }
    vimg::ExifInfo notExif = FullRecord();
    notExif.isExif = 0;
    {
        CDialogOptions dlg(&notExif);
        dlg.show();
        EXPECT_FALSE(dlg.GetDlgItem(IDC_SHOW_EXIF)->isEnabled());
    }
    const vimg::ExifInfo exif = FullRecord();
    MessageBoxCatcher boxes;
    CDialogOptions dlg(&exif);
    dlg.show();
    ASSERT_TRUE(dlg.GetDlgItem(IDC_SHOW_EXIF)->isEnabled());
    Click(dlg, IDC_SHOW_EXIF);
    EXPECT_EQ(boxes.Take(), QStringList{CDialogOptions::ExifSummary(exif)});
    EXPECT_TRUE(dlg.isVisible());
}

// Answers the choosers with fixed values.
class ProbeText : public CDialogText {
public:
    QColor colour;
    QFont font;

protected:
    std::optional<QColor> ChooseColour(const QColor&) override { return colour; }
    std::optional<QFont> ChooseFont(const QFont&) override { return font; }
};

TEST(DialogText, EditsEveryFieldOfTheRecord) {
    ProbeText dlg;
    vimg::TextInfo& info = dlg.m_info;
    std::strcpy(info.text, "Hallo\nWelt");
    info.align = 0;
    info.opaque = 0;
    info.backOpacity = 0.25f;
    info.backRound = 20;
    info.textColor = vimg::RGB(200, 10, 20);
    dlg.show();
    auto* edit = dlg.GetDlgItem<QPlainTextEdit>(IDC_TXT_TEXT);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("Hallo\nWelt"));
    EXPECT_EQ(edit->textCursor().selectedText().size(), 10);
    EXPECT_EQ(edit->font().pixelSize(), 36);
    EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(200, 10, 20));
    EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_TXT_RIGHT)); // alignment 0 is "nach rechts"
    auto* opacity = dlg.GetDlgItem<QSlider>(IDC_TXT_OPACITY);
    auto* radius = dlg.GetDlgItem<QSlider>(IDC_TXT_RADIUS);
    EXPECT_EQ(opacity->maximum(), 100);
    EXPECT_EQ(opacity->tickInterval(), 5);
    EXPECT_EQ(opacity->singleStep(), 10);
    EXPECT_EQ(opacity->pageStep(), 20);
    EXPECT_EQ(radius->maximum(), 50);
    EXPECT_EQ(radius->singleStep(), 5);
    EXPECT_EQ(radius->pageStep(), 10);
    EXPECT_EQ(opacity->value(), 25);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_TXT_OPACITY_LABEL), QStringLiteral("25%"));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_TXT_RADIUS_LABEL), QStringLiteral("20%"));

    // Without a background the box's controls are still enabled until the box is clicked.
    EXPECT_FALSE(dlg.IsDlgButtonChecked(IDC_TXT_BACKGROUND));
    EXPECT_TRUE(radius->isEnabled());
    Click(dlg, IDC_TXT_BACKGROUND);
    Click(dlg, IDC_TXT_BACKGROUND);
    for (int id :
         {IDC_TXT_BACK_COLOUR, IDC_TXT_OPACITY, IDC_TXT_RADIUS, IDC_TXT_OPACITY_LABEL, IDC_TXT_RADIUS_LABEL})
        EXPECT_FALSE(dlg.GetDlgItem(id)->isEnabled()) << id;
    Click(dlg, IDC_TXT_BACKGROUND);
    EXPECT_TRUE(opacity->isEnabled());

    opacity->setValue(60);
    radius->setValue(35);
    EXPECT_FLOAT_EQ(info.backOpacity, 0.6f);
    EXPECT_EQ(info.backRound, 35);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_TXT_OPACITY_LABEL), QStringLiteral("60%"));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_TXT_RADIUS_LABEL), QStringLiteral("35%"));
    Click(dlg, IDC_TXT_CENTRE);
    EXPECT_EQ(info.align, 1);
    Click(dlg, IDC_TXT_LEFT);
    EXPECT_EQ(info.align, 2);

    dlg.colour = QColor(1, 2, 3);
    Click(dlg, IDC_TXT_BACK_COLOUR);
    EXPECT_EQ(info.backColor, vimg::RGB(1, 2, 3));
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(1, 2, 3));
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPixelSize(20);
    chosen.setBold(true);
    chosen.setItalic(true);
    dlg.font = chosen;
    Click(dlg, IDC_CHOOSE_FONT);
    EXPECT_STREQ(info.font.lfFaceName, "DejaVu Serif");
    EXPECT_EQ(info.font.lfHeight, -20);
    EXPECT_EQ(info.font.lfWeight, 700);
    EXPECT_EQ(info.font.lfItalic, 1);
    EXPECT_EQ(info.font.lfCharSet, 238); // kept
    EXPECT_EQ(edit->font().pixelSize(), 20);

    // The text in the font's code page (238: windows-1250), cut to 4095 bytes.
    edit->setPlainText(QStringLiteral("Grüße"));
    Click(dlg, IDOK);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_STREQ(info.text, "Gr\xFC\xDF"
                            "e");
    EXPECT_EQ(info.opaque, 1);

    ProbeText longText;
    longText.show();
    longText.GetDlgItem<QPlainTextEdit>(IDC_TXT_TEXT)->setPlainText(QString(5000, u'x'));
    Click(longText, IDOK);
    EXPECT_EQ(std::strlen(longText.m_info.text), 4095u);
}

} // namespace
