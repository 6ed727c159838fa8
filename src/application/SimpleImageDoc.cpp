#include "SimpleImageDoc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>

#include "AppLog.h"
#include "Image.h"
#include "ImageFileDialog.h"
#include "MDIFrameWnd.h"
#include "WinApp.h"

CSimpleImageDoc::CSimpleImageDoc() = default;

CSimpleImageDoc::~CSimpleImageDoc() = default;

bool CSimpleImageDoc::OnNewDocument() {
    m_image.reset();
    return true;
}

bool CSimpleImageDoc::OnOpenDocument(const QString& path) {
    auto image = std::make_unique<vimg::Image>();
    const QByteArray name = QFile::encodeName(path);
    const int type = CImageFileDialog::FindType(path);
    const QFileInfo file(path);
    QString reason;
    if (!file.exists())
        reason = QStringLiteral("Die Datei existiert nicht.");
    else if (file.isDir())
        reason = QStringLiteral("Das ist ein Ordner.");
    else if (!file.isReadable())
        reason = QStringLiteral("Die Datei darf nicht gelesen werden.");
    else if (!image->Load(name.constData(), static_cast<uint32_t>(type)) || !image->IsValid())
        reason = image->GetLastError()[0] ? QString::fromUtf8(image->GetLastError())
                                          : QStringLiteral("Das Dateiformat wird nicht erkannt.");
    if (!reason.isEmpty()) {
        qCWarning(lcApp) << "cannot open" << path << reason;
        QWidget* parent = AfxGetApp() ? AfxGetApp()->GetMainWnd() : nullptr;
        QMessageBox::warning(parent, QStringLiteral("Vistorel"),
                             QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden.\n%2")
                                 .arg(QDir::toNativeSeparators(file.absoluteFilePath()), reason));
        return false;
    }
    m_image = std::move(image);
    return true;
}

void CSimpleImageDoc::SetImage(std::unique_ptr<vimg::Image> image) { m_image = std::move(image); }

std::unique_ptr<vimg::Image> CSimpleImageDoc::FromQImage(const QImage& picture) {
    if (picture.isNull()) return nullptr;
    const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);
    auto image = std::make_unique<vimg::Image>();
    // Qt rows run top down, the library's bottom up.
    if (!image->CreateFromArray(bgr.constBits(), static_cast<uint32_t>(bgr.width()),
                                static_cast<uint32_t>(bgr.height()), 24,
                                static_cast<uint32_t>(bgr.bytesPerLine()), true))
        return nullptr;
    return image;
}
