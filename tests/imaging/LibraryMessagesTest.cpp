// The image library's reasons reach the user in the user's language: a
// damaged file opened by the library itself, its message led by the program's
// sentence naming the file, in German and through the English catalogue.
#include <string>

#include <QLocale>
#include <QString>

#include <gtest/gtest.h>

#include "Image.h"
#include "LanguageChoice.h"
#include "LibraryMessages.h"
#include "TestSupport.h"

namespace {

// A PNG made by ImageMagick whose compressed image data no longer fits its checksum.
std::string DamagedPng(const testsupport::TempDir& dir) {
    const std::string path = dir.file("damaged.png");
    EXPECT_EQ(testsupport::Run(testsupport::Convert() + " -size 16x8 gradient:red-blue " +
                               testsupport::Quote(path)),
              0);
    std::vector<uint8_t> bytes = testsupport::ReadFile(path);
    const std::string text(bytes.begin(), bytes.end());
    const size_t idat = text.find("IDAT");
    EXPECT_NE(idat, std::string::npos);
    if (idat != std::string::npos) bytes[idat + 4] ^= 0x01;
    testsupport::WriteFile(path, bytes);
    return path;
}

// The message the document shows for the file, as the library reports it
// when asked for the format the extension names, or for any format.
std::string OpenMessage(const std::string& path, uint32_t type = vimg::FORMAT_PNG) {
    vimg::Image image;
    EXPECT_FALSE(image.Load(path.c_str(), type));
    return CLibraryMessages::CannotOpen(QString::fromStdString(path),
                                        CLibraryMessages::Reason(QString::fromUtf8(image.GetLastError())))
        .toStdString();
}

} // namespace

TEST(LibraryMessages, DamagedFileInBothLanguages) {
    if (!testsupport::HaveImageMagick()) GTEST_SKIP() << "no ImageMagick";
    testsupport::TempDir dir;
    const std::string path = DamagedPng(dir);
    const std::string german = "Die Datei \"" + path + "\" kann nicht geöffnet werden.\n";
    EXPECT_EQ(OpenMessage(path), german + "PNG: Prüfsummenfehler (CRC) in den Bilddaten.");
    EXPECT_EQ(
        OpenMessage(path, vimg::FORMAT_UNKNOWN),
        german +
            "Der Inhalt ist PNG, lässt sich aber nicht lesen: PNG: Prüfsummenfehler (CRC) in den Bilddaten.");
    const QLocale numbers;
    CLanguageChoice language;
    ASSERT_TRUE(language.Install(CLanguageChoice::Language::English));
    const std::string english = OpenMessage(path);
    language.Install(CLanguageChoice::Language::German);
    QLocale::setDefault(numbers);
    EXPECT_EQ(english, "The file \"" + path + "\" cannot be opened.\nPNG: CRC error in the image data.");
}

TEST(LibraryMessages, UnknownTextsStayAsTheLibrarySaysThem) {
    const QString odd = QStringLiteral("Expand: border widths must not be negative");
    EXPECT_EQ(CLibraryMessages::Reason(odd), odd);
    EXPECT_EQ(CLibraryMessages::Reason(QString(), QStringLiteral("fallback")), QStringLiteral("fallback"));
    // A folder's name keeps its parentheses; only the system's reason is taken out.
    EXPECT_EQ(CLibraryMessages::Reason(QStringLiteral("cannot open file: /a (b)/c.png (Permission denied)")),
              QStringLiteral("Die Datei lässt sich nicht öffnen (Permission denied)."));
}
