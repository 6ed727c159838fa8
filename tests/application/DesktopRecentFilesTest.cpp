// The desktop's recent-files list as GLib (GBookmarkFile, which GTK's file
// dialogs and file managers use) reads and writes it.
#include <string>
#include <vector>

#include <QFileInfo>
#include <QUrl>

#include <gtest/gtest.h>

#include "DesktopRecentFiles.h"
#include "TestSupport.h"

namespace {

using testsupport::Quote;

// GLib's reading or writing of `list` (glib-bookmarks.py); its output, or "failed: ..." with it.
std::string WithGLib(const std::string& arguments) {
    std::string out;
    const int status = testsupport::Run(
        "/usr/bin/python3 " VISTOREL_SOURCE_DIR "/tests/application/glib-bookmarks.py " + arguments + " 2>&1",
        &out);
    return status == 0 ? out : "failed: " + out;
}

std::string Uri(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded).toStdString();
}

} // namespace

TEST(DesktopRecentFiles, GLibReadsTheListAndOtherProgramsEntriesStay) {
    testsupport::TempDir dir;
    const std::string list = dir.file("recently-used.xbel");
    // Another program's list first, written by GLib; then a name with a space and a non-ASCII letter
    // ("Zelle" sorts before "notes").
    const std::string other = dir.file("notes.txt");
    const std::string picture = dir.file("Zelle \xc3\xb6 1.png");
    testsupport::WriteFile(picture, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'});
    ASSERT_EQ(WithGLib("add " + Quote(list) + " " + Quote(Uri(other)) + " gedit 'gedit %u' text/plain"), "");

    CDesktopRecentFiles recent(QString::fromStdString(list));
    ASSERT_TRUE(recent.Add(QString::fromStdString(picture))) << recent.Problem().toStdString();
    ASSERT_TRUE(recent.Add(QString::fromStdString(picture))) << recent.Problem().toStdString();

    EXPECT_EQ(WithGLib("read " + Quote(list) + " Vistorel"),
              Uri(picture) + " image/png ['Vistorel']\n" + Uri(other) + " text/plain ['gedit']\n" +
                  "Vistorel vistorel " + Uri(picture) + " 2\n");
}

TEST(DesktopRecentFiles, AListThatIsNotXbelIsLeftAsItIs) {
    testsupport::TempDir dir;
    const std::string list = dir.file("recently-used.xbel");
    const std::vector<uint8_t> damaged = {'<', 'x', 'b', 'e', 'l', '>', '<', 'b', 'o', 'o'};
    testsupport::WriteFile(list, damaged);
    CDesktopRecentFiles recent(QString::fromStdString(list));
    EXPECT_FALSE(recent.Add(QString::fromStdString(dir.file("a.png"))));
    EXPECT_NE(recent.Problem().indexOf(QLatin1String("not an XBEL list")), -1)
        << recent.Problem().toStdString();
    EXPECT_EQ(testsupport::ReadFile(list), damaged);
}
