#include "ControlHost.h"

#include <algorithm>

#include <QCoreApplication>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Pages keep the width their templates give them and the height their
// controls take, hidden ones included (a camera type may show them later);
// in a window too low for a page its tab scrolls instead of crowding the
// panes below out of the column.
QScrollArea* Scrolling(QWidget* page) {
    int bottom = -1;
    for (const QWidget* control : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        bottom = std::max(bottom, control->geometry().bottom());
    const int used = bottom + 8;
    if (bottom >= 0 && used < page->height()) page->setFixedHeight(used);
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // the pages fit the column's width
    area->setWidget(page);
    return area;
}

} // namespace

CControlHost::CControlHost(QWidget* parent) : QWidget(parent), m_tabs(new QTabWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    auto* capture = new QWidget;
    capture->setObjectName(QStringLiteral("PageCapture"));
    auto* imageProc = new QWidget;
    imageProc->setObjectName(QStringLiteral("PageImageProc"));
    m_tabs->addTab(Scrolling(capture), QCoreApplication::translate("ControlHost", "Aufnahme"));
    m_tabs->addTab(Scrolling(imageProc), QCoreApplication::translate("ControlHost", "Bild"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { emit pageShown(index + 1); });
}

void CControlHost::SetCurSel(int index) {
    if (m_tabs->currentIndex() == index)
        emit pageShown(index + 1); // the page is shown again: the mode is set anew
    else
        m_tabs->setCurrentIndex(index);
}

int CControlHost::GetCurSel() const { return m_tabs->currentIndex(); }

QWidget* CControlHost::Page(int index) const {
    const auto* area = qobject_cast<QScrollArea*>(m_tabs->widget(index));
    return area ? area->widget() : nullptr;
}

void CControlHost::InstallPage(int index, QWidget* page) {
    QWidget* old = m_tabs->widget(index);
    if (!old || !page) return;
    const QSignalBlocker block(m_tabs);
    const int current = m_tabs->currentIndex();
    const QString text = m_tabs->tabText(index);
    m_tabs->removeTab(index);
    m_tabs->insertTab(index, Scrolling(page), text);
    m_tabs->setCurrentIndex(current);
    delete old;
}
