#include "ImageBrowser.h"

#include <algorithm>
#include <cmath>

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>

#include "CodecRegistry.h"
#include "Image.h"
#include "ImageBitmap.h"
#include "MessageTarget.h"
#include "Resource.h"
#include "Resources.h"
#include "UserMessages.h"

namespace {

constexpr float kThumbnailSide = 200.0f;

} // namespace

CImageBrowser::CImageBrowser(CMessageTarget* frame, QWidget* parent)
    : CTemplateDialog(*resources::Dialog(IDD_IMAGE_BROWSER), parent), m_frame(frame),
      m_thumbnail(std::make_unique<vimg::Image>()) {
    setWindowFlags(Qt::Widget);
    setObjectName(QStringLiteral("ImageBrowser"));
    // In a docking pane: the pane decides the size, the template only suggests it.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_list = GetDlgItem<QComboBox>(IDC_BROWSER_LIST);
    m_picture = GetDlgItem<QLabel>(IDC_BROWSER_PICTURE);
    m_counter = GetDlgItem<QLabel>(IDC_BROWSER_COUNTER);
    m_previousButton = GetDlgItem<QPushButton>(IDC_BROWSER_PREVIOUS);
    m_nextButton = GetDlgItem<QPushButton>(IDC_BROWSER_NEXT);
    m_openButton = GetDlgItem<QPushButton>(IDC_BROWSER_OPEN);
    // The template's text ends in a line break that a one-line button does not show.
    m_openButton->setText(m_openButton->text().trimmed());
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setFlat(true);
    }
    m_list->clear();
    connect(m_previousButton, &QPushButton::clicked, this, &CImageBrowser::Previous);
    connect(m_nextButton, &QPushButton::clicked, this, &CImageBrowser::Next);
    connect(m_openButton, &QPushButton::clicked, this, &CImageBrowser::OpenCurrent);
    m_report = [this](const QString& text) { QMessageBox::warning(this, QStringLiteral("Vistorel"), text); };
}

CImageBrowser::~CImageBrowser() = default;

int CImageBrowser::Count() const { return m_list->count(); }

QString CImageBrowser::CounterText() const { return m_counter->text(); }

void CImageBrowser::Add(const QString& path) {
    m_list->addItem(path);
    m_position = static_cast<uint16_t>(m_list->count());
    ShowCurrent();
}

void CImageBrowser::AddExisting(const QString& folder) {
    if (folder.isEmpty()) return;
    QFileInfoList files = QDir(folder).entryInfoList(
        {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.bmp")},
        QDir::Files | QDir::Readable);
    // Oldest first; stills of one second in the order of their names ("_2" after the first).
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        const QDateTime ta = a.lastModified(), tb = b.lastModified();
        return ta != tb ? ta < tb : a.fileName() < b.fileName();
    });
    for (const QFileInfo& file : files)
        m_list->addItem(QDir::cleanPath(file.absoluteFilePath()));
    if (files.isEmpty()) return;
    m_position = static_cast<uint16_t>(std::min(m_list->count(), 65535));
    ShowCurrent();
}

void CImageBrowser::Previous() {
    if (m_position <= 1) return;
    --m_position;
    ShowCurrent();
}

void CImageBrowser::Next() {
    if (m_position == m_list->count()) return;
    ++m_position;
    ShowCurrent();
}

void CImageBrowser::OpenCurrent() {
    if (m_position == 0) return;
    m_openPath = m_list->itemText(m_position - 1);
    PostMessage(m_frame, UM_OPEN_IMAGE, 0, reinterpret_cast<LPARAM>(&m_openPath));
}

void CImageBrowser::ShowCurrent() {
    if (m_position == 0) return;
    const QString path = m_list->itemText(m_position - 1);
    if (path.isEmpty()) {
        m_report(QCoreApplication::translate("ImageBrowser", "Filename is blank, please check it !"));
        return;
    }
    if (!QFileInfo::exists(path)) return;
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1).toLower();
    if (extension.isEmpty()) return;
    const uint32_t type = vimg::CodecRegistry::TypeOfExtension(extension.toStdString());
    vimg::Image image(QFile::encodeName(path).constData(), type);
    if (!image.IsValid()) {
        m_report(QString::fromUtf8(image.GetLastError()));
        return;
    }
    const float longer = static_cast<float>(std::max(image.GetWidth(), image.GetHeight()));
    const float scale = std::min(1.0f, kThumbnailSide / longer);
    const auto width = static_cast<int32_t>(std::trunc(static_cast<float>(image.GetWidth()) * scale));
    const auto height = static_cast<int32_t>(std::trunc(static_cast<float>(image.GetHeight()) * scale));
    if (!image.Resample(std::max(width, 1), std::max(height, 1), 1, m_thumbnail.get())) {
        m_report(QString::fromUtf8(image.GetLastError()));
        return;
    }
    const CDeviceContext dc(1, 1);
    if (std::unique_ptr<CBitmap> bitmap = vimg::display::MakeBitmap(*m_thumbnail, &dc)) {
        m_picture->setPixmap(QPixmap::fromImage(bitmap->Image()));
        m_picture->resize(bitmap->Image().size());
    }
    m_counter->setText(QString::asprintf("< %d / %d >", int(m_position), int(m_list->count())));
}
