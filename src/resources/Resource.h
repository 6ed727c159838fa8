// Resource and command ids of the program: menus, tool bars, dialogs, panes,
// strings and commands. The standard framework ids are in CommandIds.h.
#pragma once

#include "CommandIds.h"

// Menus, tool bars, templates
constexpr int IDR_MAINFRAME = 128;    // default menu, tool bar, accelerators, document template
constexpr int IDR_CAMERA_MENU = 235;  // camera-mode menu
constexpr int IDR_VISTORTYPE = 236;   // image-processing menu, the documents' shared menu
constexpr int IDR_TOOLBAR_EXTRA = 149; // lends bitmaps to the menus only
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDC_HYPERLINK = 1125;
constexpr int IDC_ABOUT_TEXT = 1126;
constexpr int IDC_ABOUT_ICON = 1127;

// Dialogs of the pages and panels
constexpr int IDD_PAGE_IMAGEPROC = 169;
constexpr int IDD_PAGE_CAPTURE = 170;

// Docking panes (their titles are the strings with the same id)
constexpr int IDD_PREVIEW = 233;
constexpr int IDP_CONTROL = 1033;
constexpr int IDD_HISTOGRAM = 237;
constexpr int IDD_SAVE_PANEL = 240;
constexpr int IDD_IMAGE_BROWSER = 219;
constexpr int IDC_PREVIEW_DISPLAY = 1109;
constexpr int IDC_PICK_CURSOR = 239; // cursor of the white-point pick

// Controls of the camera page (template 170)
constexpr int IDC_CAMERA_NAME = 1113;
constexpr int IDC_FIND_CAMERA = 1114;
constexpr int IDC_RESOLUTION = 1040;
constexpr int IDC_PREVIEW_BUTTON = 1033;
constexpr int IDC_REFRESH_PREVIEW = 1110;
constexpr int IDC_AUTO_WHITE_BALANCE = 1115;
constexpr int IDC_AREA_WHITE_BALANCE = 1118;
constexpr int IDC_CAMERA_CONFIG = 1043;
constexpr int IDC_EXPOSURE = 1038;

// Controls of the save panel (template 240)
constexpr int IDC_SAVE_STILL = 1124;
constexpr int IDC_SAVE_VIDEO = 1031;
constexpr int IDC_SAVE_CONFIG = 1032;
constexpr int IDC_SAVE_COMPRESSOR = 1127;
constexpr int IDC_SAVE_OPEN_FOLDER = 1123;
constexpr int IDC_SAVE_EDF = 1350;      // live focus stacking
constexpr int IDC_SAVE_PANORAMA = 1351; // live stitching

// The capture configuration dialog (template 220)
constexpr int IDD_CAPTURE_CONFIG = 220;
constexpr int IDC_CONFIG_NAME = 1099;
constexpr int IDC_CONFIG_NUMBERED = 1119;
constexpr int IDC_CONFIG_FILE_TYPE = 1100;
constexpr int IDC_CONFIG_TIMESTAMP = 1101;
constexpr int IDC_CONFIG_COUNT = 1120;
constexpr int IDC_CONFIG_COUNT_SPIN = 1121;
constexpr int IDC_CONFIG_INTERVAL = 1122;
constexpr int IDC_CONFIG_INTERVAL_SPIN = 1123;
constexpr int IDC_CONFIG_FOLDER = 1105;
constexpr int IDC_CONFIG_BROWSE = 1064;
constexpr int IDC_CONFIG_SAVE = 1036;

// Controls of the image browser (template 219)
constexpr int IDC_BROWSER_PICTURE = 1103;
constexpr int IDC_BROWSER_PREVIOUS = 1107;
constexpr int IDC_BROWSER_COUNTER = 1108;
constexpr int IDC_BROWSER_NEXT = 1031;
constexpr int IDC_BROWSER_LIST = 1106;
constexpr int IDC_BROWSER_OPEN = 1104;

// Pictures of the widgets: dialog icons and the slider's channel and thumb
constexpr int IDI_DLG_CANCEL = 154;
constexpr int IDI_DLG_OK = 155;
constexpr int IDI_DLG_INFO = 156;
constexpr int IDB_SLIDER_CHANNEL = 184;
constexpr int IDB_SLIDER_CHANNEL_ACTIVE = 185;
constexpr int IDB_SLIDER_THUMB = 186;
constexpr int IDB_SLIDER_THUMB_ACTIVE = 187;

