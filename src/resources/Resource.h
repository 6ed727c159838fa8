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

// Strings
constexpr int IDS_APP_TITLE = 57344;
constexpr int IDS_IDLE_MESSAGE = 57345;
constexpr int IDS_CLOSE = 32920;
constexpr int IDS_SAVE_FILE = 61446;
constexpr int IDS_SAVING_IMAGE = 32921;

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
constexpr int ID_FULL_SCREEN = 32872;
constexpr int ID_MENU_CLASSIC = 32846;
constexpr int ID_MENU_XP = 32847;
constexpr int ID_TAB_IMAGE_REFRESH = 61456;
constexpr int ID_HOTKEY_CAPTURE = 40962;

// Document and view commands (their handlers come with the document windows)
constexpr int ID_DUPLICATE = 33776;
constexpr int ID_IMAGE_OPTIONS = 33797;
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
constexpr int ID_SHOW_SCALE = 33011;
constexpr int ID_MEASURE_UNDO = 32999;
constexpr int ID_MEASURE_REDO = 33000;
constexpr int ID_MEASURE_FIRST = 32771;
constexpr int ID_MEASURE_LAST = 32798;
