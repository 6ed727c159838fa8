// Driving the parameter dialogs as a user does: retype an edit, click a
// button, press OK.
#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "TemplateDialog.h"

namespace dialogtest {

inline void Retype(CTemplateDialog& dlg, int id, const QString& text) {
    auto* edit = dlg.GetDlgItem<QLineEdit>(id);
    ASSERT_NE(edit, nullptr) << "no edit " << id;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

inline void Click(CTemplateDialog& dlg, int id) {
    QWidget* w = dlg.GetDlgItem(id);
    ASSERT_NE(w, nullptr) << "no control " << id;
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
}

inline void PressOk(CTemplateDialog& dlg) { Click(dlg, IDOK); }

} // namespace dialogtest