// Controls of the image-processing page (template 169)
constexpr int IDC_IP_CROP = 1038;
constexpr int IDC_IP_RESAMPLE = 1037;
constexpr int IDC_IP_MIRROR = 1043;
constexpr int IDC_IP_FLIP = 1031;
constexpr int IDC_IP_ROTATE_LEFT = 1032;
constexpr int IDC_IP_ROTATE_RIGHT = 1034;
constexpr int IDC_IP_ROTATE = 1035;
constexpr int IDC_IP_REPAIR = 1055;
constexpr int IDC_IP_SHARPEN = 1033;
constexpr int IDC_IP_BLUR = 1039;
constexpr int IDC_IP_LIGHT = 1040;
constexpr int IDC_IP_CONTRAST = 1042;
constexpr int IDC_IP_HEADING = 1116;
constexpr int IDC_IP_GAMMA = 1049;
constexpr int IDC_IP_COLORIZE = 1048;
constexpr int IDC_IP_MIX = 1056;
constexpr int IDC_IP_COMBINE = 1053;

// Preview, combination and settings dialogs
constexpr int IDD_OPTIONS = 145;
constexpr int IDD_COLORIZE = 149;
constexpr int IDD_GAMMA = 152;
constexpr int IDD_COMBINE = 159;
constexpr int IDD_FFT = 161;
constexpr int IDD_TEXT = 163;
constexpr int IDD_MIX = 165;
constexpr int IDD_LIGHT_CONTRAST = 188;
constexpr int IDC_SHOW_EXIF = 3;           // options: "Beenden" shows the EXIF summary
constexpr int IDC_CHOOSE_COLOUR = 3;       // colorize: "Farben..."
constexpr int IDC_CHOOSE_FONT = 3;         // text: "Zeichensatz"

// Brightness and contrast dialog (template 188)
constexpr int IDC_LC_DOCUMENT = 1069;
constexpr int IDC_LC_VALUE = 1068;
constexpr int IDC_LC_SLIDER = 1066;
constexpr int IDC_LC_PREVIEW = 1067;

// Colorize (template 149)
constexpr int IDC_COL_HUE = 1000;
constexpr int IDC_COL_SATURATION = 1001;
constexpr int IDC_COL_RED = 1002;
constexpr int IDC_COL_GREEN = 1003;
constexpr int IDC_COL_BLUE = 1004;
constexpr int IDC_COL_HSL = 1005;
constexpr int IDC_COL_RGB = 1006;
constexpr int IDC_COL_BLEND = 1007;
constexpr int IDC_COL_PREVIEW = 1062;
constexpr int IDC_COL_DOCUMENT = 1063;

// Gamma (template 152)
constexpr int IDC_GAM_VALUE = 1000;
constexpr int IDC_GAM_SLIDER = 1003;
constexpr int IDC_GAM_PREVIEW = 1059;
constexpr int IDC_GAM_DOCUMENT = 1060;

// Combine (template 159)
constexpr int IDC_CMB_SOURCE_RED = 1010;
constexpr int IDC_CMB_SOURCE_GREEN = 1011;
constexpr int IDC_CMB_SOURCE_BLUE = 1012;
constexpr int IDC_CMB_SOURCE_ALPHA = 1013;
constexpr int IDC_CMB_PLANE_RED = 1014;
constexpr int IDC_CMB_COLOUR_SPACE = 1015;
constexpr int IDC_CMB_PLANE_GREEN = 1018;
constexpr int IDC_CMB_PLANE_BLUE = 1019;
constexpr int IDC_CMB_PLANE_ALPHA = 1020;

// FFT (template 161)
constexpr int IDC_FFT_INVERSE = 1002;
constexpr int IDC_FFT_MAGNITUDE = 1003;
constexpr int IDC_FFT_FORCE = 1004;
constexpr int IDC_FFT_REAL = 1015;
constexpr int IDC_FFT_IMAG = 1016;

// Text (template 163)
constexpr int IDC_TXT_TEXT = 1000;
constexpr int IDC_TXT_BACKGROUND = 1002;
constexpr int IDC_TXT_CENTRE = 1003;
constexpr int IDC_TXT_RIGHT = 1004;
constexpr int IDC_TXT_LEFT = 1005;
constexpr int IDC_TXT_TEXT_COLOUR = 1021;
constexpr int IDC_TXT_BACK_COLOUR = 1022;
constexpr int IDC_TXT_OPACITY = 1023;
constexpr int IDC_TXT_RADIUS = 1024;
constexpr int IDC_TXT_OPACITY_LABEL = 1025;
constexpr int IDC_TXT_RADIUS_LABEL = 1026;

