#include "Document.h"

#include <QFileInfo>

#include "CommandIds.h"
#include "MDIChildWnd.h"
#include "MultiDocTemplate.h"
#include "View.h"
#include "WinApp.h"

CDocument::CDocument() {
    OnCommand(ID_FILE_CLOSE, [this] {
        if (SaveModified()) OnCloseDocument();
    });
}

CDocument::~CDocument() {
    m_bClosing = true;
    for (CView* view : m_viewList) view->m_pDocument = nullptr;
    if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::OnCloseDocument() {
    if (m_bClosing) return;
    m_bClosing = true;
    const std::list<CView*> views = m_viewList;
    for (CView* view : views) {
        if (CMDIChildWnd* frame = view->GetParentFrame())
            delete frame; // deletes the view with it
        else
            delete view;
    }
    delete this;
}

void CDocument::SetTitle(const QString& title) {
    m_strTitle = title;
    UpdateFrameTitles();
}

void CDocument::SetPathName(const QString& path, bool addToMRU) {
    m_strPathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    if (addToMRU && AfxGetApp()) AfxGetApp()->AddToRecentFileList(m_strPathName);
}

void CDocument::AddView(CView* view) {
    m_viewList.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view) {
    m_viewList.remove(view);
    view->m_pDocument = nullptr;
    if (m_viewList.empty() && !m_bClosing) OnCloseDocument();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint) {
    const std::list<CView*> views = m_viewList;
    for (CView* view : views)
        if (view != sender) view->OnUpdate(sender, hint);
}

void CDocument::UpdateFrameTitles() {
    for (CView* view : m_viewList)
        if (CMDIChildWnd* frame = view->GetParentFrame()) frame->OnUpdateFrameTitle();
}
