// Tool-bar pictures of the commands, drawn in code.
#pragma once

#include <QIcon>

// A null icon for a command without a picture.
QIcon CommandIcon(int id);
