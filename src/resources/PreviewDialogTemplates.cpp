#include "PreviewDialogTemplates.h"

#include <map>

#include <QtGlobal>

#include "Resource.h"

namespace resources {

namespace {

using K = DialogControlKind;

DialogTemplate MakeImageProcPage() {
    return {
        IDD_PAGE_IMAGEPROC,
        "",
        170,
        205,
        {{IDC_IP_CROP, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Crop"), 17, 12, 58, 14},
         {IDC_IP_RESAMPLE, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Resample..."), 99, 12, 65, 14},
         {IDC_IP_MIRROR, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Spiegeln"), 17, 34, 58, 14},
         {IDC_IP_FLIP, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Drehen"), 99, 34, 66, 14},
         {IDC_IP_ROTATE_LEFT, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Drehen links"), 17, 56, 58,
          14},
         {IDC_IP_ROTATE_RIGHT, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Drehen rechts"), 99, 56, 66,
          14},
         {IDC_IP_ROTATE, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Drehen..."), 17, 78, 58, 14},
         {IDC_IP_REPAIR, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Wiederherstellen..."), 99, 78, 66,
          14},
         {IDC_IP_SHARPEN, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Schärfen"), 17, 100, 58, 14},
         {IDC_IP_BLUR, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Verwischen"), 99, 100, 65, 14},
         {IDC_IP_LIGHT, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Beleuchtung"), 17, 122, 58, 14},
         {IDC_IP_CONTRAST, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Kontrast"), 99, 122, 64, 14},
         {IDC_IP_HEADING, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Fluorescence"), 0, 148, 169, 8,
          DS_DISABLED},
         {IDC_IP_GAMMA, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Gamma..."), 17, 161, 58, 14},
         {IDC_IP_COLORIZE, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Colorize..."), 99, 161, 58, 14},
         {IDC_IP_MIX, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Mix..."), 17, 184, 58, 14},
         {IDC_IP_COMBINE, K::PushButton, QT_TRANSLATE_NOOP("ImageProcPage", "Combine..."), 99, 184, 58, 14}}};
}

DialogTemplate MakeLightContrast() {
    return {
        IDD_LIGHT_CONTRAST,
        "",
        200,
        194,
        {{IDC_LC_DOCUMENT, K::ComboBox, "", 11, 7, 175, 60},
         {0, K::Static, QT_TRANSLATE_NOOP("LightContrastDialog", "Lighten value(-100~100):"), 44, 27, 96, 13},
         {IDC_LC_VALUE, K::Edit, "", 146, 25, 40, 14},
         {IDC_LC_SLIDER, K::Slider, "", 10, 43, 178, 8},
         {IDC_LC_PREVIEW, K::Picture, "", 15, 55, 15, 15},
         {IDOK, K::DefPushButton, QT_TRANSLATE_NOOP("LightContrastDialog", "OK"), 146, 152, 48, 15},
         {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("LightContrastDialog", "Abbrechen"), 146, 172, 48, 15}}};
}

DialogTemplate MakeColorize() {
    return {
        IDD_COLORIZE,
        QT_TRANSLATE_NOOP("ColorizeDialog", "Einfärben\n"),
        292,
        170,
        {{IDC_COL_HSL, K::RadioButton, QT_TRANSLATE_NOOP("ColorizeDialog", "HSL"), 10, 8, 60, 10, DS_GROUP},
         // One group: the radio buttons come together, whatever lies between them.
         {IDC_COL_RGB, K::RadioButton, QT_TRANSLATE_NOOP("ColorizeDialog", "RGB"), 10, 69, 60, 10},
         {0, K::Static, QT_TRANSLATE_NOOP("ColorizeDialog", "Farbton:[0~255]"), 20, 23, 72, 8},
         {IDC_COL_HUE, K::Edit, "", 95, 21, 40, 12},
         {0, K::Static, QT_TRANSLATE_NOOP("ColorizeDialog", "Sättigung:[0~255] "), 20, 38, 72, 8},
         {IDC_COL_SATURATION, K::Edit, "", 95, 36, 40, 12},
         {0, K::Static, QT_TRANSLATE_NOOP("ColorizeDialog", "Blend:[ % ]"), 20, 53, 72, 8},
         {IDC_COL_BLEND, K::Edit, "", 95, 51, 40, 12},
         {0, K::Static, QT_TRANSLATE_NOOP("ColorizeDialog", "Rot:[-255~255]"), 20, 84, 72, 8},
         {IDC_COL_RED, K::Edit, "", 95, 82, 40, 12},
         {0, K::Static, QT_TRANSLATE_NOOP("ColorizeDialog", "Grün:[-255~255]"), 20, 99, 72, 8},
         {IDC_COL_GREEN, K::Edit, "", 95, 97, 40, 12},
         {0, K::Static, QT_TRANSLATE_NOOP("ColorizeDialog", "Blue:[-255~255]"), 20, 114, 72, 8},
         {IDC_COL_BLUE, K::Edit, "", 95, 112, 40, 12},
         {IDC_CHOOSE_COLOUR, K::PushButton, QT_TRANSLATE_NOOP("ColorizeDialog", "Farben..."), 20, 131, 60,
          14},
         {IDOK, K::DefPushButton, QT_TRANSLATE_NOOP("ColorizeDialog", "OK"), 10, 151, 60, 14},
         {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("ColorizeDialog", "Abbrechen"), 75, 151, 60, 14},
         {IDC_COL_DOCUMENT, K::ComboBox, "", 148, 8, 136, 60},
         {IDC_COL_PREVIEW, K::Picture, "", 148, 25, 136, 136}}};
}

DialogTemplate MakeGamma() {
    return {IDD_GAMMA,
            QT_TRANSLATE_NOOP("GammaDialog", "Gamma"),
            240,
            168,
            {{IDC_GAM_DOCUMENT, K::ComboBox, "", 10, 8, 150, 60},
             {0, K::Static, QT_TRANSLATE_NOOP("GammaDialog", "Korrektur"), 10, 26, 42, 8},
             {IDC_GAM_VALUE, K::Edit, "", 55, 24, 50, 12},
             {IDC_GAM_SLIDER, K::Slider, "", 10, 42, 150, 8},
             {IDC_GAM_PREVIEW, K::Picture, "", 10, 56, 150, 105},
             {IDOK, K::DefPushButton, QT_TRANSLATE_NOOP("GammaDialog", "OK"), 172, 8, 60, 14},
             {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("GammaDialog", "Abbrechen"), 172, 26, 60, 14}}};
}

DialogTemplate MakeCombine() {
    return {IDD_COMBINE,
            QT_TRANSLATE_NOOP("CombineDialog", "Combine"),
            286,
            142,
            {{0, K::Static, QT_TRANSLATE_NOOP("CombineDialog", "Rot / H /  Y /  X channel source:"), 8, 8,
              150, 8},
             {IDC_CMB_SOURCE_RED, K::ComboBox, "", 8, 18, 150, 80},
             {IDC_CMB_PLANE_RED, K::ComboBox, "", 164, 18, 60, 60},
             {0, K::Static, QT_TRANSLATE_NOOP("CombineDialog", "Grün/ S / U /  I /  Y channel source:"), 8,
              36, 150, 8},
             {IDC_CMB_SOURCE_GREEN, K::ComboBox, "", 8, 46, 150, 80},
             {IDC_CMB_PLANE_GREEN, K::ComboBox, "", 164, 46, 60, 60},
             {0, K::Static, QT_TRANSLATE_NOOP("CombineDialog", "Blau/ L /  V / Q /  Z channel source:"), 8,
              64, 150, 8},
             {IDC_CMB_SOURCE_BLUE, K::ComboBox, "", 8, 74, 150, 80},
             {IDC_CMB_PLANE_BLUE, K::ComboBox, "", 164, 74, 60, 60},
             {0, K::Static, QT_TRANSLATE_NOOP("CombineDialog", "Alphakanal Quelle"), 8, 92, 150, 8},
             {IDC_CMB_SOURCE_ALPHA, K::ComboBox, "", 8, 102, 150, 80},
             {IDC_CMB_PLANE_ALPHA, K::ComboBox, "", 164, 102, 60, 60},
             {0, K::Static, QT_TRANSLATE_NOOP("CombineDialog", "Farbraum"), 8, 124, 40, 8},
             {IDC_CMB_COLOUR_SPACE, K::ComboBox, "", 50, 122, 60, 80},
             {IDOK, K::DefPushButton, QT_TRANSLATE_NOOP("CombineDialog", "OK"), 232, 8, 48, 14},
             {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("CombineDialog", "Abbrechen"), 232, 26, 48, 14}}};
}

DialogTemplate MakeFFT() {
    return {
        IDD_FFT,
        QT_TRANSLATE_NOOP("FFTDialog", "FFT"),
        222,
        92,
        {{0, K::Static, QT_TRANSLATE_NOOP("FFTDialog", "Real"), 8, 10, 30, 8},
         {IDC_FFT_REAL, K::ComboBox, "", 40, 8, 120, 80},
         {0, K::Static, QT_TRANSLATE_NOOP("FFTDialog", "Bild"), 8, 28, 30, 8},
         {IDC_FFT_IMAG, K::ComboBox, "", 40, 26, 120, 80},
         {IDC_FFT_INVERSE, K::CheckBox, QT_TRANSLATE_NOOP("FFTDialog", "Umkehr"), 8, 46, 100, 10},
         {IDC_FFT_MAGNITUDE, K::CheckBox, QT_TRANSLATE_NOOP("FFTDialog", "Wert berechnen"), 8, 60, 100, 10},
         {IDC_FFT_FORCE, K::CheckBox, QT_TRANSLATE_NOOP("FFTDialog", "Force FFT"), 8, 74, 100, 10},
         {IDOK, K::DefPushButton, QT_TRANSLATE_NOOP("FFTDialog", "OK"), 168, 8, 48, 14},
         {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("FFTDialog", "Abbrechen"), 168, 26, 48, 14}}};
}

DialogTemplate MakeText() {
    return {
        IDD_TEXT,
        QT_TRANSLATE_NOOP("TextDialog", "Place text to image"),
        300,
        198,
        {{0, K::Static, QT_TRANSLATE_NOOP("TextDialog", "Text platzieren"), 8, 6, 100, 8},
         {IDC_TXT_TEXT, K::Edit, "", 8, 16, 200, 80, DS_MULTILINE},
         {IDC_CHOOSE_FONT, K::PushButton, QT_TRANSLATE_NOOP("TextDialog", "Zeichensatz"), 216, 16, 76, 14},
         {IDC_TXT_TEXT_COLOUR, K::PushButton, QT_TRANSLATE_NOOP("TextDialog", "Farbe"), 216, 34, 76, 14},
         {IDC_TXT_BACKGROUND, K::CheckBox, QT_TRANSLATE_NOOP("TextDialog", "Text hat Hintergrund"), 8, 106,
          100, 10},
         {IDC_TXT_BACK_COLOUR, K::PushButton, QT_TRANSLATE_NOOP("TextDialog", "Farbe"), 120, 104, 60, 14},
         {0, K::Static, QT_TRANSLATE_NOOP("TextDialog", "Opacity:"), 8, 126, 40, 8},
         {IDC_TXT_OPACITY, K::Slider, "", 50, 123, 124, 14},
         {IDC_TXT_OPACITY_LABEL, K::Static, "", 178, 126, 30, 8},
         {0, K::Static, QT_TRANSLATE_NOOP("TextDialog", "Radius"), 8, 146, 40, 8},
         {IDC_TXT_RADIUS, K::Slider, "", 50, 143, 124, 14},
         {IDC_TXT_RADIUS_LABEL, K::Static, "", 178, 146, 30, 8},
         {0, K::GroupBox, QT_TRANSLATE_NOOP("TextDialog", "der Abgleich"), 216, 56, 76, 56},
         {IDC_TXT_CENTRE, K::RadioButton, QT_TRANSLATE_NOOP("TextDialog", "Zentriert"), 222, 68, 66, 10,
          DS_GROUP},
         {IDC_TXT_RIGHT, K::RadioButton, QT_TRANSLATE_NOOP("TextDialog", "nach rechts"), 222, 82, 66, 10},
         {IDC_TXT_LEFT, K::RadioButton, QT_TRANSLATE_NOOP("TextDialog", "nach links"), 222, 96, 66, 10},
         {IDOK, K::DefPushButton, QT_TRANSLATE_NOOP("TextDialog", "OK"), 216, 158, 76, 14},
         {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("TextDialog", "Abbrechen"), 216, 176, 76, 14}}};
}

DialogTemplate MakeMix() {
    return {
        IDD_MIX,
        QT_TRANSLATE_NOOP("MixDialog", "Mix"),
        300,
        176,
        {{0, K::Static, QT_TRANSLATE_NOOP("MixDialog", "Dst:"), 8, 10, 34, 8},
         {IDC_MIX_DESTINATION, K::ComboBox, "", 44, 8, 116, 80},
         {0, K::Static, QT_TRANSLATE_NOOP("MixDialog", "Ursprung"), 8, 28, 34, 8},
         {IDC_MIX_SOURCE, K::ComboBox, "", 44, 26, 116, 80},
         {0, K::Static, QT_TRANSLATE_NOOP("MixDialog", "OpType :"), 8, 46, 34, 8},
         {IDC_MIX_OPERATION, K::ComboBox, "", 44, 44, 116, 120},
         {0, K::GroupBox, QT_TRANSLATE_NOOP("MixDialog", "Einstellungen Quelle"), 8, 62, 152, 58},
         {0, K::Static, QT_TRANSLATE_NOOP("MixDialog", "X Offset :"), 16, 77, 40, 8},
         {IDC_MIX_X, K::Edit, "", 60, 75, 40, 12},
         {0, K::Static, QT_TRANSLATE_NOOP("MixDialog", "Y Offset:"), 16, 93, 40, 8},
         {IDC_MIX_Y, K::Edit, "", 60, 91, 40, 12},
         {IDC_MIX_ALPHA, K::CheckBox, QT_TRANSLATE_NOOP("MixDialog", "Mix alpha channel"), 16, 106, 100, 10},
         {IDC_MIX_PREVIEW_BUTTON, K::PushButton, QT_TRANSLATE_NOOP("MixDialog", "Erw. Vorschau"), 8, 126, 70,
          14},
         {IDOK, K::DefPushButton, QT_TRANSLATE_NOOP("MixDialog", "OK"), 8, 156, 60, 14},
         {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("MixDialog", "Abbrechen"), 74, 156, 60, 14},
         {IDC_MIX_PREVIEW, K::Picture, "", 168, 8, 124, 160}}};
}

DialogTemplate MakeOptions() {
    return {
        IDD_OPTIONS,
        QT_TRANSLATE_NOOP("OptionsDialog", "Optionen"),
        310,
        194,
        {{0, K::Static, QT_TRANSLATE_NOOP("OptionsDialog", "JPEG quality[0...100]"), 8, 9, 90, 8},
         {IDC_OPT_QUALITY, K::Edit, "", 100, 7, 44, 12},
         {0, K::Static, QT_TRANSLATE_NOOP("OptionsDialog", "X Auflösung [DPI]"), 8, 25, 90, 8},
         {IDC_OPT_XDPI, K::Edit, "", 100, 23, 44, 12},
         {0, K::Static, QT_TRANSLATE_NOOP("OptionsDialog", "Y Auflösung [DPI]"), 8, 41, 90, 8},
         {IDC_OPT_YDPI, K::Edit, "", 100, 39, 44, 12},
         {0, K::GroupBox, QT_TRANSLATE_NOOP("OptionsDialog", "TIFF Kompression"), 8, 58, 140, 106},
         {IDC_OPT_TIF_AUTO, K::RadioButton, QT_TRANSLATE_NOOP("OptionsDialog", "Grundeinstellung : auto"), 16,
          70, 128, 10, DS_GROUP},
         {IDC_OPT_TIF_NONE, K::RadioButton, QT_TRANSLATE_NOOP("OptionsDialog", "none"), 16, 83, 128, 10},
         {IDC_OPT_TIF_RLE, K::RadioButton, QT_TRANSLATE_NOOP("OptionsDialog", "RLE"), 16, 96, 128, 10},
         {IDC_OPT_TIF_FAX, K::RadioButton, QT_TRANSLATE_NOOP("OptionsDialog", "Fax"), 16, 109, 128, 10},
         {IDC_OPT_TIF_PACKBITS, K::RadioButton, QT_TRANSLATE_NOOP("OptionsDialog", "Packbits"), 16, 122, 128,
          10},
         {IDC_OPT_TIF_JPEG, K::RadioButton, QT_TRANSLATE_NOOP("OptionsDialog", "Jpeg"), 16, 135, 128, 10},
         {IDC_OPT_TIF_LZW, K::RadioButton, QT_TRANSLATE_NOOP("OptionsDialog", "LZW"), 16, 148, 128, 10},
         {0, K::GroupBox, QT_TRANSLATE_NOOP("OptionsDialog", "GIF Kompression"), 156, 4, 146, 50},
         {IDC_OPT_GIF_LZW, K::RadioButton, QT_TRANSLATE_NOOP("OptionsDialog", "Grundeinstellung : LZW"), 164,
          16, 134, 10, DS_GROUP},
         {IDC_OPT_GIF_NONE, K::RadioButton, QT_TRANSLATE_NOOP("OptionsDialog", "Kein"), 164, 28, 134, 10},
         {IDC_OPT_GIF_RLE, K::RadioButton, QT_TRANSLATE_NOOP("OptionsDialog", "RLE"), 164, 40, 134, 10},
         {0, K::GroupBox, QT_TRANSLATE_NOOP("OptionsDialog", "PNG"), 156, 58, 146, 40},
         {IDC_OPT_PNG_PLAIN, K::RadioButton,
          QT_TRANSLATE_NOOP("OptionsDialog", "Grundeinstellung:not interlaced"), 164, 70, 134, 10, DS_GROUP},
         {IDC_OPT_PNG_INTERLACED, K::RadioButton, QT_TRANSLATE_NOOP("OptionsDialog", "interlaced"), 164, 83,
          134, 10},
         {0, K::GroupBox, QT_TRANSLATE_NOOP("OptionsDialog", "JPEG"), 156, 102, 146, 62},
         {IDC_OPT_JPG_BASELINE, K::RadioButton,
          QT_TRANSLATE_NOOP("OptionsDialog", "Grundeinstellung : baseline"), 164, 114, 134, 10, DS_GROUP},
         {IDC_OPT_JPG_PROGRESSIVE, K::RadioButton, QT_TRANSLATE_NOOP("OptionsDialog", "progressive"), 164,
          127, 134, 10},
         {IDC_OPT_JPG_OPTIMISE, K::CheckBox, QT_TRANSLATE_NOOP("OptionsDialog", "Optimieren"), 164, 146, 134,
          10, DS_GROUP},
         {IDOK, K::DefPushButton, QT_TRANSLATE_NOOP("OptionsDialog", "OK"), 8, 172, 64, 16},
         {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("OptionsDialog", "Abbrechen"), 78, 172, 64, 16},
         {IDC_SHOW_EXIF, K::PushButton, QT_TRANSLATE_NOOP("OptionsDialog", "Beenden"), 148, 172, 64, 16}}};
}

} // namespace

const MarkedDialog* PreviewDialog(int id) {
    static const std::map<int, MarkedDialog> dialogs = {
        {IDD_PAGE_IMAGEPROC, {"ImageProcPage", MakeImageProcPage()}},
        {IDD_LIGHT_CONTRAST, {"LightContrastDialog", MakeLightContrast()}},
        {IDD_COLORIZE, {"ColorizeDialog", MakeColorize()}},
        {IDD_GAMMA, {"GammaDialog", MakeGamma()}},
        {IDD_COMBINE, {"CombineDialog", MakeCombine()}},
        {IDD_FFT, {"FFTDialog", MakeFFT()}},
        {IDD_TEXT, {"TextDialog", MakeText()}},
        {IDD_MIX, {"MixDialog", MakeMix()}},
        {IDD_OPTIONS, {"OptionsDialog", MakeOptions()}},
    };
    auto it = dialogs.find(id);
    return it == dialogs.end() ? nullptr : &it->second;
}

} // namespace resources
