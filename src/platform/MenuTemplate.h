// A menu as data: items with a command id and text, separators, popups.
#pragma once

#include <vector>

struct MenuItem {
    int id = 0;                   // 0 with no text: separator
    const char* text = nullptr;   // UTF-8; "\t" starts the shortcut label
    std::vector<MenuItem> popup;  // non-empty: a popup named `text`
};

struct MenuTemplate {
    int id = 0;
    std::vector<MenuItem> popups;
};
