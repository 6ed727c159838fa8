#include "Resources.h"

#include <map>

#include <QCoreApplication>

#include "PreviewDialogTemplates.h"
#include "Resource.h"
#include "TranslatedTables.h"

// Outside any namespace, as the resource compiler's registration requires.
static void InitResourcePictures() { Q_INIT_RESOURCE(resources); }

namespace resources {

namespace {

const MenuItem kSeparator{};

MenuItem ViewMenu(bool withToolBar) {
    MenuItem view{0,
                  QT_TRANSLATE_NOOP("ViewMenu", "&Ansicht"),
                  {{ID_MODE_CAMERA, QT_TRANSLATE_NOOP("ViewMenu", "Kamera Aufnahme Modus")},
                   {ID_MODE_IMAGE, QT_TRANSLATE_NOOP("ViewMenu", "Bild Bearbeitungs Modus")},
                   kSeparator}};
    if (withToolBar)
        view.popup.push_back({ID_VIEW_TOOLBAR, QT_TRANSLATE_NOOP("ViewMenu", "&Werkzeugleiste")});
    view.popup.push_back({ID_VIEW_STATUS_BAR, QT_TRANSLATE_NOOP("ViewMenu", "S&tatusleiste")});
    view.popup.push_back(kSeparator);
    // Every pane; those of camera mode are greyed in image-processing mode.
    view.popup.push_back({ID_VIEW_PANE_CONTROL, QT_TRANSLATE_NOOP("ViewMenu", "Steuerung")});
    view.popup.push_back({ID_VIEW_PANE_PREVIEW, QT_TRANSLATE_NOOP("ViewMenu", "Kamera Vorschau")});
    view.popup.push_back({ID_VIEW_PANE_SAVE, QT_TRANSLATE_NOOP("ViewMenu", "Speichern")});
    view.popup.push_back({ID_VIEW_PANE_BROWSER, QT_TRANSLATE_NOOP("ViewMenu", "Bildbrowser")});
    view.popup.push_back({ID_VIEW_PANE_HISTOGRAM, QT_TRANSLATE_NOOP("ViewMenu", "Histogramm")});
    view.popup.push_back(kSeparator);
    view.popup.push_back({0,
                          QT_TRANSLATE_NOOP("ViewMenu", "Menü Darstellung"),
                          {{ID_MENU_CLASSIC, QT_TRANSLATE_NOOP("ViewMenu", "Grundeinstellung")},
                           {ID_MENU_XP, QT_TRANSLATE_NOOP("ViewMenu", "XP")}}});
    // The languages by their own names, in either language.
    view.popup.push_back({0,
                          QT_TRANSLATE_NOOP("ViewMenu", "&Sprache"),
                          {{ID_LANGUAGE_GERMAN, QT_TRANSLATE_NOOP("ViewMenu", "&Deutsch")},
                           {ID_LANGUAGE_ENGLISH, QT_TRANSLATE_NOOP("ViewMenu", "&English")}}});
    view.popup.push_back({ID_FULL_SCREEN, QT_TRANSLATE_NOOP("ViewMenu", "Vollbild")});
    return view;
}

const MenuItem kHelp{0,
                     QT_TRANSLATE_NOOP("HelpMenu", "&Hilfe"),
                     {{ID_APP_ABOUT, QT_TRANSLATE_NOOP("HelpMenu", "&About Vistorel...")}}};

std::vector<MarkedPopup> MakeDefaultMenu() {
    return {{"ViewMenu", ViewMenu(true)}, {"HelpMenu", kHelp}};
}

std::vector<MarkedPopup> MakeCameraMenu() {
    return {{"CameraMenu",
             {0,
              QT_TRANSLATE_NOOP("CameraMenu", "&Kamera"),
              {{ID_CAMERA_PREVIEW, QT_TRANSLATE_NOOP("CameraMenu", "Kamera Vorschau")},
               kSeparator,
               {ID_CAPTURE_CONTROL, QT_TRANSLATE_NOOP("CameraMenu", "Einlesen Control")},
               {ID_CAPTURE_PICTURE, QT_TRANSLATE_NOOP("CameraMenu", "Capture Picture")},
               kSeparator,
               {ID_VIEW_HISTOGRAM, QT_TRANSLATE_NOOP("CameraMenu", "Histogram")}}}},
            {"ViewMenu", ViewMenu(false)},
            {"HelpMenu", kHelp}};
}

std::vector<MarkedPopup> MakeImageMenu() {
    MenuItem file{0,
                  QT_TRANSLATE_NOOP("FileMenu", "&Datei"),
                  {{ID_FILE_NEW, QT_TRANSLATE_NOOP("FileMenu", "&Neu\tCTRL+N")},
                   {ID_FILE_OPEN, QT_TRANSLATE_NOOP("FileMenu", "&Öffnen")},
                   {ID_FILE_CLOSE, QT_TRANSLATE_NOOP("FileMenu", "Schließen")},
                   {ID_NEW_DOCUMENT, QT_TRANSLATE_NOOP("FileMenu", "Neues Dokument")},
                   kSeparator,
                   {ID_FILE_SAVE, QT_TRANSLATE_NOOP("FileMenu", "&Speichern")},
                   {ID_FILE_SAVE_AS, QT_TRANSLATE_NOOP("FileMenu", "Speichern unter...")},
                   {ID_FILE_EXPORT_VIEW, QT_TRANSLATE_NOOP("FileMenu", "Ansicht exportieren...")},
                   kSeparator,
                   {ID_FILE_PRINT, QT_TRANSLATE_NOOP("FileMenu", "&Drucken...\tCtrl+P")},
                   {ID_FILE_PRINT_PREVIEW, QT_TRANSLATE_NOOP("FileMenu", "Seitenansicht")},
                   {ID_FILE_PRINT_SETUP, QT_TRANSLATE_NOOP("FileMenu", "Seite einrichten")},
                   kSeparator,
                   {ID_FILE_MRU_FILE1, QT_TRANSLATE_NOOP("FileMenu", "Zuletzt geöffnete Datei")},
                   kSeparator,
                   {ID_CLOSE_ALL, QT_TRANSLATE_NOOP("FileMenu", "&Alle schließen")},
                   {ID_APP_EXIT, QT_TRANSLATE_NOOP("FileMenu", "&Beenden")}}};
    MenuItem edit{0,
                  QT_TRANSLATE_NOOP("EditMenu", "&Editieren"),
                  {{ID_MEASURE_UNDO, QT_TRANSLATE_NOOP("EditMenu", "Rückgängig (Messung)")},
                   {ID_MEASURE_REDO, QT_TRANSLATE_NOOP("EditMenu", "Wiederholen(Messung)")},
                   kSeparator,
                   {ID_EDIT_UNDO, QT_TRANSLATE_NOOP("EditMenu", "&Rückgängig(Image Process)\tCtrl+Z")},
                   {ID_EDIT_REDO, QT_TRANSLATE_NOOP("EditMenu", "Wiederholen(Image Process)\tCtrl+Y")},
                   kSeparator,
                   {ID_EDIT_CUT, QT_TRANSLATE_NOOP("EditMenu", "Ausschneiden\tCtrl+X")},
                   {ID_EDIT_COPY, QT_TRANSLATE_NOOP("EditMenu", "&Kopieren\tCtrl+C")},
                   {ID_EDIT_PASTE, QT_TRANSLATE_NOOP("EditMenu", "&&Einfügen\tCtrl+V")},
                   kSeparator,
                   {ID_DUPLICATE, QT_TRANSLATE_NOOP("EditMenu", "Duplizieren\tCtrl+D")},
                   {ID_IMAGE_OPTIONS, QT_TRANSLATE_NOOP("EditMenu", "Optionen")}}};
    MenuItem view = ViewMenu(true);
    view.popup.pop_back(); // QT_TRANSLATE_NOOP("ViewMenu", "Vollbild") moves below the view settings
    view.popup.insert(view.popup.begin() + 6,
                      {ID_VIEW_HISTOGRAM, QT_TRANSLATE_NOOP("ViewMenu", "Histogram")});
    view.popup.insert(view.popup.begin() + 7, {ID_VIEW_PALETTE, QT_TRANSLATE_NOOP("ViewMenu", "Palette")});
    view.popup.insert(view.popup.begin() + 8,
                      {0,
                       QT_TRANSLATE_NOOP("ViewMenu", "Tools"),
                       {{ID_TOOL_MOVE, QT_TRANSLATE_NOOP("ViewMenu", "Verschieben")},
                        {ID_TOOL_SELECT, QT_TRANSLATE_NOOP("ViewMenu", "Auswählen")},
                        {ID_TOOL_ZOOM, QT_TRANSLATE_NOOP("ViewMenu", "Zoom")},
                        {ID_TOOL_TEXT, QT_TRANSLATE_NOOP("ViewMenu", "Text")},
                        {ID_TOOL_TRACK, QT_TRANSLATE_NOOP("ViewMenu", "Verfolgen")}}});
    view.popup.insert(view.popup.begin() + 9, kSeparator);
    for (const MenuItem& item :
         std::vector<MenuItem>{{ID_STRETCH_MODE, QT_TRANSLATE_NOOP("ViewMenu", "Str&ecken Modus")},
                               {ID_SMOOTH, QT_TRANSLATE_NOOP("ViewMenu", "Smooth")},
                               {ID_FULL_SCREEN, QT_TRANSLATE_NOOP("ViewMenu", "Vollbild")},
                               kSeparator,
                               {ID_ZOOM_IN, QT_TRANSLATE_NOOP("ViewMenu", "Vergrössern\t+")},
                               {ID_ZOOM_OUT, QT_TRANSLATE_NOOP("ViewMenu", "Verkleinern\t-")},
                               {ID_ZOOM_NORMAL, QT_TRANSLATE_NOOP("ViewMenu", "Ansicht (1:1)Normalansicht")},
                               {ID_ZOOM_FIT, QT_TRANSLATE_NOOP("ViewMenu", "Einpassen\tCtrl+0")},
                               {ID_SHOW_SCALE, QT_TRANSLATE_NOOP("ViewMenu", "Zeige skala(scale)")}})
        view.popup.push_back(item);
    MenuItem image{0,
                   QT_TRANSLATE_NOOP("ImageMenu", "&Bildbearbeitung"),
                   {{ID_IMAGE_MIRROR, QT_TRANSLATE_NOOP("ImageMenu", "Spiegeln")},
                    {ID_IMAGE_FLIP, QT_TRANSLATE_NOOP("ImageMenu", "Drehen")},
                    {ID_IMAGE_ROTATE_LEFT, QT_TRANSLATE_NOOP("ImageMenu", "Drehen links")},
                    {ID_IMAGE_ROTATE_RIGHT, QT_TRANSLATE_NOOP("ImageMenu", "Drehen rechts")},
                    {ID_IMAGE_ROTATE, QT_TRANSLATE_NOOP("ImageMenu", "Drehen...")},
                    {ID_IMAGE_RESAMPLE, QT_TRANSLATE_NOOP("ImageMenu", "Resample...")},
                    {ID_IMAGE_SKEW, QT_TRANSLATE_NOOP("ImageMenu", "Skew...")},
                    {ID_IMAGE_CROP, QT_TRANSLATE_NOOP("ImageMenu", "Crop")},
                    {ID_IMAGE_ELLIPSE, QT_TRANSLATE_NOOP("ImageMenu", "Ellipse umformen")},
                    kSeparator,
                    {ID_IMAGE_FOCUS_STACK, QT_TRANSLATE_NOOP("ImageMenu", "Schärfentiefe erweitern...")},
                    {ID_IMAGE_STITCH, QT_TRANSLATE_NOOP("ImageMenu", "Bilder zusammenfügen...")},
                    kSeparator,
                    {ID_IMAGE_NEGATIVE, QT_TRANSLATE_NOOP("ImageMenu", "Negative")},
                    {ID_IMAGE_GRAYSCALE, QT_TRANSLATE_NOOP("ImageMenu", "Grau Anzeige")},
                    {ID_IMAGE_PSEUDO_COLOURS, QT_TRANSLATE_NOOP("ImageMenu", "Pseudo Farben")},
                    kSeparator,
                    {ID_IMAGE_DECREASE_BPP, QT_TRANSLATE_NOOP("ImageMenu", "Reduzierung Bpp")},
                    {ID_IMAGE_INCREASE_BPP, QT_TRANSLATE_NOOP("ImageMenu", "Erhöhen Bpp")},
                    {ID_IMAGE_DITHER, QT_TRANSLATE_NOOP("ImageMenu", "Dither...")},
                    {ID_IMAGE_THRESHOLD, QT_TRANSLATE_NOOP("ImageMenu", "Schwelle...")},
                    kSeparator,
                    {ID_IMAGE_LIGHTEN, QT_TRANSLATE_NOOP("ImageMenu", "Helligkeit")},
                    {ID_IMAGE_DARKEN, QT_TRANSLATE_NOOP("ImageMenu", "Verdunkeln")},
                    {ID_IMAGE_MORE_CONTRAST, QT_TRANSLATE_NOOP("ImageMenu", "Kontrast erhöhen")},
                    {ID_IMAGE_LESS_CONTRAST, QT_TRANSLATE_NOOP("ImageMenu", "Kontrast verringern")},
                    {ID_IMAGE_USER_LIGHT, QT_TRANSLATE_NOOP("ImageMenu", "Anwender Helligkeit")},
                    {ID_IMAGE_USER_CONTRAST, QT_TRANSLATE_NOOP("ImageMenu", "Anwender Kontrast")},
                    {ID_IMAGE_GAMMA, QT_TRANSLATE_NOOP("ImageMenu", "Gamma...")},
                    {ID_IMAGE_COLORIZE, QT_TRANSLATE_NOOP("ImageMenu", "Colorize...")},
                    {0,
                     QT_TRANSLATE_NOOP("ImageMenu", "Histogramm"),
                     {{ID_HISTOGRAM_STRETCH, QT_TRANSLATE_NOOP("ImageMenu", "Strecken")},
                      {ID_HISTOGRAM_STRETCH1, QT_TRANSLATE_NOOP("ImageMenu", "Strecken")},
                      {ID_HISTOGRAM_STRETCH2, QT_TRANSLATE_NOOP("ImageMenu", "Strecken")},
                      {ID_HISTOGRAM_EQUALIZE, QT_TRANSLATE_NOOP("ImageMenu", "Entzerren")},
                      {ID_HISTOGRAM_NORMALIZE, QT_TRANSLATE_NOOP("ImageMenu", "Normalize")},
                      {ID_HISTOGRAM_LOG, QT_TRANSLATE_NOOP("ImageMenu", "Log")},
                      {ID_HISTOGRAM_ROOT, QT_TRANSLATE_NOOP("ImageMenu", "Root")}}},
                    kSeparator,
                    {0,
                     QT_TRANSLATE_NOOP("ImageMenu", "Farbraum"),
                     {{ID_SPLIT_RGB, QT_TRANSLATE_NOOP("ImageMenu", "Umwandeln nach RGB")},
                      {ID_SPLIT_YUV, QT_TRANSLATE_NOOP("ImageMenu", "Umwandeln nach YUV")},
                      {ID_SPLIT_HSL, QT_TRANSLATE_NOOP("ImageMenu", "Umwandeln nach HSL")},
                      {ID_SPLIT_YIQ, QT_TRANSLATE_NOOP("ImageMenu", "Umwandeln nach YIQ")},
                      {ID_SPLIT_XYZ, QT_TRANSLATE_NOOP("ImageMenu", "Umwandeln nach XYZ")},
                      {ID_SPLIT_CMYK, QT_TRANSLATE_NOOP("ImageMenu", "Umwandeln nach CMYK")}}},
                    {0,
                     QT_TRANSLATE_NOOP("ImageMenu", "Alphakanal"),
                     {{ID_ALPHA_OPACITY, QT_TRANSLATE_NOOP("ImageMenu", "Deckkraft...")},
                      {ID_ALPHA_DELETE, QT_TRANSLATE_NOOP("ImageMenu", "Entfernen")},
                      {ID_ALPHA_INVERT, QT_TRANSLATE_NOOP("ImageMenu", "Vertauschen")},
                      {ID_ALPHA_PALETTE_TOGGLE, QT_TRANSLATE_NOOP("ImageMenu", "Umschalten Alpha Palette")},
                      {ID_ALPHA_STRIP, QT_TRANSLATE_NOOP("ImageMenu", "Streifen")},
                      {ID_ALPHA_FROM_LIGHTNESS, QT_TRANSLATE_NOOP("ImageMenu", "Erstellen Helligkeit")},
                      {ID_ALPHA_SPLIT, QT_TRANSLATE_NOOP("ImageMenu", "Farbe Umwandeln")}}},
                    {0,
                     QT_TRANSLATE_NOOP("ImageMenu", "Transparenz"),
                     {{ID_TRANSPARENCY_SET, QT_TRANSLATE_NOOP("ImageMenu", "Einstellen Transparenz")},
                      {ID_TRANSPARENCY_REMOVE, QT_TRANSLATE_NOOP("ImageMenu", "Entfernen Transparenz")}}},
                    kSeparator,
                    {ID_IMAGE_COMBINE, QT_TRANSLATE_NOOP("ImageMenu", "Kombinieren ...")},
                    {ID_IMAGE_FFT, QT_TRANSLATE_NOOP("ImageMenu", "FFT...")},
                    {ID_IMAGE_MIX, QT_TRANSLATE_NOOP("ImageMenu", "Mix ...")},
                    {ID_IMAGE_JPEG_COMPRESSION, QT_TRANSLATE_NOOP("ImageMenu", "JPEG Kompresion...")}}};
    MenuItem filters{0,
                     QT_TRANSLATE_NOOP("FiltersMenu", "Filters(&L)"),
                     {{ID_FILTER_BLUR, QT_TRANSLATE_NOOP("FiltersMenu", "Verwischen")},
                      {ID_FILTER_SOFTEN, QT_TRANSLATE_NOOP("FiltersMenu", "Weichzeichnen")},
                      {ID_FILTER_GAUSS3, QT_TRANSLATE_NOOP("FiltersMenu", "Gauss 3x3")},
                      {ID_FILTER_GAUSS5, QT_TRANSLATE_NOOP("FiltersMenu", "Gauss 5x5")},
                      {ID_FILTER_SHARPEN, QT_TRANSLATE_NOOP("FiltersMenu", "Schärfen")},
                      {ID_FILTER_EDGE, QT_TRANSLATE_NOOP("FiltersMenu", "Kante")},
                      {ID_FILTER_EMBOSS, QT_TRANSLATE_NOOP("FiltersMenu", "Ausarbeiten")},
                      kSeparator,
                      {ID_FILTER_NOISE, QT_TRANSLATE_NOOP("FiltersMenu", "Rauschen hinzufügen")},
                      {ID_FILTER_MEDIAN, QT_TRANSLATE_NOOP("FiltersMenu", "Median")},
                      {ID_FILTER_ERODE, QT_TRANSLATE_NOOP("FiltersMenu", "Erodieren")},
                      {ID_FILTER_DILATE, QT_TRANSLATE_NOOP("FiltersMenu", "Erweitern")},
                      {ID_FILTER_CONTOUR, QT_TRANSLATE_NOOP("FiltersMenu", "Konturen")},
                      {ID_FILTER_EDGES, QT_TRANSLATE_NOOP("FiltersMenu", "Kanten")},
                      {ID_FILTER_JITTER, QT_TRANSLATE_NOOP("FiltersMenu", "Bildschwankungen")},
                      kSeparator,
                      {0,
                       QT_TRANSLATE_NOOP("FiltersMenu", "Kreis umformen"),
                       {{ID_CIRCLE_PINCH, QT_TRANSLATE_NOOP("FiltersMenu", "Quetschen")},
                        {ID_CIRCLE_PUNCH, QT_TRANSLATE_NOOP("FiltersMenu", "Dehnen")},
                        {ID_CIRCLE_SWIRL, QT_TRANSLATE_NOOP("FiltersMenu", "Drehen")},
                        {ID_CIRCLE_CYLINDER, QT_TRANSLATE_NOOP("FiltersMenu", "Zylinder")},
                        {ID_CIRCLE_BATHROOM, QT_TRANSLATE_NOOP("FiltersMenu", "Badezimmer")}}}}};
    MenuItem fluorescence{0,
                          QT_TRANSLATE_NOOP("FluorescenceMenu", "Fluorescence(&U)"),
                          {{ID_WHITE_BALANCE, QT_TRANSLATE_NOOP("FluorescenceMenu", "Weißabgleich")},
                           {ID_IMAGE_REPAIR, QT_TRANSLATE_NOOP("FluorescenceMenu", "Wiederherstellen...")}}};
    MenuItem measure{0,
                     QT_TRANSLATE_NOOP("MeasureMenu", "&Messen"),
                     {{32781, QT_TRANSLATE_NOOP("MeasureMenu", "Auswählen")},
                      {32773, QT_TRANSLATE_NOOP("MeasureMenu", "Linie")},
                      {32774, QT_TRANSLATE_NOOP("MeasureMenu", "Rechteck")},
                      {32775, QT_TRANSLATE_NOOP("MeasureMenu", "Kreis")},
                      {32776, QT_TRANSLATE_NOOP("MeasureMenu", "Polygon")},
                      {32777, QT_TRANSLATE_NOOP("MeasureMenu", "Winkel")},
                      {32779, QT_TRANSLATE_NOOP("MeasureMenu", "Punkt")},
                      {32780, QT_TRANSLATE_NOOP("MeasureMenu", "Beschriftung")},
                      kSeparator,
                      {32771, QT_TRANSLATE_NOOP("MeasureMenu", "Kalibrierung...")},
                      {32772, QT_TRANSLATE_NOOP("MeasureMenu", "Messtabelle")},
                      {ID_MEASURE_PROFILE, QT_TRANSLATE_NOOP("MeasureMenu", "Linienprofil")},
                      {32778, QT_TRANSLATE_NOOP("MeasureMenu", "Maßstab")},
                      {0,
                       QT_TRANSLATE_NOOP("MeasureMenu", "Zoom"),
                       {{32782, QT_TRANSLATE_NOOP("MeasureMenu", "50%")},
                        {32783, QT_TRANSLATE_NOOP("MeasureMenu", "75%")},
                        {32784, QT_TRANSLATE_NOOP("MeasureMenu", "100%")},
                        {32785, QT_TRANSLATE_NOOP("MeasureMenu", "150%")},
                        {32786, QT_TRANSLATE_NOOP("MeasureMenu", "200%")}}},
                      {0,
                       QT_TRANSLATE_NOOP("MeasureMenu", "Farben"),
                       {{32787, QT_TRANSLATE_NOOP("MeasureMenu", "Linienfarbe...")},
                        {32788, QT_TRANSLATE_NOOP("MeasureMenu", "Textfarbe...")},
                        {32789, QT_TRANSLATE_NOOP("MeasureMenu", "Füllfarbe...")}}},
                      {0,
                       QT_TRANSLATE_NOOP("MeasureMenu", "Linienstärke"),
                       {{32790, QT_TRANSLATE_NOOP("MeasureMenu", "1 Punkt")},
                        {32791, QT_TRANSLATE_NOOP("MeasureMenu", "2 Punkte")},
                        {32792, QT_TRANSLATE_NOOP("MeasureMenu", "3 Punkte")},
                        {32793, QT_TRANSLATE_NOOP("MeasureMenu", "5 Punkte")}}},
                      {32794, QT_TRANSLATE_NOOP("MeasureMenu", "Schrift...")},
                      {32795, QT_TRANSLATE_NOOP("MeasureMenu", "Löschen")},
                      {32796, QT_TRANSLATE_NOOP("MeasureMenu", "Alles löschen")},
                      kSeparator,
                      {32797, QT_TRANSLATE_NOOP("MeasureMenu", "Messdaten speichern")},
                      {32798, QT_TRANSLATE_NOOP("MeasureMenu", "Messdaten öffnen")}}};
    MenuItem window{0,
                    QT_TRANSLATE_NOOP("WindowMenu", "&Fenster"),
                    {{ID_WINDOW_CASCADE, QT_TRANSLATE_NOOP("WindowMenu", "&Überlappend")},
                     {ID_WINDOW_TILE_HORZ, QT_TRANSLATE_NOOP("WindowMenu", "&Nebeneinander")},
                     {ID_WINDOW_ARRANGE, QT_TRANSLATE_NOOP("WindowMenu", "&Symbole anordnen")}}};
    return {{"FileMenu", file},       {"EditMenu", edit},       {"ViewMenu", view},
            {"ImageMenu", image},     {"FiltersMenu", filters}, {"FluorescenceMenu", fluorescence},
            {"MeasureMenu", measure}, {"WindowMenu", window},   {"HelpMenu", kHelp}};
}

DialogTemplate MakePaletteDialog() {
    return {
        IDD_PALETTE,
        QT_TRANSLATE_NOOP("PaletteDialog", "Palette"),
        270,
        136,
        {{IDOK, DialogControlKind::DefPushButton, QT_TRANSLATE_NOOP("PaletteDialog", "OK"), 159, 7, 50, 16},
         {IDCANCEL, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("PaletteDialog", "Abbrechen"), 214, 7,
          50, 16},
         {IDC_PAL_LOAD, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("PaletteDialog", "Laden"), 159, 29,
          50, 16},
         {IDC_PAL_SAVE, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("PaletteDialog", "Sichern"), 214, 29,
          50, 16},
         {0, DialogControlKind::GroupBox, QT_TRANSLATE_NOOP("PaletteDialog", "Optionen laden"), 148, 52, 116,
          48},
         {IDC_PAL_MAINTAIN, DialogControlKind::RadioButton,
          QT_TRANSLATE_NOOP("PaletteDialog", "Maintain indexes"), 150, 64, 91, 10},
         {IDC_PAL_NEAREST, DialogControlKind::RadioButton,
          QT_TRANSLATE_NOOP("PaletteDialog", "Nearest color matching"), 150, 75, 105, 10},
         {IDC_PAL_DITHER, DialogControlKind::RadioButton,
          QT_TRANSLATE_NOOP("PaletteDialog", "Error diffusion dithering"), 150, 87, 113, 10},
         {IDC_PAL_EDIT_ALPHA, DialogControlKind::CheckBox,
          QT_TRANSLATE_NOOP("PaletteDialog", "Alpha Komponeten editieren"), 149, 105, 117, 10},
         {IDC_PAL_STATUS, DialogControlKind::Static,
          QT_TRANSLATE_NOOP("PaletteDialog", " I = 0, RGBA = (0,0,0,0)"), 143, 117, 121, 12}}};
}

DialogTemplate MakeHistogramBar() {
    return {IDD_HISTOGRAM,
            "",
            0,
            0,
            {{IDC_HIST_LOG, DialogControlKind::CheckBox, QT_TRANSLATE_NOOP("HistogramBar", "log"), 148, 7, 30,
              15}}};
}

DialogTemplate MakeAboutBox() {
    return {IDD_ABOUTBOX,
            QT_TRANSLATE_NOOP("AboutBox", "About Vistorel SoftWare"),
            235,
            78,
            {{IDC_ABOUT_ICON, DialogControlKind::Picture, "", 11, 14, 24, 24},
             {IDC_ABOUT_TEXT, DialogControlKind::Static,
              QT_TRANSLATE_NOOP("AboutBox",
                                "Vistorel Version 6.1.4.0\nBildverarbeitung für digitale Mikroskopkameras"),
              44, 12, 180, 26},
             {IDC_HYPERLINK, DialogControlKind::Static, "", 44, 44, 180, 10},
             {IDOK, DialogControlKind::DefPushButton, QT_TRANSLATE_NOOP("AboutBox", "OK"), 174, 58, 50, 14}}};
}

DialogTemplate MakeCapturePage() {
    return {IDD_PAGE_CAPTURE,
            "",
            170,
            150,
            {{0, DialogControlKind::Static, QT_TRANSLATE_NOOP("CapturePage", "Kamera "), 8, 16, 29, 8},
             {IDC_CAMERA_NAME, DialogControlKind::Edit, "", 5, 26, 99, 14, DS_READONLY | DS_CENTER_TEXT},
             {IDC_FIND_CAMERA, DialogControlKind::PushButton,
              QT_TRANSLATE_NOOP("CapturePage", "Kamera suchen"), 105, 24, 61, 16},
             {0, DialogControlKind::Static, QT_TRANSLATE_NOOP("CapturePage", "Auflösung:"), 6, 43, 50, 8},
             {IDC_RESOLUTION, DialogControlKind::ComboBox, "", 5, 55, 99, 97},
             {IDC_PREVIEW_BUTTON, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("CapturePage", "Vorschau"),
              105, 52, 61, 16},
             {IDC_REFRESH_PREVIEW, DialogControlKind::PushButton,
              QT_TRANSLATE_NOOP("CapturePage", "Aktualisiere Vorschau"), 102, 76, 64, 16},
             {IDC_AUTO_WHITE_BALANCE, DialogControlKind::PushButton,
              QT_TRANSLATE_NOOP("CapturePage", "Auto Weißabgleich"), 5, 76, 87, 16},
             {IDC_AREA_WHITE_BALANCE, DialogControlKind::PushButton,
              QT_TRANSLATE_NOOP("CapturePage", "Area Weißabgleich"), 5, 99, 87, 16},
             {IDC_CAMERA_CONFIG, DialogControlKind::PushButton,
              QT_TRANSLATE_NOOP("CapturePage", "Konfiguration"), 102, 99, 64, 16},
             {IDC_EXPOSURE, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("CapturePage", "Belichtung"),
              103, 124, 64, 16, DS_HIDDEN}}};
}

DialogTemplate MakeSavePanel() {
    return {IDD_SAVE_PANEL,
            "",
            180,
            84,
            {{IDC_SAVE_STILL, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("SavePanel", "Speichern"), 15,
              16, 61, 16, DS_DISABLED},
             {IDC_SAVE_VIDEO, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("SavePanel", "Video Aufnahme"),
              106, 16, 61, 16, DS_DISABLED},
             {IDC_SAVE_CONFIG, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("SavePanel", "Konfiguration"),
              15, 38, 61, 16},
             {IDC_SAVE_COMPRESSOR, DialogControlKind::PushButton,
              QT_TRANSLATE_NOOP("SavePanel", "Video Compress"), 106, 38, 61, 16, DS_DISABLED},
             {IDC_SAVE_OPEN_FOLDER, DialogControlKind::PushButton,
              QT_TRANSLATE_NOOP("SavePanel", "öffnen..."), 15, 61, 48, 16},
             {IDC_SAVE_EDF, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("SavePanel", "EDF"), 67, 61, 48,
              16, DS_DISABLED},
             {IDC_SAVE_PANORAMA, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("SavePanel", "Panorama"),
              119, 61, 48, 16, DS_DISABLED}}};
}

DialogTemplate MakeCaptureConfig() {
    return {
        IDD_CAPTURE_CONFIG,
        QT_TRANSLATE_NOOP("CaptureConfigDialog", "Capture Config"),
        248,
        160,
        {{0, DialogControlKind::Static, QT_TRANSLATE_NOOP("CaptureConfigDialog", "Dateiname"), 7, 20, 39, 9},
         {IDC_CONFIG_NAME, DialogControlKind::Edit, "", 47, 18, 54, 14},
         {0, DialogControlKind::Static, QT_TRANSLATE_NOOP("CaptureConfigDialog", "+"), 105, 20, 8, 8},
         {IDC_CONFIG_NUMBERED, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("CaptureConfigDialog", "Num"),
          114, 16, 61, 15},
         {0, DialogControlKind::Static, QT_TRANSLATE_NOOP("CaptureConfigDialog", "+"), 181, 22, 8, 8},
         {IDC_CONFIG_FILE_TYPE, DialogControlKind::ComboBox, "", 190, 18, 37, 41},
         {IDC_CONFIG_TIMESTAMP, DialogControlKind::CheckBox,
          QT_TRANSLATE_NOOP("CaptureConfigDialog", "Zeitstempel Dateiname"), 47, 38, 116, 11},
         {0, DialogControlKind::Static, QT_TRANSLATE_NOOP("CaptureConfigDialog", "Zaehlen:"), 10, 66, 36, 8},
         {IDC_CONFIG_COUNT, DialogControlKind::Edit, "", 47, 63, 35, 14},
         {IDC_CONFIG_COUNT_SPIN, DialogControlKind::Custom, "", 75, 63, 11, 14},
         {0, DialogControlKind::Static, QT_TRANSLATE_NOOP("CaptureConfigDialog", "Zeitabstand:"), 138, 66, 49,
          8},
         {IDC_CONFIG_INTERVAL, DialogControlKind::Edit, "", 188, 63, 30, 14},
         {IDC_CONFIG_INTERVAL_SPIN, DialogControlKind::Custom, "", 218, 62, 11, 14},
         {0, DialogControlKind::Static, QT_TRANSLATE_NOOP("CaptureConfigDialog", "(S)"), 230, 65, 13, 8},
         {0, DialogControlKind::Static, QT_TRANSLATE_NOOP("CaptureConfigDialog", "Pfad"), 21, 94, 22, 11},
         {IDC_CONFIG_FOLDER, DialogControlKind::Edit, "", 46, 92, 176, 15, DS_READONLY},
         {IDC_CONFIG_BROWSE, DialogControlKind::PushButton,
          QT_TRANSLATE_NOOP("CaptureConfigDialog", "Durchsuchen"), 172, 108, 50, 17},
         {IDC_CONFIG_SAVE, DialogControlKind::DefPushButton,
          QT_TRANSLATE_NOOP("CaptureConfigDialog", "Speichern"), 7, 116, 50, 17, DS_HIDDEN},
         {IDOK, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("CaptureConfigDialog", "OK"), 96, 136, 50,
          17}}};
}

DialogTemplate MakeImageBrowser() {
    return {IDD_IMAGE_BROWSER,
            "",
            160,
            145,
            {{IDC_BROWSER_PICTURE, DialogControlKind::Picture, "", 20, 17, 15, 15},
             {IDC_BROWSER_PREVIOUS, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("ImageBrowser", "<<"),
              47, 1, 18, 14},
             {IDC_BROWSER_COUNTER, DialogControlKind::Static, "", 65, 5, 43, 10, DS_CENTER_TEXT},
             {IDC_BROWSER_NEXT, DialogControlKind::PushButton, QT_TRANSLATE_NOOP("ImageBrowser", ">>"), 108,
              2, 17, 14},
             {IDC_BROWSER_LIST, DialogControlKind::ComboBox, "", 136, 95, 17, 30, DS_HIDDEN},
             {IDC_BROWSER_OPEN, DialogControlKind::PushButton,
              QT_TRANSLATE_NOOP("ImageBrowser", "Bild öffnen\n"), 53, 126, 69, 14}}};
}

} // namespace

void RegisterPictures() {
    InitResourcePictures();
}

const MenuTemplate& Menu(int id) {
    static const std::vector<MarkedPopup> menu128 = MakeDefaultMenu();
    static const std::vector<MarkedPopup> menu235 = MakeCameraMenu();
    static const std::vector<MarkedPopup> menu236 = MakeImageMenu();
    static const MenuTemplate none;
    switch (id) {
    case IDR_MAINFRAME:
        return TranslatedTables::Instance().Menu(id, menu128);
    case IDR_CAMERA_MENU:
        return TranslatedTables::Instance().Menu(id, menu235);
    case IDR_VISTORTYPE:
        return TranslatedTables::Instance().Menu(id, menu236);
    default:
        return none;
    }
}

const std::vector<int>& ToolBar() {
    // One line per group between the separators (0).
    // clang-format off
    static const std::vector<int> buttons = {
        ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0,
        ID_EDIT_COPY, ID_EDIT_PASTE, 0,
        ID_ZOOM_IN, ID_ZOOM_NORMAL, ID_ZOOM_OUT, ID_STRETCH_MODE, 0,
        ID_TOOL_MOVE, ID_TOOL_SELECT, ID_TOOL_TRACK, ID_TOOL_ZOOM, ID_TOOL_TEXT, 0,
        ID_VIEW_HISTOGRAM, ID_VIEW_PALETTE, ID_IMAGE_OPTIONS, 0,
        32781, 32773, 32774, 32775, 32776, 32777, 32779, 32780, ID_MEASURE_UNDO, ID_MEASURE_REDO, 0,
        ID_APP_ABOUT};
    // clang-format on
    return buttons;
}

const std::vector<Accelerator>& Accelerators() {
    static const std::vector<Accelerator> table = {
        {QKeySequence(Qt::Key_Plus), ID_ZOOM_IN},
        {QKeySequence(Qt::Key_Minus), ID_ZOOM_OUT},
        {QKeySequence(Qt::Key_Slash), ID_ZOOM_NORMAL},
        {QKeySequence(Qt::CTRL | Qt::Key_0), ID_ZOOM_FIT},
        {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_D), ID_DUPLICATE},
        {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
        {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN},
        {QKeySequence(Qt::CTRL | Qt::Key_P), ID_FILE_PRINT},
        {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE},
        {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
        {QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), ID_EDIT_REDO},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO},
        {QKeySequence(Qt::Key_F6), ID_NEXT_PANE},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE},
    };
    return table;
}

