#include "View.h"

#include "Document.h"
#include "MDIChildWnd.h"

CView::CView(QWidget* parent) : QWidget(parent) {}

CView::~CView() {
    if (m_pDocument) m_pDocument->RemoveView(this);
}

CMDIChildWnd* CView::GetParentFrame() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* frame = dynamic_cast<CMDIChildWnd*>(w)) return frame;
    return nullptr;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0); }

void CView::OnUpdate(CView*, LPARAM) { update(); }

bool CView::OnCmdMsg(int id, CCmdUI* pUI) {
    if (CCmdTarget::OnCmdMsg(id, pUI)) return true;
    return m_pDocument && m_pDocument->OnCmdMsg(id, pUI);
}

LRESULT CView::WindowProc(UINT, WPARAM, LPARAM) { return 0; }
