// The resource tables in German and through the English catalogue, the
// catalogue's coverage of every table text at the point they are looked up,
// and the language taken from the environment.
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <gtest/gtest.h>

#include "LanguageChoice.h"
#include "Profile.h"
#include "Resource.h"
#include "Resources.h"
#include "TestSupport.h"

namespace {

std::vector<std::string> BarTitles(int menu) {
    std::vector<std::string> titles;
    for (const MenuItem& popup : resources::Menu(menu).popups)
        titles.emplace_back(popup.text);
    return titles;
}

const DialogControl* Control(const DialogTemplate& dialog, int id) {
    for (const DialogControl& c : dialog.controls)
        if (c.id == id) return &c;
    return nullptr;
}

// Installs the program's catalogue for one test and restores German after it.
class English : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_language.Install(CLanguageChoice::Language::English)); }
    void TearDown() override {
        m_language.Install(CLanguageChoice::Language::German);
        QLocale::setDefault(m_numbers);
    }
    const QLocale m_numbers;
    CLanguageChoice m_language;
};

// Passes lookups to the English catalogue and notes every text it has nothing for.
class NotingTranslator : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        const QString found = QTranslator::translate(context, source, disambiguation, n);
        if (found.isEmpty() && source && *source) missing.insert(std::string(context) + " | " + source);
        return found;
    }
    mutable std::set<std::string> missing;
};

// Every menu, dialog and string the tables hold.
void LookUpEveryTable() {
    for (int menu : {IDR_MAINFRAME, IDR_CAMERA_MENU, IDR_VISTORTYPE})
        resources::Menu(menu);
    for (int id = 0; id < 65536; ++id) {
        resources::Dialog(id);
        resources::String(id);
    }
}

} // namespace

TEST(TablesInGerman, WithoutCatalogueTheTablesAreTheGermanSource) {
    EXPECT_EQ(BarTitles(IDR_VISTORTYPE),
              (std::vector<std::string>{"&Datei", "&Editieren", "&Ansicht", "&Bildbearbeitung", "Filters(&L)",
                                        "Fluorescence(&U)", "&Messen", "&Fenster", "&Hilfe"}));
    EXPECT_STREQ(Control(*resources::Dialog(IDD_PALETTE), IDCANCEL)->text, "Abbrechen");
    EXPECT_EQ(resources::String(IDS_IDLE_MESSAGE), QString::fromUtf8("Bereit"));
}

TEST_F(English, MenusDialogsAndStringsReadInEnglish) {
    EXPECT_EQ(BarTitles(IDR_VISTORTYPE),
              (std::vector<std::string>{"&File", "&Edit", "&View", "&Image", "Fi&lters", "Fl&uorescence",
                                        "&Measure", "&Window", "&Help"}));
    EXPECT_EQ(BarTitles(IDR_CAMERA_MENU), (std::vector<std::string>{"&Camera", "&View", "&Help"}));
    // One German word, two commands: the context of each menu tells them apart.
    const MenuTemplate& menu = resources::Menu(IDR_VISTORTYPE);
    EXPECT_STREQ(menu.popups[3].popup[1].text, "Flip");
    EXPECT_STREQ(menu.popups[4].popup.back().popup[2].text, "Swirl");
    EXPECT_STREQ(Control(*resources::Dialog(IDD_PALETTE), IDCANCEL)->text, "Cancel");
    EXPECT_STREQ(resources::Dialog(IDD_OPTIONS)->title, "Options");
    EXPECT_EQ(resources::String(IDS_IDLE_MESSAGE), QStringLiteral("Ready"));
}

TEST(TablesInGerman, TablesHandedOutBeforeAnotherCatalogueStayAsTheyWere) {
    const MenuTemplate& german = resources::Menu(IDR_MAINFRAME);
    const DialogTemplate* germanDialog = resources::Dialog(IDD_ABOUTBOX);
    CLanguageChoice language;
    ASSERT_TRUE(language.Install(CLanguageChoice::Language::English));
    const MenuTemplate& english = resources::Menu(IDR_MAINFRAME);
    EXPECT_STREQ(english.popups[0].text, "&View");
    EXPECT_STREQ(german.popups[0].text, "&Ansicht");
    EXPECT_STREQ(germanDialog->controls[1].text,
                 "Vistorel Version 6.1.4.0\nBildverarbeitung für digitale Mikroskopkameras");
    // German again: Qt's own German catalogue, the program's tables as written, the same table objects as
    // before.
    ASSERT_TRUE(language.Install(CLanguageChoice::Language::German));
    EXPECT_EQ(&resources::Menu(IDR_MAINFRAME), &german);
    EXPECT_EQ(resources::Dialog(IDD_ABOUTBOX), germanDialog);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
}