// Mix (template 165)
constexpr int IDC_MIX_X = 1000;
constexpr int IDC_MIX_Y = 1001;
constexpr int IDC_MIX_ALPHA = 1002;
constexpr int IDC_MIX_DESTINATION = 1027;
constexpr int IDC_MIX_SOURCE = 1028;
constexpr int IDC_MIX_OPERATION = 1029;
constexpr int IDC_MIX_PREVIEW_BUTTON = 1030;
constexpr int IDC_MIX_PREVIEW = 1031;

// Options (template 145)
constexpr int IDC_OPT_QUALITY = 1000;
constexpr int IDC_OPT_XDPI = 1001;
constexpr int IDC_OPT_YDPI = 1002;
constexpr int IDC_OPT_TIF_AUTO = 1003;
constexpr int IDC_OPT_TIF_NONE = 1004;
constexpr int IDC_OPT_TIF_RLE = 1005;
constexpr int IDC_OPT_TIF_FAX = 1006;
constexpr int IDC_OPT_TIF_PACKBITS = 1007;
constexpr int IDC_OPT_TIF_JPEG = 1008;
constexpr int IDC_OPT_TIF_LZW = 1108;
constexpr int IDC_OPT_GIF_LZW = 1010;
constexpr int IDC_OPT_GIF_NONE = 1011;
constexpr int IDC_OPT_GIF_RLE = 1012;
constexpr int IDC_OPT_PNG_PLAIN = 1013;
constexpr int IDC_OPT_PNG_INTERLACED = 1014;
constexpr int IDC_OPT_JPG_BASELINE = 1015;
constexpr int IDC_OPT_JPG_PROGRESSIVE = 1016;
constexpr int IDC_OPT_JPG_OPTIMISE = 1032;

// Strings
constexpr int IDS_APP_TITLE = 57344;
constexpr int IDS_IDLE_MESSAGE = 57345;
constexpr int IDS_CLOSE = 32920;
constexpr int IDS_SAVE_FILE = 61446;
constexpr int IDS_SAVING_IMAGE = 32921;
constexpr int IDS_LANGUAGE_NEXT_START = 32952;

// Status bar panes
constexpr int ID_SEPARATOR = 0;
constexpr int ID_INDICATOR_1 = 59142;
constexpr int ID_INDICATOR_2 = 59143;
constexpr int ID_INDICATOR_3 = 59144;
constexpr int ID_INDICATOR_4 = 59145;
constexpr int ID_INDICATOR_CAPS = 59137;
constexpr int ID_INDICATOR_NUM = 59138;
constexpr int ID_INDICATOR_SCRL = 59139;

// Application and frame commands
constexpr int ID_CLOSE_ALL = 33791;
constexpr int ID_NEW_DOCUMENT = 32929;
constexpr int ID_MODE_CAMERA = 33002;
constexpr int ID_MODE_IMAGE = 33001;
constexpr int ID_CAMERA_PREVIEW = 33005;
constexpr int ID_CAPTURE_CONTROL = 33003;
constexpr int ID_CAPTURE_PICTURE = 33004;
constexpr int ID_VIEW_HISTOGRAM = 32876;
constexpr int ID_VIEW_PALETTE = 32877;
// "Ansicht": each pane shown or hidden, with its check mark.
constexpr int ID_VIEW_PANE_CONTROL = 33930;
constexpr int ID_VIEW_PANE_PREVIEW = 33931;
constexpr int ID_VIEW_PANE_SAVE = 33932;
constexpr int ID_VIEW_PANE_BROWSER = 33933;
constexpr int ID_VIEW_PANE_HISTOGRAM = 33934;
// Palette dialog (158) and histogram bar (237).
constexpr int IDD_PALETTE = 158;
constexpr int IDC_PAL_MAINTAIN = 1003;
constexpr int IDC_PAL_NEAREST = 1004;
constexpr int IDC_PAL_DITHER = 1005;
constexpr int IDC_PAL_LOAD = 1006;
constexpr int IDC_PAL_SAVE = 1007;
constexpr int IDC_PAL_EDIT_ALPHA = 1008;
constexpr int IDC_PAL_STATUS = 1009;
constexpr int IDC_HIST_LOG = 1006;
constexpr int ID_FULL_SCREEN = 32872;
constexpr int ID_MENU_CLASSIC = 32846;
constexpr int ID_MENU_XP = 32847;
// "Ansicht > Sprache": the language the next start uses.
constexpr int ID_LANGUAGE_GERMAN = 32950;
constexpr int ID_LANGUAGE_ENGLISH = 32951;
constexpr int ID_TAB_IMAGE_REFRESH = 61456;
constexpr int ID_HOTKEY_CAPTURE = 40962;

