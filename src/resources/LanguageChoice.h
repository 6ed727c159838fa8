// The language the program speaks, and its catalogues. German is the source
// language of every text: speaking German installs only Qt's own German
// catalogue (dialogs, buttons); speaking English installs the program's
// English catalogue and leaves Qt in its own English.
#pragma once

#include <QTranslator>

class CProfile;

class CLanguageChoice {
public:
    enum class Language { German, English };

    // The first of LANGUAGE (its first entry), LC_ALL, LC_MESSAGES and LANG
    // that is set decides: German for "de...", English for anything else,
    // "C" and "POSIX" included, and when none is set.
    static Language FromEnvironment();
    // The profile's choice ("Ansicht > Sprache") when there is one, else the environment's.
    static Language Chosen(const CProfile& profile);
    static void Store(CProfile& profile, Language language);

    // Replaces the catalogues this object installed on the application by
    // those of `language`. False when one could not be loaded (the texts then
    // stay as far as the others take them).
    bool Install(Language language);

private:
    QTranslator m_program;
    QTranslator m_qt;
    bool m_installed = false;
};
