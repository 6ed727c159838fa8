#include "DesktopRecentFiles.h"

#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QUrl>

#include "SaveFile.h"

namespace {

constexpr qint64 kMaxListBytes = 64 << 20; // far above any real list; refuses to read without bound
const QString kAppName = QStringLiteral("Vistorel");
const QString kBookmarkNs = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");

// The child element named `tag`, made and appended when there is none.
QDomElement Child(QDomElement parent, const QString& tag) {
    QDomElement child = parent.firstChildElement(tag);
    if (child.isNull()) child = parent.appendChild(parent.ownerDocument().createElement(tag)).toElement();
    return child;
}

QDomElement FindBookmark(const QDomElement& root, const QString& path) {
    for (QDomElement b = root.firstChildElement(QStringLiteral("bookmark")); !b.isNull();
         b = b.nextSiblingElement(QStringLiteral("bookmark"))) {
        const QUrl url(b.attribute(QStringLiteral("href")));
        if (url.isLocalFile() && url.toLocalFile() == path) return b;
    }
    return {};
}

} // namespace

CDesktopRecentFiles::CDesktopRecentFiles(const QString& listPath)
    : m_listPath(listPath.isEmpty() ? StandardPath() : listPath) {}

QString CDesktopRecentFiles::StandardPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/recently-used.xbel");
}

bool CDesktopRecentFiles::Fail(const QString& problem) {
    m_problem = problem;
    return false;
}

bool CDesktopRecentFiles::Add(const QString& path) {
    m_problem.clear();
    const QString full = QFileInfo(path).absoluteFilePath();
    QDomDocument doc;
    QFile list(m_listPath);
    if (list.exists()) {
        if (list.size() > kMaxListBytes)
            return Fail(QStringLiteral("%1 is too large to be a list").arg(m_listPath));
        if (!list.open(QIODevice::ReadOnly))
            return Fail(QStringLiteral("cannot read %1: %2").arg(m_listPath, list.errorString()));
        const bool parsed = doc.setContent(list.readAll());
        list.close();
        if (!parsed || doc.documentElement().tagName() != QLatin1String("xbel"))
            return Fail(QStringLiteral("%1 is not an XBEL list; left as it is").arg(m_listPath));
    } else {
        doc.appendChild(doc.createProcessingInstruction(
            QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
        QDomElement root = doc.createElement(QStringLiteral("xbel"));
        root.setAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
        doc.appendChild(root);
    }
    QDomElement root = doc.documentElement();
    // Without a namespace processor the prefixes are part of the names; the list's own declarations must be
    // there.
    if (!root.hasAttribute(QStringLiteral("xmlns:bookmark")))
        root.setAttribute(QStringLiteral("xmlns:bookmark"), kBookmarkNs);
    if (!root.hasAttribute(QStringLiteral("xmlns:mime")))
        root.setAttribute(QStringLiteral("xmlns:mime"), kMimeNs);

    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    QDomElement bookmark = FindBookmark(root, full);
    if (bookmark.isNull()) {
        bookmark = root.appendChild(doc.createElement(QStringLiteral("bookmark"))).toElement();
        bookmark.setAttribute(QStringLiteral("href"),
                              QString::fromLatin1(QUrl::fromLocalFile(full).toEncoded()));
        bookmark.setAttribute(QStringLiteral("added"), now);
    }
    bookmark.setAttribute(QStringLiteral("modified"), now);
    bookmark.setAttribute(QStringLiteral("visited"), now);

    QDomElement metadata;
    QDomElement info = Child(bookmark, QStringLiteral("info"));
    for (QDomElement m = info.firstChildElement(QStringLiteral("metadata")); !m.isNull();
         m = m.nextSiblingElement(QStringLiteral("metadata")))
        if (m.attribute(QStringLiteral("owner")) == QLatin1String("http://freedesktop.org")) metadata = m;
    if (metadata.isNull()) {
        metadata = info.appendChild(doc.createElement(QStringLiteral("metadata"))).toElement();
        metadata.setAttribute(QStringLiteral("owner"), QStringLiteral("http://freedesktop.org"));
    }
    Child(metadata, QStringLiteral("mime:mime-type"))
        .setAttribute(QStringLiteral("type"), QMimeDatabase().mimeTypeForFile(full).name());
    QDomElement apps = Child(metadata, QStringLiteral("bookmark:applications"));
    QDomElement app;
    for (QDomElement a = apps.firstChildElement(QStringLiteral("bookmark:application")); !a.isNull();
         a = a.nextSiblingElement(QStringLiteral("bookmark:application")))
        if (a.attribute(QStringLiteral("name")) == kAppName) app = a;
    if (app.isNull()) {
        app = apps.appendChild(doc.createElement(QStringLiteral("bookmark:application"))).toElement();
        app.setAttribute(QStringLiteral("name"), kAppName);
        app.setAttribute(QStringLiteral("exec"), QStringLiteral("'vistorel %u'"));
    }
    app.setAttribute(QStringLiteral("modified"), now);
    app.setAttribute(QStringLiteral("count"), app.attribute(QStringLiteral("count")).toInt() + 1);

    QDir().mkpath(QFileInfo(m_listPath).absolutePath());
    const QByteArray bytes = doc.toByteArray(2);
    vimg::SaveFile out;
    if (!out.Open(QFile::encodeName(m_listPath).constData()) ||
        out.Write(bytes.constData(), 1, static_cast<size_t>(bytes.size())) !=
            static_cast<size_t>(bytes.size()) ||
        !out.Commit())
        return Fail(QString::fromStdString(out.Problem()));
    return true;
}