// Document and view commands (their handlers come with the document windows)
constexpr int ID_DUPLICATE = 33776;
constexpr int ID_IMAGE_OPTIONS = 33797;
// Writes what the view shows (zoom, measurements and scale bar burnt in).
constexpr int ID_FILE_EXPORT_VIEW = 33900;
// Several open pictures into one: focus stacking and stitching.
constexpr int ID_IMAGE_FOCUS_STACK = 33901;
constexpr int ID_IMAGE_STITCH = 33902;
constexpr int ID_TOOL_MOVE = 32869;
constexpr int ID_TOOL_SELECT = 32871;
constexpr int ID_TOOL_ZOOM = 32874;
constexpr int ID_TOOL_TEXT = 32886;
constexpr int ID_TOOL_TRACK = 32916;
constexpr int ID_STRETCH_MODE = 33771;
constexpr int ID_SMOOTH = 32919;
constexpr int ID_ZOOM_IN = 33786;
constexpr int ID_ZOOM_OUT = 33787;
constexpr int ID_ZOOM_NORMAL = 33788;
// Zoom that shows the whole picture in the window, staying in zoom mode.
constexpr int ID_ZOOM_FIT = 33910;
// Stops the running operation of the active document (the status bar's button).
constexpr int ID_CANCEL_OPERATION = 33911;
// "Messen > Linienprofil": the grey profile along the selected (or last) line.
constexpr int ID_MEASURE_PROFILE = 33912;
constexpr int ID_SHOW_SCALE = 33011;
constexpr int ID_MEASURE_UNDO = 32999;
constexpr int ID_MEASURE_REDO = 33000;
constexpr int ID_MEASURE_FIRST = 32771;
constexpr int ID_MEASURE_LAST = 32798;

