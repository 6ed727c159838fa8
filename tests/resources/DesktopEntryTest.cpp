// The desktop entry announces every format the program reads, by the MIME
// types the system's shared-mime-info database gives their extensions.
#include <QFile>
#include <QMimeDatabase>
#include <QSet>
#include <QTextStream>

#include <gtest/gtest.h>

#include "CodecRegistry.h"

namespace {

QSet<QString> DesktopEntryMimeTypes() {
    QFile file(QStringLiteral(VISTOREL_SOURCE_DIR "/src/resources/vistorel.desktop"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(QLatin1String("MimeType="))) {
            const QStringList types = line.mid(9).split(QLatin1Char(';'), Qt::SkipEmptyParts);
            return QSet<QString>(types.begin(), types.end());
        }
    }
    return {};
}

} // namespace

TEST(DesktopEntry, ListsAMimeTypeForEveryReadableExtension) {
    const QSet<QString> listed = DesktopEntryMimeTypes();
    ASSERT_FALSE(listed.isEmpty());
    const QMimeDatabase db;
    QStringList unknownToTheSystem;
    for (const vimg::CodecEntry* format : vimg::CodecRegistry::Formats()) {
        if (!format->reads) continue;
        std::vector<std::string> extensions = format->extensions;
        for (const std::string& pattern : format->listedToo)
            extensions.push_back(pattern);
        for (const std::string& ext : extensions) {
            const QString name = QStringLiteral("picture.") + QString::fromStdString(ext);
            const QList<QMimeType> types = db.mimeTypesForFileName(name);
            if (types.isEmpty()) {
                unknownToTheSystem << QString::fromStdString(ext);
                continue;
            }
            bool found = false;
            for (const QMimeType& type : types) {
                found = found || listed.contains(type.name());
                for (const QString& alias : type.aliases())
                    found = found || listed.contains(alias);
            }
            EXPECT_TRUE(found) << ext << " (" << types.front().name().toStdString()
                               << ") is not in MimeType=";
        }
    }
    // PGX has no MIME type in shared-mime-info; any other gap means the database is missing or old.
    EXPECT_EQ(unknownToTheSystem, QStringList{QStringLiteral("pgx")});
}