QString String(int id) {
    static const std::map<int, const char*> table = {
        {IDS_APP_TITLE, QT_TRANSLATE_NOOP("StringTable", "Vistorel")},
        {IDS_IDLE_MESSAGE, QT_TRANSLATE_NOOP("StringTable", "Bereit")},
        {IDR_VISTORTYPE,
         QT_TRANSLATE_NOOP("StringTable", "\nVistorel\nVistorel\n\n\nVistorel.Document\nVistorel Document")},
        {IDD_PREVIEW, QT_TRANSLATE_NOOP("StringTable", "Kamera Vorschau")},
        {IDP_CONTROL, QT_TRANSLATE_NOOP("StringTable", "Vistorel\nVistorel")},
        {IDD_HISTOGRAM, QT_TRANSLATE_NOOP("StringTable", "Histo")},
        {IDD_SAVE_PANEL, QT_TRANSLATE_NOOP("StringTable", "speichern Konfiguration")},
        {IDD_IMAGE_BROWSER, QT_TRANSLATE_NOOP("StringTable", "Bildvorschau")},
        {IDS_CLOSE, QT_TRANSLATE_NOOP("StringTable", "Schließen")},
        {IDS_SAVE_FILE, QT_TRANSLATE_NOOP("StringTable", "Datei speichern")},
        {IDS_SAVING_IMAGE, QT_TRANSLATE_NOOP("StringTable", "Bild speichern")},
        {IDS_LANGUAGE_NEXT_START,
         QT_TRANSLATE_NOOP("StringTable", "Die gewählte Sprache gilt ab dem nächsten Start von Vistorel.")},
        {ID_INDICATOR_CAPS, QT_TRANSLATE_NOOP("StringTable", "CAP")},
        {ID_INDICATOR_NUM, QT_TRANSLATE_NOOP("StringTable", "NUM")},
        {ID_INDICATOR_SCRL, QT_TRANSLATE_NOOP("StringTable", "SCRL")},
    };
    auto it = table.find(id);
    return it == table.end() ? QString() : QCoreApplication::translate("StringTable", it->second);
}

const DialogTemplate* Dialog(int id) {
    static const std::map<int, MarkedDialog> dialogs = {
        {IDD_PALETTE, {"PaletteDialog", MakePaletteDialog()}},
        {IDD_HISTOGRAM, {"HistogramBar", MakeHistogramBar()}},
        {IDD_ABOUTBOX, {"AboutBox", MakeAboutBox()}},
        {IDD_PAGE_CAPTURE, {"CapturePage", MakeCapturePage()}},
        {IDD_SAVE_PANEL, {"SavePanel", MakeSavePanel()}},
        {IDD_CAPTURE_CONFIG, {"CaptureConfigDialog", MakeCaptureConfig()}},
        {IDD_IMAGE_BROWSER, {"ImageBrowser", MakeImageBrowser()}},
    };
    auto it = dialogs.find(id);
    const MarkedDialog* marked = it != dialogs.end() ? &it->second : PreviewDialog(id);
    return marked ? &TranslatedTables::Instance().Dialog(*marked) : nullptr;
}

} // namespace resources
