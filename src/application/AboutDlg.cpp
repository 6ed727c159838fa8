#include "AboutDlg.h"

#include <QIcon>
#include <QLabel>

#include "Resource.h"
#include "Resources.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CTemplateDialog(*resources::Dialog(IDD_ABOUTBOX), parent) {
    resources::RegisterPictures();
    if (auto* icon = GetDlgItem<QLabel>(IDC_ABOUT_ICON)) {
        const QRect r = icon->geometry();
        icon->setPixmap(QIcon(QStringLiteral(":/icons/vistorel.png")).pixmap(r.size()));
    }
    if (auto* link = GetDlgItem<QLabel>(IDC_HYPERLINK)) {
        const QString url = QString::fromLatin1(MakerLink());
        link->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(url));
        link->setTextFormat(Qt::RichText);
        link->setOpenExternalLinks(true);
        link->setToolTip(url);
    }
}

const char* CAboutDlg::MakerLink() { return "https://vistorel.org/"; }
