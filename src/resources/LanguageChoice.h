// The language the program speaks, and its catalogues. German is the source
// language of every text: speaking German installs only Qt's own German
// catalogue (dialogs, buttons); speaking English installs the program's
// English catalogue and leaves Qt in its own English.
#pragma once

#include <QLocale>
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

    // The locale numbers are shown in: the machine's own when it speaks
    // `language` (en_GB stays en_GB), else the language's main one. Without
    // group separators, so "1234,5" never reads as two numbers.
    static QLocale NumberLocale(Language language, const QLocale& machine);

    // Replaces the catalogues this object installed on the application by
    // those of `language`, and makes its NumberLocale the default QLocale.
    // False when a catalogue could not be loaded (the texts then stay as far
    // as the others take them).
    bool Install(Language language);

private:
    QTranslator m_program;
    QTranslator m_qt;
    bool m_installed = false;
};
