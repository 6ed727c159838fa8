// Drop-down lists in a template give the height of their open list; closed,
// the box itself is one line high.
#pragma once

class QWidget;

// Makes every drop-down list of the dialog one line high.
void FitDropDowns(QWidget* dialog);
