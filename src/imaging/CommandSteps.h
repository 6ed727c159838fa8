// The commands that change the picture without asking anything: each
// command id with the steps it runs, in one table.
#pragma once

#include <vector>

#include "ImageSteps.h"

class CCommandSteps {
public:
    // The steps of command `id`; null for a command not in the table.
    static const CImageSteps* For(int id);
    // Every command id of the table.
    static std::vector<int> Commands();
};
