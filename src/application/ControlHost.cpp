#include "ControlHost.h"

#include <QTabWidget>
#include <QVBoxLayout>

CControlHost::CControlHost(QWidget* parent) : QWidget(parent), m_tabs(new QTabWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    auto* capture = new QWidget;
    capture->setObjectName(QStringLiteral("PageCapture"));
    auto* imageProc = new QWidget;
    imageProc->setObjectName(QStringLiteral("PageImageProc"));
    m_tabs->addTab(capture, QStringLiteral("Aufnahme"));
    m_tabs->addTab(imageProc, QStringLiteral("Bild"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { emit pageShown(index + 1); });
}

void CControlHost::SetCurSel(int index) {
    if (m_tabs->currentIndex() == index)
        emit pageShown(index + 1); // the page is shown again: the mode is set anew
    else
        m_tabs->setCurrentIndex(index);
}

int CControlHost::GetCurSel() const { return m_tabs->currentIndex(); }

QWidget* CControlHost::Page(int index) const { return m_tabs->widget(index); }

void CControlHost::InstallPage(int index, QWidget* page) {
    QWidget* old = m_tabs->widget(index);
    if (!old || !page) return;
    const QSignalBlocker block(m_tabs);
    const int current = m_tabs->currentIndex();
    const QString text = m_tabs->tabText(index);
    m_tabs->removeTab(index);
    m_tabs->insertTab(index, page, text);
    m_tabs->setCurrentIndex(current);
    delete old;
}
