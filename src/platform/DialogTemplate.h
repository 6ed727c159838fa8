// A dialog as data: a title, a size and a table of controls, each with its id,
// kind, text and rectangle in dialog units. CTemplateDialog builds it.
#pragma once

#include <cstdint>
#include <vector>

enum class DialogControlKind {
    Static,       // text label
    Picture,      // image label (icon, bitmap, display surface)
    Edit,
    PushButton,
    DefPushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    ComboBox,
    ListBox,
    Slider,
    SpinBox,
    Progress,
    Custom,       // an empty widget for the owner to fill
};

struct DialogControl {
    int id = 0;
    DialogControlKind kind = DialogControlKind::Static;
    const char* text = ""; // UTF-8
    int x = 0, y = 0, cx = 0, cy = 0; // dialog units
    uint32_t style = 0;
};

// Style bits the builder understands.
constexpr uint32_t DS_READONLY = 0x0800;   // edit: read only
constexpr uint32_t DS_MULTILINE = 0x0004;  // edit: several lines
constexpr uint32_t DS_CENTER_TEXT = 0x0001; // static: centred text
constexpr uint32_t DS_DISABLED = 0x08000000;
constexpr uint32_t DS_HIDDEN = 0x10000000;
constexpr uint32_t DS_GROUP = 0x00020000;   // radio button: starts a new group of radios
constexpr uint32_t DS_VERTICAL = 0x0008;    // slider: upright

struct DialogTemplate {
    int id = 0;
    const char* title = "";
    int cx = 0, cy = 0; // dialog units
    std::vector<DialogControl> controls;
};

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
