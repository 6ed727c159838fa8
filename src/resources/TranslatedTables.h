// The resource tables as the user reads them. The tables are written in
// German, each text marked for the catalogue under its table's context; here
// every text is looked up in the installed translators (QCoreApplication::
// translate) at the moment a menu, dialog or string is asked for.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include "DialogTemplate.h"
#include "MenuTemplate.h"

namespace resources {

// A top-level popup of a menu bar and the context its texts are marked under.
struct MarkedPopup {
    const char* context;
    MenuItem popup;
};

// A dialog template and the context its texts are marked under.
struct MarkedDialog {
    const char* context;
    DialogTemplate german;
};

class TranslatedTables {
public:
    static TranslatedTables& Instance();

    // Translated copies of German tables. Copies are kept for the program's
    // lifetime, so references handed out stay valid; a new one is made only
    // when the texts translate differently than before (another catalogue).
    const MenuTemplate& Menu(int id, const std::vector<MarkedPopup>& german);
    const DialogTemplate& Dialog(const MarkedDialog& german);

private:
    TranslatedTables() = default;
    // The translation in UTF-8, or `german` itself when no catalogue has one.
    // Valid for the program's lifetime, as the tables' texts must be. Callers hold m_mutex.
    const char* Text(const char* context, const char* german);
    MenuItem TranslateItem(const char* context, const MenuItem& item);

    std::mutex m_mutex;
    std::unordered_set<std::string> m_texts; // node-based: pointers to its strings stay valid
    std::map<int, std::deque<MenuTemplate>> m_menus;
    std::map<int, std::deque<DialogTemplate>> m_dialogs;
};

} // namespace resources
