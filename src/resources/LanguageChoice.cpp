#include "LanguageChoice.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>

#include "Profile.h"

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kEntry = QStringLiteral("Language");

} // namespace

CLanguageChoice::Language CLanguageChoice::FromEnvironment() {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        // LANGUAGE is a list in order of preference ("de_AT:de:en").
        const QString value = qEnvironmentVariable(name).section(QLatin1Char(':'), 0, 0);
        if (value.isEmpty()) continue;
        return value.startsWith(QLatin1String("de")) ? Language::German : Language::English;
    }
    return Language::English;
}

CLanguageChoice::Language CLanguageChoice::Chosen(const CProfile& profile) {
    const QString stored = profile.GetProfileString(kSection, kEntry);
    if (stored == QLatin1String("de")) return Language::German;
    if (stored == QLatin1String("en")) return Language::English;
    return FromEnvironment();
}

void CLanguageChoice::Store(CProfile& profile, Language language) {
    profile.WriteProfileString(kSection, kEntry,
                               language == Language::German ? QStringLiteral("de") : QStringLiteral("en"));
    profile.Flush();
}

QLocale CLanguageChoice::NumberLocale(Language language, const QLocale& machine) {
    const QLocale::Language wanted = language == Language::German ? QLocale::German : QLocale::English;
    QLocale locale =
        machine.language() == wanted
            ? machine
            : QLocale(wanted, language == Language::German ? QLocale::Germany : QLocale::UnitedStates);
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

bool CLanguageChoice::Install(Language language) {
    QLocale::setDefault(NumberLocale(language, QLocale::system()));
    if (m_installed) {
        QCoreApplication::removeTranslator(&m_program);
        QCoreApplication::removeTranslator(&m_qt);
    }
    m_installed = true;
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (language == Language::German)
        return m_qt.load(QStringLiteral("qtbase_de"), qtFolder) && QCoreApplication::installTranslator(&m_qt);
    return m_program.load(QStringLiteral(":/i18n/vistorel_en.qm")) &&
           QCoreApplication::installTranslator(&m_program);
}
