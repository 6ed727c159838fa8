#include "MDIChildWnd.h"

#include <QCloseEvent>

#include "Document.h"
#include "View.h"

CMDIChildWnd::CMDIChildWnd(QWidget* parent) : QMdiSubWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
}

void CMDIChildWnd::SetView(CView* view) {
    m_pView = view;
    setWidget(view);
}

void CMDIChildWnd::OnUpdateFrameTitle() {
    if (m_pView && m_pView->GetDocument()) setWindowTitle(m_pView->GetDocument()->GetTitle());
}

bool CMDIChildWnd::OnCmdMsg(int id, CCmdUI* pUI) {
    if (m_pView && m_pView->OnCmdMsg(id, pUI)) return true;
    return CCmdTarget::OnCmdMsg(id, pUI);
}

void CMDIChildWnd::closeEvent(QCloseEvent* event) {
    CDocument* doc = m_pView ? m_pView->GetDocument() : nullptr;
    if (doc && doc->GetViews().size() == 1 && !doc->SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
