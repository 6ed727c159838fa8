// A QDialog built from a DialogTemplate: controls placed by dialog units and
// found by id. Members bound to controls are loaded when the dialog is first
// shown and checked and stored on OK; control notifications reach the virtual
// handlers below.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <variant>
#include <vector>

#include <QDialog>
#include <QRect>
#include <QSize>
#include <QStringList>

#include "DialogTemplate.h"

class QAbstractButton;
class QButtonGroup;

class CTemplateDialog : public QDialog {
    Q_OBJECT
public:
    // baseUnits: pixels per 4 horizontal and per 8 vertical dialog units;
    // empty: taken from the dialog's font.
    explicit CTemplateDialog(const DialogTemplate& tmpl, QWidget* parent = nullptr,
                             QSize baseUnits = QSize());
    ~CTemplateDialog() override;

    QWidget* GetDlgItem(int id) const;
    template <class W> W* GetDlgItem(int id) const { return qobject_cast<W*>(GetDlgItem(id)); }
    void SetDlgItemText(int id, const QString& text);
    QString GetDlgItemText(int id) const;

    // Check boxes and radio buttons.
    bool IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, bool checked);
    // Combo and list boxes: entries and the selected row (-1 none). Like
    // the other writes of the dialog's own code to lists, these do not notify.
    void AddString(int id, const QString& text);
    void SetItems(int id, const QStringList& texts);
    int GetCurSel(int id) const;
    void SetCurSel(int id, int index);

    // Puts another widget (a subclass of the built control's kind, e.g. a
    // numeric edit or a shaded button) in the place and under the id of a
    // built control; the old control is deleted. Returns the new widget.
    QWidget* SubclassDlgItem(int id, QWidget* replacement);

    // Reads the controls into the bound members (save) or writes the members
    // to the controls. A failed check shows a message, focuses the control and
    // returns false; members read before it keep their new values.
    bool UpdateData(bool save = true);
    // For change handlers: stores every control whose value passes its checks
    // and leaves the members of the others (half-typed, empty) alone, without
    // a message. True when all passed.
    bool UpdateDataQuietly();
    // Writes the members to every control but the one being typed in, so the
    // user's text there is not reformatted under the caret.
    void UpdateDataExcept(int typingId);
    // The text of the last failed check (empty after a successful read).
    QString LastDataError() const { return m_lastDataError; }

    // Dialog units to pixels with this dialog's base units.
    QRect MapDialogRect(int x, int y, int cx, int cy) const;
    QSize BaseUnits() const { return m_baseUnits; }
    int TemplateId() const { return m_templateId; }

    // Escape, the close box and callers end the dialog through OnCancel.
    void reject() override;

    // Buttons whose text is wider than the template made them: smaller type
    // first (down to 9 pixels), then more width about their centre within the
    // dialog, so no text is cut. Templates were laid out for a narrower
    // dialog font than desktops have. `later` names texts a button shows at
    // other times, which must fit as well.
    void FitButtonTexts(const std::map<QAbstractButton*, QStringList>& later = {});

protected:
    // Binds a member to control id. By the control's kind: an edit or static
    // exchanges text (numbers parsed in full, optional inclusive range); a
    // check box a bool; the first radio of a group the checked position in
    // the group (-1 none); a combo or list box the selected row; a slider or
    // spin box its value (its range becomes the bound range). The member must
    // outlive the dialog.
    template <class T> void Bind(int id, T* member) { m_bindings.push_back({id, member, {}, {}}); }
    template <class T> void Bind(int id, T* member, double lo, double hi) {
        m_bindings.push_back({id, member, lo, hi});
    }

    // Called once, when the dialog is first shown: loads the bound members.
    // Overrides call the base first, then set up the rest.
    virtual void OnInitDialog();
    // The OK button (id IDOK): stores the members and closes when every check passes.
    virtual void OnOK();
    // The cancel button (id IDCANCEL) and Escape.
    virtual void OnCancel();

    // Notifications; none arrive while UpdateData(false) writes the controls
    // or while the list functions above fill or select.
    // An edit's text, a spin box's value or a list's selection changed.
    virtual void OnChange(int id);
    // A push button, check box or radio button was clicked.
    virtual void OnClicked(int id);
    // A slider moved to pos.
    virtual void OnSliderMoved(int id, int pos);

    void showEvent(QShowEvent* event) override;

private:
    using Member = std::variant<int*, unsigned*, uint8_t*, float*, double*, bool*, QString*>;
    struct Binding {
        int id;
        Member member;
        std::optional<double> lo, hi;
    };

    QWidget* CreateControl(const DialogControl& c);
    void Connect(int id, QWidget* w);
    bool Exchange(const Binding& b, bool save);
    bool ExchangeText(const Binding& b, QWidget* w, bool save);
    bool Fail(QWidget* w, const QString& message);

    int m_templateId;
    QSize m_baseUnits;
    std::map<int, QWidget*> m_items;
    std::vector<Binding> m_bindings;
    bool m_initialised = false;
    bool m_loading = false; // UpdateData(false) is writing the controls
    bool m_quiet = false;   // failed checks are not shown
    QString m_lastDataError;
};
