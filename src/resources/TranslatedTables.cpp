#include "TranslatedTables.h"

#include <QCoreApplication>
#include <QString>

namespace resources {

namespace {

// The tables' texts are interned, so two translations are the same text
// exactly when they are the same pointer.
bool SameTexts(const MenuItem& a, const MenuItem& b) {
    if (a.text != b.text || a.popup.size() != b.popup.size()) return false;
    for (size_t i = 0; i < a.popup.size(); ++i)
        if (!SameTexts(a.popup[i], b.popup[i])) return false;
    return true;
}

bool SameTexts(const MenuTemplate& a, const MenuTemplate& b) {
    if (a.popups.size() != b.popups.size()) return false;
    for (size_t i = 0; i < a.popups.size(); ++i)
        if (!SameTexts(a.popups[i], b.popups[i])) return false;
    return true;
}

bool SameTexts(const DialogTemplate& a, const DialogTemplate& b) {
    if (a.title != b.title || a.controls.size() != b.controls.size()) return false;
    for (size_t i = 0; i < a.controls.size(); ++i)
        if (a.controls[i].text != b.controls[i].text) return false;
    return true;
}

template <class Table> const Table& Keep(std::deque<Table>& kept, Table&& made) {
    for (const Table& table : kept)
        if (SameTexts(table, made)) return table;
    kept.push_back(std::move(made));
    return kept.back();
}

} // namespace

TranslatedTables& TranslatedTables::Instance() {
    static TranslatedTables tables;
    return tables;
}

const char* TranslatedTables::Text(const char* context, const char* german) {
    if (!german || !*german) return german;
    const QString translated = QCoreApplication::translate(context, german);
    const QByteArray utf8 = translated.toUtf8();
    if (utf8 == german) return german;
    return m_texts.emplace(utf8.constData(), static_cast<size_t>(utf8.size())).first->c_str();
}

MenuItem TranslatedTables::TranslateItem(const char* context, const MenuItem& item) {
    MenuItem out{item.id, Text(context, item.text), {}};
    out.popup.reserve(item.popup.size());
    for (const MenuItem& child : item.popup)
        out.popup.push_back(TranslateItem(context, child));
    return out;
}

const MenuTemplate& TranslatedTables::Menu(int id, const std::vector<MarkedPopup>& german) {
    std::lock_guard lock(m_mutex);
    MenuTemplate made{id, {}};
    made.popups.reserve(german.size());
    for (const MarkedPopup& marked : german)
        made.popups.push_back(TranslateItem(marked.context, marked.popup));
    return Keep(m_menus[id], std::move(made));
}

const DialogTemplate& TranslatedTables::Dialog(const MarkedDialog& marked) {
    std::lock_guard lock(m_mutex);
    DialogTemplate made = marked.german;
    made.title = Text(marked.context, made.title);
    for (DialogControl& control : made.controls)
        control.text = Text(marked.context, control.text);
    return Keep(m_dialogs[made.id], std::move(made));
}

} // namespace resources
