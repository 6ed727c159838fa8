#include "PreviewDialogTemplates.h"

#include "Resource.h"

namespace resources {

namespace {

using K = DialogControlKind;

DialogTemplate MakeImageProcPage() {
    return {IDD_PAGE_IMAGEPROC,
            "",
            170,
            205,
            {{IDC_IP_CROP, K::PushButton, "Crop", 17, 12, 58, 14},
             {IDC_IP_RESAMPLE, K::PushButton, "Resample...", 99, 12, 65, 14},
             {IDC_IP_MIRROR, K::PushButton, "Spiegeln", 17, 34, 58, 14},
             {IDC_IP_FLIP, K::PushButton, "Drehen", 99, 34, 66, 14},
             {IDC_IP_ROTATE_LEFT, K::PushButton, "Drehen links", 17, 56, 58, 14},
             {IDC_IP_ROTATE_RIGHT, K::PushButton, "Drehen rechts", 99, 56, 66, 14},
             {IDC_IP_ROTATE, K::PushButton, "Drehen...", 17, 78, 58, 14},
             {IDC_IP_REPAIR, K::PushButton, "Wiederherstellen...", 99, 78, 66, 14},
             {IDC_IP_SHARPEN, K::PushButton, "Schärfen", 17, 100, 58, 14},
             {IDC_IP_BLUR, K::PushButton, "Verwischen", 99, 100, 65, 14},
             {IDC_IP_LIGHT, K::PushButton, "Beleuchtung", 17, 122, 58, 14},
             {IDC_IP_CONTRAST, K::PushButton, "Kontrast", 99, 122, 64, 14},
             {IDC_IP_HEADING, K::PushButton, "Fluorescence", 0, 148, 169, 8, DS_DISABLED},
             {IDC_IP_GAMMA, K::PushButton, "Gamma...", 17, 161, 58, 14},
             {IDC_IP_COLORIZE, K::PushButton, "Colorize...", 99, 161, 58, 14},
             {IDC_IP_MIX, K::PushButton, "Mix...", 17, 184, 58, 14},
             {IDC_IP_COMBINE, K::PushButton, "Combine...", 99, 184, 58, 14}}};
}

DialogTemplate MakeLightContrast() {
    return {IDD_LIGHT_CONTRAST,
            "",
            200,
            194,
            {{IDC_LC_DOCUMENT, K::ComboBox, "", 11, 7, 175, 60},
             {0, K::Static, "Lighten value(-100~100):", 44, 27, 96, 13},
             {IDC_LC_VALUE, K::Edit, "", 146, 25, 40, 14},
             {IDC_LC_SLIDER, K::Slider, "", 10, 43, 178, 8},
             {IDC_LC_PREVIEW, K::Picture, "", 15, 55, 15, 15},
             {IDOK, K::DefPushButton, "OK", 146, 152, 48, 15},
             {IDCANCEL, K::PushButton, "Abbrechen", 146, 172, 48, 15}}};
}

DialogTemplate MakeColorize() {
    return {IDD_COLORIZE,
            "Einfärben\n",
            292,
            170,
            {{IDC_COL_HSL, K::RadioButton, "HSL", 10, 8, 60, 10, DS_GROUP},
             // One group: the radio buttons come together, whatever lies between them.
             {IDC_COL_RGB, K::RadioButton, "RGB", 10, 69, 60, 10},
             {0, K::Static, "Farbton:[0~255]", 20, 23, 72, 8},
             {IDC_COL_HUE, K::Edit, "", 95, 21, 40, 12},
             {0, K::Static, "Sättigung:[0~255] ", 20, 38, 72, 8},
             {IDC_COL_SATURATION, K::Edit, "", 95, 36, 40, 12},
             {0, K::Static, "Blend:[ % ]", 20, 53, 72, 8},
             {IDC_COL_BLEND, K::Edit, "", 95, 51, 40, 12},
             {0, K::Static, "Rot:[-255~255]", 20, 84, 72, 8},
             {IDC_COL_RED, K::Edit, "", 95, 82, 40, 12},
             {0, K::Static, "Grün:[-255~255]", 20, 99, 72, 8},
             {IDC_COL_GREEN, K::Edit, "", 95, 97, 40, 12},
             {0, K::Static, "Blue:[-255~255]", 20, 114, 72, 8},
             {IDC_COL_BLUE, K::Edit, "", 95, 112, 40, 12},
             {IDC_CHOOSE_COLOUR, K::PushButton, "Farben...", 20, 131, 60, 14},
             {IDOK, K::DefPushButton, "OK", 10, 151, 60, 14},
             {IDCANCEL, K::PushButton, "Abbrechen", 75, 151, 60, 14},
             {IDC_COL_DOCUMENT, K::ComboBox, "", 148, 8, 136, 60},
             {IDC_COL_PREVIEW, K::Picture, "", 148, 25, 136, 136}}};
}

DialogTemplate MakeGamma() {
    return {IDD_GAMMA,
            "Gamma",
            240,
            168,
            {{IDC_GAM_DOCUMENT, K::ComboBox, "", 10, 8, 150, 60},
             {0, K::Static, "Korrektur", 10, 26, 42, 8},
             {IDC_GAM_VALUE, K::Edit, "", 55, 24, 50, 12},
             {IDC_GAM_SLIDER, K::Slider, "", 10, 42, 150, 8},
             {IDC_GAM_PREVIEW, K::Picture, "", 10, 56, 150, 105},
             {IDOK, K::DefPushButton, "OK", 172, 8, 60, 14},
             {IDCANCEL, K::PushButton, "Abbrechen", 172, 26, 60, 14}}};
}

DialogTemplate MakeCombine() {
    return {IDD_COMBINE,
            "Combine",
            286,
            142,
            {{0, K::Static, "Rot / H /  Y /  X channel source:", 8, 8, 150, 8},
             {IDC_CMB_SOURCE_RED, K::ComboBox, "", 8, 18, 150, 80},
             {IDC_CMB_PLANE_RED, K::ComboBox, "", 164, 18, 60, 60},
             {0, K::Static, "Grün/ S / U /  I /  Y channel source:", 8, 36, 150, 8},
             {IDC_CMB_SOURCE_GREEN, K::ComboBox, "", 8, 46, 150, 80},
             {IDC_CMB_PLANE_GREEN, K::ComboBox, "", 164, 46, 60, 60},
             {0, K::Static, "Blau/ L /  V / Q /  Z channel source:", 8, 64, 150, 8},
             {IDC_CMB_SOURCE_BLUE, K::ComboBox, "", 8, 74, 150, 80},
             {IDC_CMB_PLANE_BLUE, K::ComboBox, "", 164, 74, 60, 60},
             {0, K::Static, "Alphakanal Quelle", 8, 92, 150, 8},
             {IDC_CMB_SOURCE_ALPHA, K::ComboBox, "", 8, 102, 150, 80},
             {IDC_CMB_PLANE_ALPHA, K::ComboBox, "", 164, 102, 60, 60},
             {0, K::Static, "Farbraum", 8, 124, 40, 8},
             {IDC_CMB_COLOUR_SPACE, K::ComboBox, "", 50, 122, 60, 80},
             {IDOK, K::DefPushButton, "OK", 232, 8, 48, 14},
             {IDCANCEL, K::PushButton, "Abbrechen", 232, 26, 48, 14}}};
}

DialogTemplate MakeFFT() {
    return {IDD_FFT,
            "FFT",
            222,
            92,
            {{0, K::Static, "Real", 8, 10, 30, 8},
             {IDC_FFT_REAL, K::ComboBox, "", 40, 8, 120, 80},
             {0, K::Static, "Bild", 8, 28, 30, 8},
             {IDC_FFT_IMAG, K::ComboBox, "", 40, 26, 120, 80},
             {IDC_FFT_INVERSE, K::CheckBox, "Umkehr", 8, 46, 100, 10},
             {IDC_FFT_MAGNITUDE, K::CheckBox, "Wert berechnen", 8, 60, 100, 10},
             {IDC_FFT_FORCE, K::CheckBox, "Force FFT", 8, 74, 100, 10},
             {IDOK, K::DefPushButton, "OK", 168, 8, 48, 14},
             {IDCANCEL, K::PushButton, "Abbrechen", 168, 26, 48, 14}}};
}

DialogTemplate MakeText() {
    return {IDD_TEXT,
            "Place text to image",
            300,
            198,
            {{0, K::Static, "Text platzieren", 8, 6, 100, 8},
             {IDC_TXT_TEXT, K::Edit, "", 8, 16, 200, 80, DS_MULTILINE},
             {IDC_CHOOSE_FONT, K::PushButton, "Zeichensatz", 216, 16, 76, 14},
             {IDC_TXT_TEXT_COLOUR, K::PushButton, "Farbe", 216, 34, 76, 14},
             {IDC_TXT_BACKGROUND, K::CheckBox, "Text hat Hintergrund", 8, 106, 100, 10},
             {IDC_TXT_BACK_COLOUR, K::PushButton, "Farbe", 120, 104, 60, 14},
             {0, K::Static, "Opacity:", 8, 126, 40, 8},
             {IDC_TXT_OPACITY, K::Slider, "", 50, 123, 124, 14},
             {IDC_TXT_OPACITY_LABEL, K::Static, "", 178, 126, 30, 8},
             {0, K::Static, "Radius", 8, 146, 40, 8},
             {IDC_TXT_RADIUS, K::Slider, "", 50, 143, 124, 14},
             {IDC_TXT_RADIUS_LABEL, K::Static, "", 178, 146, 30, 8},
             {0, K::GroupBox, "der Abgleich", 216, 56, 76, 56},
             {IDC_TXT_CENTRE, K::RadioButton, "Zentriert", 222, 68, 66, 10, DS_GROUP},
             {IDC_TXT_RIGHT, K::RadioButton, "nach rechts", 222, 82, 66, 10},
             {IDC_TXT_LEFT, K::RadioButton, "nach links", 222, 96, 66, 10},
             {IDOK, K::DefPushButton, "OK", 216, 158, 76, 14},
             {IDCANCEL, K::PushButton, "Abbrechen", 216, 176, 76, 14}}};
}

DialogTemplate MakeMix() {
    return {IDD_MIX,
            "Mix",
            300,
            176,
            {{0, K::Static, "Dst:", 8, 10, 34, 8},
             {IDC_MIX_DESTINATION, K::ComboBox, "", 44, 8, 116, 80},
             {0, K::Static, "Ursprung", 8, 28, 34, 8},
             {IDC_MIX_SOURCE, K::ComboBox, "", 44, 26, 116, 80},
             {0, K::Static, "OpType :", 8, 46, 34, 8},
             {IDC_MIX_OPERATION, K::ComboBox, "", 44, 44, 116, 120},
             {0, K::GroupBox, "Einstellungen Quelle", 8, 62, 152, 58},
             {0, K::Static, "X Offset :", 16, 77, 40, 8},
             {IDC_MIX_X, K::Edit, "", 60, 75, 40, 12},
             {0, K::Static, "Y Offset:", 16, 93, 40, 8},
             {IDC_MIX_Y, K::Edit, "", 60, 91, 40, 12},
             {IDC_MIX_ALPHA, K::CheckBox, "Mix alpha channel", 16, 106, 100, 10},
             {IDC_MIX_PREVIEW_BUTTON, K::PushButton, "Erw. Vorschau", 8, 126, 70, 14},
             {IDOK, K::DefPushButton, "OK", 8, 156, 60, 14},
             {IDCANCEL, K::PushButton, "Abbrechen", 74, 156, 60, 14},
             {IDC_MIX_PREVIEW, K::Picture, "", 168, 8, 124, 160}}};
}

DialogTemplate MakeOptions() {
    return {
        IDD_OPTIONS,
        "Optionen",
        310,
        194,
        {{0, K::Static, "JPEG quality[0...100]", 8, 9, 90, 8},
         {IDC_OPT_QUALITY, K::Edit, "", 100, 7, 44, 12},
         {0, K::Static, "X Auflösung [DPI]", 8, 25, 90, 8},
         {IDC_OPT_XDPI, K::Edit, "", 100, 23, 44, 12},
         {0, K::Static, "Y Auflösung [DPI]", 8, 41, 90, 8},
         {IDC_OPT_YDPI, K::Edit, "", 100, 39, 44, 12},
         {0, K::GroupBox, "TIFF Kompression", 8, 58, 140, 106},
         {IDC_OPT_TIF_AUTO, K::RadioButton, "Grundeinstellung : auto", 16, 70, 128, 10, DS_GROUP},
         {IDC_OPT_TIF_NONE, K::RadioButton, "none", 16, 83, 128, 10},
         {IDC_OPT_TIF_RLE, K::RadioButton, "RLE", 16, 96, 128, 10},
         {IDC_OPT_TIF_FAX, K::RadioButton, "Fax", 16, 109, 128, 10},
         {IDC_OPT_TIF_PACKBITS, K::RadioButton, "Packbits", 16, 122, 128, 10},
         {IDC_OPT_TIF_JPEG, K::RadioButton, "Jpeg", 16, 135, 128, 10},
         {IDC_OPT_TIF_LZW, K::RadioButton, "LZW", 16, 148, 128, 10},
         {0, K::GroupBox, "GIF Kompression", 156, 4, 146, 50},
         {IDC_OPT_GIF_LZW, K::RadioButton, "Grundeinstellung : LZW", 164, 16, 134, 10, DS_GROUP},
         {IDC_OPT_GIF_NONE, K::RadioButton, "Kein", 164, 28, 134, 10},
         {IDC_OPT_GIF_RLE, K::RadioButton, "RLE", 164, 40, 134, 10},
         {0, K::GroupBox, "PNG", 156, 58, 146, 40},
         {IDC_OPT_PNG_PLAIN, K::RadioButton, "Grundeinstellung:not interlaced", 164, 70, 134, 10, DS_GROUP},
         {IDC_OPT_PNG_INTERLACED, K::RadioButton, "interlaced", 164, 83, 134, 10},
         {0, K::GroupBox, "JPEG", 156, 102, 146, 62},
         {IDC_OPT_JPG_BASELINE, K::RadioButton, "Grundeinstellung : baseline", 164, 114, 134, 10, DS_GROUP},
         {IDC_OPT_JPG_PROGRESSIVE, K::RadioButton, "progressive", 164, 127, 134, 10},
         {IDC_OPT_JPG_OPTIMISE, K::CheckBox, "Optimieren", 164, 146, 134, 10, DS_GROUP},
         {IDOK, K::DefPushButton, "OK", 8, 172, 64, 16},
         {IDCANCEL, K::PushButton, "Abbrechen", 78, 172, 64, 16},
         {IDC_SHOW_EXIF, K::PushButton, "Beenden", 148, 172, 64, 16}}};
}

} // namespace

const DialogTemplate* PreviewDialog(int id) {
    static const DialogTemplate page = MakeImageProcPage();
    static const DialogTemplate lightContrast = MakeLightContrast();
    static const DialogTemplate colorize = MakeColorize();
    static const DialogTemplate gamma = MakeGamma();
    static const DialogTemplate combine = MakeCombine();
    static const DialogTemplate fft = MakeFFT();
    static const DialogTemplate text = MakeText();
    static const DialogTemplate mix = MakeMix();
    static const DialogTemplate options = MakeOptions();
    switch (id) {
    case IDD_PAGE_IMAGEPROC:
        return &page;
    case IDD_LIGHT_CONTRAST:
        return &lightContrast;
    case IDD_COLORIZE:
        return &colorize;
    case IDD_GAMMA:
        return &gamma;
    case IDD_COMBINE:
        return &combine;
    case IDD_FFT:
        return &fft;
    case IDD_TEXT:
        return &text;
    case IDD_MIX:
        return &mix;
    case IDD_OPTIONS:
        return &options;
    default:
        return nullptr;
    }
}

} // namespace resources
