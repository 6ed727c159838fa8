// The program's resource tables: menus, tool bar, accelerators, strings and
// dialog templates, looked up by id.
#pragma once

#include <vector>

#include <QKeySequence>
#include <QString>

#include "DialogTemplate.h"
#include "MenuTemplate.h"

struct Accelerator {
    QKeySequence keys;
    int id;
};

namespace resources {

// Registers the compiled-in pictures (":/icons/..."); safe to call often.
void RegisterPictures();

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