// Processing commands of the menus "&Bildbearbeitung", "Filters(&L)" and
// "Fluorescence(&U)" (handled by the document; the page buttons send them too)
constexpr int ID_IMAGE_MIRROR = 33774;          // "Spiegeln"
constexpr int ID_IMAGE_FLIP = 33775;            // "Drehen"
constexpr int ID_IMAGE_ROTATE_LEFT = 32855;
constexpr int ID_IMAGE_ROTATE_RIGHT = 32856;
constexpr int ID_IMAGE_ROTATE = 33779;          // "Drehen..."
constexpr int ID_IMAGE_RESAMPLE = 33794;
constexpr int ID_IMAGE_SKEW = 32915;
constexpr int ID_IMAGE_CROP = 32848;
constexpr int ID_IMAGE_ELLIPSE = 33772;         // "Ellipse umformen"
constexpr int ID_IMAGE_NEGATIVE = 33777;
constexpr int ID_IMAGE_GRAYSCALE = 33778;       // "Grau Anzeige"
constexpr int ID_IMAGE_PSEUDO_COLOURS = 32803;
constexpr int ID_IMAGE_DECREASE_BPP = 33795;
constexpr int ID_IMAGE_INCREASE_BPP = 33796;
constexpr int ID_IMAGE_DITHER = 33798;
constexpr int ID_IMAGE_THRESHOLD = 33799;
constexpr int ID_IMAGE_LIGHTEN = 32809;         // "Helligkeit"
constexpr int ID_IMAGE_DARKEN = 32810;
constexpr int ID_IMAGE_MORE_CONTRAST = 32811;
constexpr int ID_IMAGE_LESS_CONTRAST = 32900;
constexpr int ID_IMAGE_USER_LIGHT = 32944;      // "Anwender Helligkeit"; also the worker op of both
constexpr int ID_IMAGE_USER_CONTRAST = 32945;   // "Anwender Kontrast"
constexpr int ID_IMAGE_GAMMA = 32863;
constexpr int ID_IMAGE_COLORIZE = 32808;
constexpr int ID_HISTOGRAM_STRETCH = 32889;     // the three "Strecken"
constexpr int ID_HISTOGRAM_STRETCH1 = 32911;
constexpr int ID_HISTOGRAM_STRETCH2 = 32912;
constexpr int ID_HISTOGRAM_EQUALIZE = 32890;
constexpr int ID_HISTOGRAM_NORMALIZE = 32891;
constexpr int ID_HISTOGRAM_LOG = 32894;
constexpr int ID_HISTOGRAM_ROOT = 32895;
constexpr int ID_SPLIT_RGB = 32800;
constexpr int ID_SPLIT_YUV = 32801;
constexpr int ID_SPLIT_HSL = 32802;
constexpr int ID_SPLIT_YIQ = 32881;
constexpr int ID_SPLIT_XYZ = 32882;
constexpr int ID_SPLIT_CMYK = 32887;
constexpr int ID_ALPHA_OPACITY = 32851;         // "Deckkraft..."
constexpr int ID_ALPHA_DELETE = 32850;          // "Entfernen"
constexpr int ID_ALPHA_INVERT = 32852;          // "Vertauschen"
constexpr int ID_ALPHA_PALETTE_TOGGLE = 32853;
constexpr int ID_ALPHA_STRIP = 32854;           // "Streifen"
constexpr int ID_ALPHA_FROM_LIGHTNESS = 32888;  // "Erstellen Helligkeit"
constexpr int ID_ALPHA_SPLIT = 32885;           // "Farbe Umwandeln"
constexpr int ID_TRANSPARENCY_SET = 33792;
constexpr int ID_TRANSPARENCY_REMOVE = 33793;
constexpr int ID_IMAGE_COMBINE = 32879;
constexpr int ID_IMAGE_FFT = 32880;
constexpr int ID_IMAGE_MIX = 32903;
constexpr int ID_IMAGE_JPEG_COMPRESSION = 32918;
constexpr int ID_FILTER_BLUR = 32813;           // "Verwischen"
constexpr int ID_FILTER_SOFTEN = 32814;         // "Weichzeichnen"
constexpr int ID_FILTER_GAUSS3 = 32896;
constexpr int ID_FILTER_GAUSS5 = 32897;
constexpr int ID_FILTER_SHARPEN = 32815;        // "Schärfen"
constexpr int ID_FILTER_EDGE = 32816;           // "Kante"
constexpr int ID_FILTER_EMBOSS = 32812;         // "Ausarbeiten"
constexpr int ID_FILTER_NOISE = 32865;
constexpr int ID_FILTER_MEDIAN = 32864;
constexpr int ID_FILTER_ERODE = 32817;
constexpr int ID_FILTER_DILATE = 32818;
constexpr int ID_FILTER_CONTOUR = 32898;        // "Konturen"
constexpr int ID_FILTER_EDGES = 32914;          // "Kanten"
constexpr int ID_FILTER_JITTER = 32901;         // "Bildschwankungen"
constexpr int ID_CIRCLE_PINCH = 32904;          // "Quetschen"
constexpr int ID_CIRCLE_PUNCH = 32905;          // "Dehnen"
constexpr int ID_CIRCLE_SWIRL = 32906;          // "Drehen" in "Kreis umformen"
constexpr int ID_CIRCLE_CYLINDER = 32907;
constexpr int ID_CIRCLE_BATHROOM = 32909;
constexpr int ID_WHITE_BALANCE = 33006;         // "Weißabgleich"
constexpr int ID_IMAGE_REPAIR = 32883;          // "Wiederherstellen..."

// Processing parameter dialogs and the progress window
constexpr int IDD_ROTATE = 132;
constexpr int IDD_RESAMPLE = 139;
constexpr int IDD_DECREASE_BPP = 143;
constexpr int IDD_INCREASE_BPP = 144;
constexpr int IDD_DITHER = 147;
constexpr int IDD_THRESHOLD = 148;
constexpr int IDD_OPACITY = 150;
constexpr int IDD_REPAIR = 162;
constexpr int IDD_SKEW = 167;
constexpr int IDD_JPEG_COMPRESSION = 168;
constexpr int IDD_PROGRESS = 180;

// Rotate (template 132)
constexpr int IDC_ROT_ANGLE = 1000;
constexpr int IDC_ROT_KEEP_SIZE = 1002;
constexpr int IDC_ROT_INTERPOLATION = 1019;
constexpr int IDC_ROT_OVERFLOW = 1020;

