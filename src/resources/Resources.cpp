#include "Resources.h"

#include <map>

#include "PreviewDialogTemplates.h"
#include "Resource.h"

// Outside any namespace, as the resource compiler's registration requires.
static void InitResourcePictures() { Q_INIT_RESOURCE(resources); }

namespace resources {

namespace {

const MenuItem kSeparator{};

MenuItem ViewMenu(bool withToolBar) {
    MenuItem view{
        0,
        "&Ansicht",
        {{ID_MODE_CAMERA, "Kamera Aufnahme Modus"}, {ID_MODE_IMAGE, "Bild Bearbeitungs Modus"}, kSeparator}};
    if (withToolBar) view.popup.push_back({ID_VIEW_TOOLBAR, "&Werkzeugleiste"});
    view.popup.push_back({ID_VIEW_STATUS_BAR, "S&tatusleiste"});
    view.popup.push_back(kSeparator);
    view.popup.push_back(
        {0, "Menü Darstellung", {{ID_MENU_CLASSIC, "Grundeinstellung"}, {ID_MENU_XP, "XP"}}});
    view.popup.push_back({ID_FULL_SCREEN, "Vollbild"});
    return view;
}

const MenuItem kHelp{0, "&Hilfe", {{ID_APP_ABOUT, "&About Vistorel..."}}};

MenuTemplate MakeDefaultMenu() { return {IDR_MAINFRAME, {ViewMenu(true), kHelp}}; }

MenuTemplate MakeCameraMenu() {
    return {IDR_CAMERA_MENU,
            {{0,
              "&Kamera",
              {{ID_CAMERA_PREVIEW, "Kamera Vorschau"},
               kSeparator,
               {ID_CAPTURE_CONTROL, "Einlesen Control"},
               {ID_CAPTURE_PICTURE, "Capture Picture"},
               kSeparator,
               {ID_VIEW_HISTOGRAM, "Histogram"}}},
             ViewMenu(false),
             kHelp}};
}

MenuTemplate MakeImageMenu() {
    MenuItem file{0,
                  "&Datei",
                  {{ID_FILE_NEW, "&Neu\tCTRL+N"},
                   {ID_FILE_OPEN, "&Öffnen"},
                   {ID_FILE_CLOSE, "Schließen"},
                   {ID_NEW_DOCUMENT, "Neues Dokument"},
                   kSeparator,
                   {ID_FILE_SAVE, "&Speichern"},
                   {ID_FILE_SAVE_AS, "Speichern unter..."},
                   {ID_FILE_EXPORT_VIEW, "Ansicht exportieren..."},
                   kSeparator,
                   {ID_FILE_PRINT, "&Drucken...\tCtrl+P"},
                   {ID_FILE_PRINT_PREVIEW, "Seitenansicht"},
                   {ID_FILE_PRINT_SETUP, "Seite einrichten"},
                   kSeparator,
                   {ID_FILE_MRU_FILE1, "Zuletzt geöffnete Datei"},
                   kSeparator,
                   {ID_CLOSE_ALL, "&Alle schließen"},
                   {ID_APP_EXIT, "&Beenden"}}};
    MenuItem edit{0,
                  "&Editieren",
                  {{ID_MEASURE_UNDO, "Rückgängig (Messung)"},
                   {ID_MEASURE_REDO, "Wiederholen(Messung)"},
                   kSeparator,
                   {ID_EDIT_UNDO, "&Rückgängig(Image Process)\tCtrl+Z"},
                   {ID_EDIT_REDO, "Wiederholen(Image Process)\tCtrl+Y"},
                   kSeparator,
                   {ID_EDIT_CUT, "Ausschneiden\tCtrl+X"},
                   {ID_EDIT_COPY, "&Kopieren\tCtrl+C"},
                   {ID_EDIT_PASTE, "&&Einfügen\tCtrl+V"},
                   kSeparator,
                   {ID_DUPLICATE, "Duplizieren\tCtrl+D"},
                   {ID_IMAGE_OPTIONS, "Optionen"}}};
    MenuItem view = ViewMenu(true);
    view.popup.pop_back(); // "Vollbild" moves below the view settings
    view.popup.insert(view.popup.begin() + 6, {ID_VIEW_HISTOGRAM, "Histogram"});
    view.popup.insert(view.popup.begin() + 7, {ID_VIEW_PALETTE, "Palette"});
    view.popup.insert(view.popup.begin() + 8, {0,
                                               "Tools",
                                               {{ID_TOOL_MOVE, "Verschieben"},
                                                {ID_TOOL_SELECT, "Auswählen"},
                                                {ID_TOOL_ZOOM, "Zoom"},
                                                {ID_TOOL_TEXT, "Text"},
                                                {ID_TOOL_TRACK, "Verfolgen"}}});
    view.popup.insert(view.popup.begin() + 9, kSeparator);
    for (const MenuItem& item : std::vector<MenuItem>{{ID_STRETCH_MODE, "Str&ecken Modus"},
                                                      {ID_SMOOTH, "Smooth"},
                                                      {ID_FULL_SCREEN, "Vollbild"},
                                                      kSeparator,
                                                      {ID_ZOOM_IN, "Vergrössern\t+"},
                                                      {ID_ZOOM_OUT, "Verkleinern\t-"},
                                                      {ID_ZOOM_NORMAL, "Ansicht (1:1)Normalansicht"},
                                                      {ID_SHOW_SCALE, "Zeige skala(scale)"}})
        view.popup.push_back(item);
    MenuItem image{0,
                   "&Bildbearbeitung",
                   {{ID_IMAGE_MIRROR, "Spiegeln"},
                    {ID_IMAGE_FLIP, "Drehen"},
                    {ID_IMAGE_ROTATE_LEFT, "Drehen links"},
                    {ID_IMAGE_ROTATE_RIGHT, "Drehen rechts"},
                    {ID_IMAGE_ROTATE, "Drehen..."},
                    {ID_IMAGE_RESAMPLE, "Resample..."},
                    {ID_IMAGE_SKEW, "Skew..."},
                    {ID_IMAGE_CROP, "Crop"},
                    {ID_IMAGE_ELLIPSE, "Ellipse umformen"},
                    kSeparator,
                    {ID_IMAGE_FOCUS_STACK, "Schärfentiefe erweitern..."},
                    {ID_IMAGE_STITCH, "Bilder zusammenfügen..."},
                    kSeparator,
                    {ID_IMAGE_NEGATIVE, "Negative"},
                    {ID_IMAGE_GRAYSCALE, "Grau Anzeige"},
                    {ID_IMAGE_PSEUDO_COLOURS, "Pseudo Farben"},
                    kSeparator,
                    {ID_IMAGE_DECREASE_BPP, "Reduzierung Bpp"},
                    {ID_IMAGE_INCREASE_BPP, "Erhöhen Bpp"},
                    {ID_IMAGE_DITHER, "Dither..."},
                    {ID_IMAGE_THRESHOLD, "Schwelle..."},
                    kSeparator,
                    {ID_IMAGE_LIGHTEN, "Helligkeit"},
                    {ID_IMAGE_DARKEN, "Verdunkeln"},
                    {ID_IMAGE_MORE_CONTRAST, "Kontrast erhöhen"},
                    {ID_IMAGE_LESS_CONTRAST, "Kontrast verringern"},
                    {ID_IMAGE_USER_LIGHT, "Anwender Helligkeit"},
                    {ID_IMAGE_USER_CONTRAST, "Anwender Kontrast"},
                    {ID_IMAGE_GAMMA, "Gamma..."},
                    {ID_IMAGE_COLORIZE, "Colorize..."},
                    {0,
                     "Histogramm",
                     {{ID_HISTOGRAM_STRETCH, "Strecken"},
                      {ID_HISTOGRAM_STRETCH1, "Strecken"},
                      {ID_HISTOGRAM_STRETCH2, "Strecken"},
                      {ID_HISTOGRAM_EQUALIZE, "Entzerren"},
                      {ID_HISTOGRAM_NORMALIZE, "Normalize"},
                      {ID_HISTOGRAM_LOG, "Log"},
                      {ID_HISTOGRAM_ROOT, "Root"}}},
                    kSeparator,
                    {0,
                     "Farbraum",
                     {{ID_SPLIT_RGB, "Umwandeln nach RGB"},
                      {ID_SPLIT_YUV, "Umwandeln nach YUV"},
                      {ID_SPLIT_HSL, "Umwandeln nach HSL"},
                      {ID_SPLIT_YIQ, "Umwandeln nach YIQ"},
                      {ID_SPLIT_XYZ, "Umwandeln nach XYZ"},
                      {ID_SPLIT_CMYK, "Umwandeln nach CMYK"}}},
                    {0,
                     "Alphakanal",
                     {{ID_ALPHA_OPACITY, "Deckkraft..."},
                      {ID_ALPHA_DELETE, "Entfernen"},
                      {ID_ALPHA_INVERT, "Vertauschen"},
                      {ID_ALPHA_PALETTE_TOGGLE, "Umschalten Alpha Palette"},
                      {ID_ALPHA_STRIP, "Streifen"},
                      {ID_ALPHA_FROM_LIGHTNESS, "Erstellen Helligkeit"},
                      {ID_ALPHA_SPLIT, "Farbe Umwandeln"}}},
                    {0,
                     "Transparenz",
                     {{ID_TRANSPARENCY_SET, "Einstellen Transparenz"},
                      {ID_TRANSPARENCY_REMOVE, "Entfernen Transparenz"}}},
                    kSeparator,
                    {ID_IMAGE_COMBINE, "Kombinieren ..."},
                    {ID_IMAGE_FFT, "FFT..."},
                    {ID_IMAGE_MIX, "Mix ..."},
                    {ID_IMAGE_JPEG_COMPRESSION, "JPEG Kompresion..."}}};
    MenuItem filters{0,
                     "Filters(&L)",
                     {{ID_FILTER_BLUR, "Verwischen"},
                      {ID_FILTER_SOFTEN, "Weichzeichnen"},
                      {ID_FILTER_GAUSS3, "Gauss 3x3"},
                      {ID_FILTER_GAUSS5, "Gauss 5x5"},
                      {ID_FILTER_SHARPEN, "Schärfen"},
                      {ID_FILTER_EDGE, "Kante"},
                      {ID_FILTER_EMBOSS, "Ausarbeiten"},
                      kSeparator,
                      {ID_FILTER_NOISE, "Rauschen hinzufügen"},
                      {ID_FILTER_MEDIAN, "Median"},
                      {ID_FILTER_ERODE, "Erodieren"},
                      {ID_FILTER_DILATE, "Erweitern"},
                      {ID_FILTER_CONTOUR, "Konturen"},
                      {ID_FILTER_EDGES, "Kanten"},
                      {ID_FILTER_JITTER, "Bildschwankungen"},
                      kSeparator,
                      {0,
                       "Kreis umformen",
                       {{ID_CIRCLE_PINCH, "Quetschen"},
                        {ID_CIRCLE_PUNCH, "Dehnen"},
                        {ID_CIRCLE_SWIRL, "Drehen"},
                        {ID_CIRCLE_CYLINDER, "Zylinder"},
                        {ID_CIRCLE_BATHROOM, "Badezimmer"}}}}};
    MenuItem fluorescence{0,
                          "Fluorescence(&U)",
                          {{ID_WHITE_BALANCE, "Weißabgleich"}, {ID_IMAGE_REPAIR, "Wiederherstellen..."}}};
    MenuItem measure{0,
                     "&Messen",
                     {{32781, "Auswählen"},
                      {32773, "Linie"},
                      {32774, "Rechteck"},
                      {32775, "Kreis"},
                      {32776, "Polygon"},
                      {32777, "Winkel"},
                      {32779, "Punkt"},
                      {32780, "Beschriftung"},
                      kSeparator,
                      {32771, "Kalibrierung..."},
                      {32772, "Messtabelle"},
                      {32778, "Maßstab"},
                      {0,
                       "Zoom",
                       {{32782, "50%"}, {32783, "75%"}, {32784, "100%"}, {32785, "150%"}, {32786, "200%"}}},
                      {0,
                       "Farben",
                       {{32787, "Linienfarbe..."}, {32788, "Textfarbe..."}, {32789, "Füllfarbe..."}}},
                      {0,
                       "Linienstärke",
                       {{32790, "1 Punkt"}, {32791, "2 Punkte"}, {32792, "3 Punkte"}, {32793, "5 Punkte"}}},
                      {32794, "Schrift..."},
                      {32795, "Löschen"},
                      {32796, "Alles löschen"},
                      kSeparator,
                      {32797, "Messdaten speichern"},
                      {32798, "Messdaten öffnen"}}};
    MenuItem window{0,
                    "&Fenster",
                    {{ID_WINDOW_CASCADE, "&Überlappend"},
                     {ID_WINDOW_TILE_HORZ, "&Nebeneinander"},
                     {ID_WINDOW_ARRANGE, "&Symbole anordnen"}}};
    return {IDR_VISTORTYPE, {file, edit, view, image, filters, fluorescence, measure, window, kHelp}};
}

DialogTemplate MakePaletteDialog() {
    return {
        IDD_PALETTE,
        "Palette",
        270,
        136,
        {{IDOK, DialogControlKind::DefPushButton, "OK", 159, 7, 50, 16},
         {IDCANCEL, DialogControlKind::PushButton, "Abbrechen", 214, 7, 50, 16},
         {IDC_PAL_LOAD, DialogControlKind::PushButton, "Laden", 159, 29, 50, 16},
         {IDC_PAL_SAVE, DialogControlKind::PushButton, "Sichern", 214, 29, 50, 16},
         {0, DialogControlKind::GroupBox, "Optionen laden", 148, 52, 116, 48},
         {IDC_PAL_MAINTAIN, DialogControlKind::RadioButton, "Maintain indexes", 150, 64, 91, 10},
         {IDC_PAL_NEAREST, DialogControlKind::RadioButton, "Nearest color matching", 150, 75, 105, 10},
         {IDC_PAL_DITHER, DialogControlKind::RadioButton, "Error diffusion dithering", 150, 87, 113, 10},
         {IDC_PAL_EDIT_ALPHA, DialogControlKind::CheckBox, "Alpha Komponeten editieren", 149, 105, 117, 10},
         {IDC_PAL_STATUS, DialogControlKind::Static, " I = 0, RGBA = (0,0,0,0)", 143, 117, 121, 12}}};
}

DialogTemplate MakeHistogramBar() {
    return {IDD_HISTOGRAM, "", 0, 0, {{IDC_HIST_LOG, DialogControlKind::CheckBox, "log", 148, 7, 30, 15}}};
}

DialogTemplate MakeAboutBox() {
    return {IDD_ABOUTBOX,
            "About Vistorel SoftWare",
            235,
            78,
            {{IDC_ABOUT_ICON, DialogControlKind::Picture, "", 11, 14, 24, 24},
             {IDC_ABOUT_TEXT, DialogControlKind::Static,
              "Vistorel Version 6.1.4.0\nBildverarbeitung für digitale Mikroskopkameras", 44, 12, 180, 26},
             {IDC_HYPERLINK, DialogControlKind::Static, "", 44, 44, 180, 10},
             {IDOK, DialogControlKind::DefPushButton, "OK", 174, 58, 50, 14}}};
}

DialogTemplate MakeCapturePage() {
    return {IDD_PAGE_CAPTURE,
            "",
            170,
            150,
            {{0, DialogControlKind::Static, "Kamera ", 8, 16, 29, 8},
             {IDC_CAMERA_NAME, DialogControlKind::Edit, "", 5, 26, 99, 14, DS_READONLY | DS_CENTER_TEXT},
             {IDC_FIND_CAMERA, DialogControlKind::PushButton, "Kamera suchen", 105, 24, 61, 16},
             {0, DialogControlKind::Static, "Auflösung:", 6, 43, 50, 8},
             {IDC_RESOLUTION, DialogControlKind::ComboBox, "", 5, 55, 99, 97},
             {IDC_PREVIEW_BUTTON, DialogControlKind::PushButton, "Vorschau", 105, 52, 61, 16},
             {IDC_REFRESH_PREVIEW, DialogControlKind::PushButton, "Aktualisiere Vorschau", 102, 76, 64, 16},
             {IDC_AUTO_WHITE_BALANCE, DialogControlKind::PushButton, "Auto Weißabgleich", 5, 76, 87, 16},
             {IDC_AREA_WHITE_BALANCE, DialogControlKind::PushButton, "Area Weißabgleich", 5, 99, 87, 16},
             {IDC_CAMERA_CONFIG, DialogControlKind::PushButton, "Konfiguration", 102, 99, 64, 16},
             {IDC_EXPOSURE, DialogControlKind::PushButton, "Belichtung", 103, 124, 64, 16, DS_HIDDEN}}};
}

DialogTemplate MakeSavePanel() {
    return {
        IDD_SAVE_PANEL,
        "",
        180,
        84,
        {{IDC_SAVE_STILL, DialogControlKind::PushButton, "Speichern", 15, 16, 61, 16, DS_DISABLED},
         {IDC_SAVE_VIDEO, DialogControlKind::PushButton, "Video Aufnahme", 106, 16, 61, 16, DS_DISABLED},
         {IDC_SAVE_CONFIG, DialogControlKind::PushButton, "Konfiguration", 15, 38, 61, 16},
         {IDC_SAVE_COMPRESSOR, DialogControlKind::PushButton, "Video Compress", 106, 38, 61, 16, DS_DISABLED},
         {IDC_SAVE_OPEN_FOLDER, DialogControlKind::PushButton, "öffnen...", 15, 61, 61, 16}}};
}

DialogTemplate MakeCaptureConfig() {
    return {IDD_CAPTURE_CONFIG,
            "Capture Config",
            248,
            160,
            {{0, DialogControlKind::Static, "Dateiname", 7, 20, 39, 9},
             {IDC_CONFIG_NAME, DialogControlKind::Edit, "", 47, 18, 54, 14},
             {0, DialogControlKind::Static, "+", 105, 20, 8, 8},
             {IDC_CONFIG_NUMBERED, DialogControlKind::PushButton, "Num", 114, 16, 61, 15},
             {0, DialogControlKind::Static, "+", 181, 22, 8, 8},
             {IDC_CONFIG_FILE_TYPE, DialogControlKind::ComboBox, "", 190, 18, 37, 41},
             {IDC_CONFIG_TIMESTAMP, DialogControlKind::CheckBox, "Zeitstempel Dateiname", 47, 38, 116, 11},
             {0, DialogControlKind::Static, "Zaehlen:", 10, 66, 36, 8},
             {IDC_CONFIG_COUNT, DialogControlKind::Edit, "", 47, 63, 35, 14},
             {IDC_CONFIG_COUNT_SPIN, DialogControlKind::Custom, "", 75, 63, 11, 14},
             {0, DialogControlKind::Static, "Zeitabstand:", 138, 66, 49, 8},
             {IDC_CONFIG_INTERVAL, DialogControlKind::Edit, "", 188, 63, 30, 14},
             {IDC_CONFIG_INTERVAL_SPIN, DialogControlKind::Custom, "", 218, 62, 11, 14},
             {0, DialogControlKind::Static, "(S)", 230, 65, 13, 8},
             {0, DialogControlKind::Static, "Pfad", 21, 94, 22, 11},
             {IDC_CONFIG_FOLDER, DialogControlKind::Edit, "", 46, 92, 176, 15, DS_READONLY},
             {IDC_CONFIG_BROWSE, DialogControlKind::PushButton, "Durchsuchen", 172, 108, 50, 17},
             {IDC_CONFIG_SAVE, DialogControlKind::DefPushButton, "Speichern", 7, 116, 50, 17, DS_HIDDEN},
             {IDOK, DialogControlKind::PushButton, "OK", 96, 136, 50, 17}}};
}

DialogTemplate MakeImageBrowser() {
    return {IDD_IMAGE_BROWSER,
            "",
            160,
            145,
            {{IDC_BROWSER_PICTURE, DialogControlKind::Picture, "", 20, 17, 15, 15},
             {IDC_BROWSER_PREVIOUS, DialogControlKind::PushButton, "<<", 47, 1, 18, 14},
             {IDC_BROWSER_COUNTER, DialogControlKind::Static, "", 65, 5, 43, 10, DS_CENTER_TEXT},
             {IDC_BROWSER_NEXT, DialogControlKind::PushButton, ">>", 108, 2, 17, 14},
             {IDC_BROWSER_LIST, DialogControlKind::ComboBox, "", 136, 95, 17, 30, DS_HIDDEN},
             {IDC_BROWSER_OPEN, DialogControlKind::PushButton, "Bild öffnen\n", 53, 126, 69, 14}}};
}

} // namespace

void RegisterPictures() { InitResourcePictures(); }

const MenuTemplate& Menu(int id) {
    static const MenuTemplate menu128 = MakeDefaultMenu();
    static const MenuTemplate menu235 = MakeCameraMenu();
    static const MenuTemplate menu236 = MakeImageMenu();
    static const MenuTemplate none;
    switch (id) {
    case IDR_MAINFRAME: return menu128;
    case IDR_CAMERA_MENU: return menu235;
    case IDR_VISTORTYPE: return menu236;
    default: return none;
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
        {IDS_APP_TITLE, "Vistorel"},
        {IDS_IDLE_MESSAGE, "Bereit"},
        {IDR_VISTORTYPE, "\nVistorel\nVistorel\n\n\nVistorel.Document\nVistorel Document"},
        {IDD_PREVIEW, "Kamera Vorschau"},
        {IDP_CONTROL, "Vistorel\nVistorel"},
        {IDD_HISTOGRAM, "Histo"},
        {IDD_SAVE_PANEL, "speichern Konfiguration"},
        {IDD_IMAGE_BROWSER, "Bildvorschau"},
        {IDS_CLOSE, "Schließen"},
        {IDS_SAVE_FILE, "Datei speichern"},
        {IDS_SAVING_IMAGE, "Bild speichern"},
        {ID_INDICATOR_CAPS, "CAP"},
        {ID_INDICATOR_NUM, "NUM"},
        {ID_INDICATOR_SCRL, "SCRL"},
    };
    auto it = table.find(id);
    return it == table.end() ? QString() : QString::fromUtf8(it->second);
}

const DialogTemplate* Dialog(int id) {
    static const DialogTemplate palette = MakePaletteDialog();
    static const DialogTemplate histogramBar = MakeHistogramBar();
    static const DialogTemplate about = MakeAboutBox();
    static const DialogTemplate capturePage = MakeCapturePage();
    static const DialogTemplate savePanel = MakeSavePanel();
    static const DialogTemplate captureConfig = MakeCaptureConfig();
    static const DialogTemplate imageBrowser = MakeImageBrowser();
    switch (id) {
    case IDD_PALETTE: return &palette;
    case IDD_HISTOGRAM: return &histogramBar;
    case IDD_ABOUTBOX: return &about;
    case IDD_PAGE_CAPTURE: return &capturePage;
    case IDD_SAVE_PANEL: return &savePanel;
    case IDD_CAPTURE_CONFIG: return &captureConfig;
    case IDD_IMAGE_BROWSER: return &imageBrowser;
    default: return PreviewDialog(id);
    }
}

} // namespace resources
