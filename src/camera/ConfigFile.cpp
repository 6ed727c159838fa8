#include "ConfigFile.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include "CameraLogging.h"
#include "Profile.h"
#include "SaveFile.h"

CConfigFile::CConfigFile(const QString& path) : m_path(path.isEmpty() ? StandardPath() : path) {}

QString CConfigFile::StandardPath() {
    return QFileInfo(CProfile::StandardPath()).absolutePath() + QStringLiteral("/KxConfig.xml");
}

QString CConfigFile::Read(const QString& key) const {
    QFile file(m_path);
    if (!file.exists()) return QString();
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcCamera) << "configuration file" << m_path << "cannot be read:" << file.errorString();
        return QString();
    }
    if (file.size() > kMaxSize) {
        qCWarning(lcCamera) << "configuration file" << m_path << "is too large; defaults are used";
        return QString();
    }
    // Read as a stream: unlike a DOM attribute map it keeps the attributes in
    // document order, and an item's first attribute is its value.
    QXmlStreamReader xml(&file);
    int depth = 0;
    QString found;
    bool haveFound = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 2 && !haveFound) {
                const QXmlStreamAttributes attributes = xml.attributes();
                const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
                --depth; // readElementText consumed the end of the item
                if (text == key) {
                    found = attributes.isEmpty() ? QString() : attributes.first().value().toString();
                    haveFound = true;
                }
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    // A damaged file gives nothing, not what was read before the damage.
    if (xml.hasError()) {
        qCWarning(lcCamera) << "configuration file" << m_path << "is damaged (" << xml.errorString()
                            << "at line" << xml.lineNumber() << "); defaults are used";
        return QString();
    }
    return found;
}

bool CConfigFile::Write(const QString& key, const QString& value) const {
    QDomDocument doc;
    doc.appendChild(doc.createProcessingInstruction(QStringLiteral("xml"),
                                                    QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    QDomElement root = doc.createElement(QStringLiteral("Vistorel"));
    doc.appendChild(root);
    QDomElement item = doc.createElement(QStringLiteral("ConfigItem"));
    item.appendChild(doc.createTextNode(key));
    item.setAttribute(QStringLiteral("val"), value);
    root.appendChild(item);

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QString problem;
    if (!vimg::SaveBytes(m_path, doc.toByteArray(2), &problem)) {
        qCWarning(lcCamera) << "configuration file" << m_path << "cannot be saved:" << problem;
        return false;
    }
    return true;
}
