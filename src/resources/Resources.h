// The program's resource tables: menus, tool bar, accelerators, strings and
// dialog templates, looked up by id.
#pragma once

#include "DialogTemplate.h"
#include "MenuTemplate.h"

#include <QKeySequence>
#include <QString>

#include <vector>

struct Accelerator {
    QKeySequence keys;
    int id;
};

namespace resources {

// Menu 128, 235 or 236; an empty template for any other id.
const MenuTemplate& Menu(int id);
// Tool bar 128 in button order; 0 stands for a separator.
const std::vector<int>& ToolBar();
const std::vector<Accelerator>& Accelerators();
// The string table; empty for an unknown id.
QString String(int id);
// Dialog templates; null for an unknown id.
const DialogTemplate* Dialog(int id);

} // namespace resources