// Resample (template 139)
constexpr int IDC_RES_FACTOR = 1000;
constexpr int IDC_RES_WIDTH = 1001;
constexpr int IDC_RES_HEIGHT = 1002;
constexpr int IDC_RES_BY_FACTOR = 1003;
constexpr int IDC_RES_BY_SIZE = 1004;
constexpr int IDC_RES_KEEP_ASPECT = 1008;
constexpr int IDC_RES_INTERPOLATION = 1019;

// Decrease bits per pixel (template 143)
constexpr int IDC_DBPP_MAX_COLOURS = 1000;
constexpr int IDC_DBPP_DIFFUSION = 1002;
constexpr int IDC_DBPP_1 = 1003;
constexpr int IDC_DBPP_4 = 1004;
constexpr int IDC_DBPP_8 = 1005;
constexpr int IDC_DBPP_STANDARD = 1006;
constexpr int IDC_DBPP_OPTIMISED = 1007;
constexpr int IDC_DBPP_LIMIT = 1008;

// Increase bits per pixel (template 144)
constexpr int IDC_IBPP_4 = 1003;
constexpr int IDC_IBPP_8 = 1004;
constexpr int IDC_IBPP_24 = 1005;

// Dither (template 147), in the order of the method numbers 0 to 7
constexpr int IDC_DIT_FLOYD_STEINBERG = 1003;
constexpr int IDC_DIT_ORDERED = 1004;
constexpr int IDC_DIT_BURKES = 1005;
constexpr int IDC_DIT_STUCKI = 1006;
constexpr int IDC_DIT_JARVIS = 1007;
constexpr int IDC_DIT_SIERRA = 1008;
constexpr int IDC_DIT_STEVENSON_ARCE = 1108;
constexpr int IDC_DIT_BAYER = 1010;

// Threshold (148), opacity (150)
constexpr int IDC_THR_LEVEL = 1000;
constexpr int IDC_OPA_LEVEL = 1000;

// Repair (template 162)
constexpr int IDC_REP_RADIUS = 1001;
constexpr int IDC_REP_ITERATIONS = 1002;
constexpr int IDC_REP_COLOUR_SPACE = 1015;

// Skew (template 167)
constexpr int IDC_SKW_PIVOT_X = 1000;
constexpr int IDC_SKW_PIVOT_Y = 1001;
constexpr int IDC_SKW_INTERPOLATION = 1002;
constexpr int IDC_SKW_SKEW_X = 1003;
constexpr int IDC_SKW_SKEW_Y = 1004;
constexpr int IDC_SKW_ANGLE_X = 1005;
constexpr int IDC_SKW_ANGLE_Y = 1006;
constexpr int IDC_SKW_SLOPE_X = 1007;
constexpr int IDC_SKW_SLOPE_Y = 1008;

// JPEG compression (template 168)
constexpr int IDC_JPC_QUALITY = 1000;
constexpr int IDC_JPC_JPEG = 1003;
constexpr int IDC_JPC_JPEG2000 = 1004;

// Progress window (template 180)
constexpr int IDC_PRG_BAR = 1229;
// The "&Messen" menu, handed to the measurement library
constexpr int ID_MEASURE_CALIBRATE = 32771;
constexpr int ID_MEASURE_TABLE = 32772;
constexpr int ID_MEASURE_LINE = 32773;
constexpr int ID_MEASURE_RECTANGLE = 32774;
constexpr int ID_MEASURE_ELLIPSE = 32775;
constexpr int ID_MEASURE_POLYGON = 32776;
constexpr int ID_MEASURE_ANGLE = 32777;
constexpr int ID_MEASURE_SCALE_BAR = 32778;
constexpr int ID_MEASURE_POINT = 32779;
constexpr int ID_MEASURE_TEXT = 32780;
constexpr int ID_MEASURE_SELECT = 32781;
constexpr int ID_MEASURE_ZOOM_50 = 32782;
constexpr int ID_MEASURE_ZOOM_200 = 32786;
constexpr int ID_MEASURE_LINE_COLOUR = 32787;
constexpr int ID_MEASURE_TEXT_COLOUR = 32788;
constexpr int ID_MEASURE_FILL_COLOUR = 32789;
constexpr int ID_MEASURE_WIDTH_1 = 32790;
constexpr int ID_MEASURE_WIDTH_5 = 32793;
constexpr int ID_MEASURE_FONT = 32794;
constexpr int ID_MEASURE_DELETE = 32795;
constexpr int ID_MEASURE_DELETE_ALL = 32796;
constexpr int ID_MEASURE_SAVE_DATA = 32797;
constexpr int ID_MEASURE_OPEN_DATA = 32798;

