// A QDialog built from a DialogTemplate: controls placed by dialog units and
// found by id. Buttons with id IDOK and IDCANCEL accept and reject.
#pragma once

#include <map>

#include <QDialog>
#include <QRect>
#include <QSize>

#include "DialogTemplate.h"

class CTemplateDialog : public QDialog {
    Q_OBJECT
public:
    // baseUnits: pixels per 4 horizontal and per 8 vertical dialog units;
    // empty: taken from the dialog's font.
    explicit CTemplateDialog(const DialogTemplate& tmpl, QWidget* parent = nullptr,
                             QSize baseUnits = QSize());

    QWidget* GetDlgItem(int id) const;
    template <class W> W* GetDlgItem(int id) const { return qobject_cast<W*>(GetDlgItem(id)); }
    void SetDlgItemText(int id, const QString& text);
    QString GetDlgItemText(int id) const;

    // Dialog units to pixels with this dialog's base units.
    QRect MapDialogRect(int x, int y, int cx, int cy) const;
    QSize BaseUnits() const { return m_baseUnits; }
    int TemplateId() const { return m_templateId; }

private:
    QWidget* CreateControl(const DialogControl& c);

    int m_templateId;
    QSize m_baseUnits;
    std::map<int, QWidget*> m_items;
};
