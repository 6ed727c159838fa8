// Numbered messages between pages, panels, views and the main frame.
// Results: 0 done, 1 refused (unless a message says otherwise).
#pragma once

#include "PlatformTypes.h"

enum UserMessage : UINT {
    UM_UPDATE_IMAGE = WM_USER + 1,      // 1025: worker finished / image replaced
    UM_PROGRESS = WM_USER + 2,          // 1026: wParam percent
    UM_CAPTURE = WM_USER + 201,         // 1225: capture a series of stills
    UM_VIDEO_START = WM_USER + 202,     // 1226
    UM_VIDEO_STOP = WM_USER + 203,      // 1227
    UM_CAPTURE_CONFIG = WM_USER + 204,  // 1228: open the capture configuration dialog
    UM_OPEN_CAPTURE_FOLDER = WM_USER + 205, // 1229
    UM_LONG_EXPOSURE_END = WM_USER + 206,   // 1230
    UM_CAPTURE_DONE = WM_USER + 207,    // 1231: to the save panel
    UM_VIDEO_COMPRESSOR = WM_USER + 208, // 1232
    UM_OPEN_IMAGE = WM_USER + 211,      // 1235: lParam = const QString* path
    UM_CONFIG_DIALOG_DONE = WM_USER + 221, // 1245
    UM_DETECT_CAMERAS = WM_USER + 231,  // 1255
    UM_PREVIEW_START = WM_USER + 232,   // 1256
    UM_PREVIEW_STOP = WM_USER + 233,    // 1257
    UM_PREVIEW_REFRESH = WM_USER + 234, // 1258
    UM_AUTO_WHITE_BALANCE = WM_USER + 235, // 1259
    UM_AREA_WHITE_BALANCE = WM_USER + 236, // 1260
    UM_CAMERA_SETTINGS = WM_USER + 237, // 1261
    UM_EXPOSURE_SETTINGS = WM_USER + 238, // 1262
    UM_FILL_RESOLUTIONS = WM_USER + 239, // 1263
    UM_CAMERA_RELEASE = WM_USER + 240,  // 1264
    UM_CAMERA_SELECT = WM_USER + 246,   // 1270 to the frame; camera state to pages
    UM_CAMERA_REMOVED = WM_USER + 247,  // 1271
    UM_CAMERA_FRAME = WM_USER + 249,    // 1273
    // Window-system messages the frame handles.
    UM_HOTKEY = 0x0312,                 // wParam: hot-key id
};

constexpr LRESULT MSG_DONE = 0;
constexpr LRESULT MSG_REFUSED = 1;
