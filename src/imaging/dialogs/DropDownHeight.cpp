#include "DropDownHeight.h"

#include <QComboBox>

void FitDropDowns(QWidget* dialog) {
    for (QComboBox* list : dialog->findChildren<QComboBox*>())
        list->resize(list->width(), list->sizeHint().height());
}