TEST(TablesInGerman, TheEnglishCatalogueHasEveryTextUnderTheContextItIsLookedUpIn) {
    NotingTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(":/i18n/vistorel_en.qm")));
    QCoreApplication::installTranslator(&translator);
    // Qt's own questions on the change of catalogue are not the tables'.
    QCoreApplication::processEvents();
    translator.missing.clear();
    LookUpEveryTable();
    QCoreApplication::removeTranslator(&translator);
    std::string list;
    for (const std::string& m : translator.missing)
        list += m + "\n";
    EXPECT_TRUE(translator.missing.empty()) << "not in the English catalogue:\n" << list;
}

TEST(LanguageFromEnvironment, TheFirstVariableSetDecidesGermanOnlyForDe) {
    const char* names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::pair<std::string, std::string>> saved;
    for (const char* n : names) {
        saved.emplace_back(n, std::getenv(n) ? std::getenv(n) : "\x01");
        unsetenv(n);
    }
    using L = CLanguageChoice::Language;
    struct Case {
        std::vector<std::pair<const char*, const char*>> set;
        L expected;
    };
    const std::vector<Case> cases = {
        {{}, L::English},
        {{{"LANG", "de_DE.UTF-8"}}, L::German},
        {{{"LANG", "C"}}, L::English},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "en_GB.UTF-8"}}, L::English},
        {{{"LC_MESSAGES", "en_US.UTF-8"}, {"LC_ALL", "de_AT.UTF-8"}}, L::German},
        {{{"LC_ALL", "de_CH.UTF-8"}, {"LANGUAGE", "en_US:de"}}, L::English},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "de:en"}}, L::German},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", ""}}, L::German},
    };
    for (const Case& c : cases) {
        for (const char* n : names)
            unsetenv(n);
        std::string what;
        for (const auto& [name, value] : c.set) {
            setenv(name, value, 1);
            what += std::string(name) + "=" + value + " ";
        }
        EXPECT_EQ(CLanguageChoice::FromEnvironment(), c.expected) << what;
    }
    for (const auto& [name, value] : saved)
        if (value != "\x01")
            setenv(name.c_str(), value.c_str(), 1);
        else
            unsetenv(name.c_str());
}

TEST(LanguageFromEnvironment, TheProfilesChoiceOverridesTheEnvironment) {
    testsupport::TempDir dir;
    CProfile profile(QString::fromStdString(dir.file("Vistorel.ini")));
    const auto environment = CLanguageChoice::FromEnvironment();
    EXPECT_EQ(CLanguageChoice::Chosen(profile), environment);
    for (auto language : {CLanguageChoice::Language::German, CLanguageChoice::Language::English}) {
        CLanguageChoice::Store(profile, language);
        EXPECT_EQ(CLanguageChoice::Chosen(CProfile(profile.FileName())), language);
    }
}

// Numbers follow the chosen language, not the machine's locale when the two
// differ; a machine that speaks the language keeps its own variant.
TEST(LanguageNumbers, TheChosenLanguageDecidesTheDecimalSign) {
    using L = CLanguageChoice::Language;
    const QLocale germanMachine(QLocale::German, QLocale::Germany);
    const QLocale swissMachine(QLocale::German, QLocale::Switzerland);
    EXPECT_EQ(CLanguageChoice::NumberLocale(L::English, germanMachine).toString(1234.5, 'f', 1), "1234.5");
    EXPECT_EQ(CLanguageChoice::NumberLocale(L::German, QLocale::c()).toString(1234.5, 'f', 1), "1234,5");
    EXPECT_EQ(CLanguageChoice::NumberLocale(L::German, swissMachine).country(), QLocale::Switzerland);
    const QLocale before;
    CLanguageChoice language;
    language.Install(L::German);
    const QString german = QLocale().toString(0.25, 'f', 2);
    language.Install(L::English);
    const QString english = QLocale().toString(0.25, 'f', 2);
    QLocale::setDefault(before);
    EXPECT_EQ(german, "0,25");
    EXPECT_EQ(english, "0.25");
}
