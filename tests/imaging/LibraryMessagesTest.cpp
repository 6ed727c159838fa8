// The image library's reasons reach the user in the user's language: a
// damaged file opened by the library itself, its message led by the program's
// sentence naming the file, in German and through the English catalogue.
#include <string>

#include <QString>

#include <gtest/gtest.h>

#include "Image.h"
#include "LanguageChoice.h"
#include "LibraryMessages.h"
#include "TestSupport.h"

namespace {

// A PNG made by ImageMagick whose compressed image data starts with a bad zlib header.
std::string DamagedPng(const testsupport::TempDir& dir) {
    const std::string path = dir.file("damaged.png");
    EXPECT_EQ(testsupport::Run(testsupport::Convert() + " -size 16x8 gradient:red-blue " + testsupport::Quote(path)), 0);
    std::vector<uint8_t> bytes = testsupport::ReadFile(path);
    const std::string text(bytes.begin(), bytes.end());
    const size_t idat = text.find("IDAT");
    EXPECT_NE(idat, std::string::npos);
    if (idat != std::string::npos) bytes[idat + 4] = 0x07; // compression method 7: no zlib stream
    testsupport::WriteFile(path, bytes);
    return path;
}

// The message the document shows for the file, as the library reports it.
QString OpenMessage(const std::string& path) {
    vimg::Image image;
    EXPECT_FALSE(image.Load(path.c_str(), vimg::FORMAT_UNKNOWN));
    return CLibraryMessages::CannotOpen(QString::fromStdString(path),
                                        CLibraryMessages::Reason(QString::fromUtf8(image.GetLastError())));
}

} // namespace

TEST(LibraryMessages, DamagedFileInBothLanguages) {
    if (!testsupport::HaveImageMagick()) GTEST_SKIP() << "no ImageMagick";
    testsupport::TempDir dir;
    const std::string path = DamagedPng(dir);
    const QString file = QString::fromStdString(path);

    EXPECT_EQ(OpenMessage(path), QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden.\n"
                                                "Der Inhalt ist PNG, lässt sich aber nicht lesen: "
                                                "PNG: Die Bilddaten haben einen ungültigen zlib-Kopf.")
                                     .arg(file));
    CLanguageChoice language;
    ASSERT_TRUE(language.Install(CLanguageChoice::Language::English));
    const QString english = OpenMessage(path);
    language.Install(CLanguageChoice::Language::German);
    EXPECT_EQ(english, QStringLiteral("The file \"%1\" cannot be opened.\n"
                                      "The content is PNG but cannot be read: "
                                      "PNG: the image data has a bad zlib header.")
                           .arg(file));
}

TEST(LibraryMessages, UnknownTextsStayAsTheLibrarySaysThem) {
    const QString odd = QStringLiteral("Expand: border widths must not be negative");
    EXPECT_EQ(CLibraryMessages::Reason(odd), odd);
    EXPECT_EQ(CLibraryMessages::Reason(QString(), QStringLiteral("fallback")), QStringLiteral("fallback"));
    // A folder's name keeps its parentheses; only the system's reason is taken out.
    EXPECT_EQ(CLibraryMessages::Reason(QStringLiteral("cannot open file: /a (b)/c.png (Permission denied)")),
              QStringLiteral("Die Datei lässt sich nicht öffnen (Permission denied)."));
}
