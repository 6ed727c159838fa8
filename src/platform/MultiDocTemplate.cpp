#include "MultiDocTemplate.h"

#include <QFileInfo>
#include <QMdiArea>

#include "Document.h"
#include "MDIChildWnd.h"
#include "PlatformLog.h"
#include "View.h"

CMultiDocTemplate::CMultiDocTemplate(int resourceId, const QString& docName, DocFactory doc,
                                     FrameFactory frame, ViewFactory view)
    : m_nIDResource(resourceId), m_strDocName(docName), m_docFactory(std::move(doc)),
      m_frameFactory(std::move(frame)), m_viewFactory(std::move(view)) {}

CMultiDocTemplate::~CMultiDocTemplate() { CloseAllDocuments(); }

CDocument* CMultiDocTemplate::OpenDocumentFile(const QString& path, bool makeVisible) {
    if (!path.isEmpty()) {
        const QString full = QFileInfo(path).absoluteFilePath();
        for (CDocument* doc : m_docList) {
            if (doc->GetPathName() != full) continue;
            if (CView* view = doc->GetFirstView())
                if (CMDIChildWnd* frame = view->GetParentFrame()) {
                    if (m_pMdiArea) m_pMdiArea->setActiveSubWindow(frame);
                    frame->setFocus();
                }
            return doc;
        }
    }

    CDocument* doc = m_docFactory();
    m_docList.push_back(doc);
    doc->m_pDocTemplate = this;
    CMDIChildWnd* frame = CreateNewFrame(doc);

    bool ok;
    if (path.isEmpty()) {
        doc->SetTitle(m_strDocName + QString::number(m_nUntitledCount + 1));
        ok = doc->OnNewDocument();
        if (ok) ++m_nUntitledCount;
    } else {
        ok = doc->OnOpenDocument(path);
        if (ok) doc->SetPathName(path);
    }
    if (!ok) {
        qCInfo(lcPlatform) << "could not create document for" << path;
        delete frame; // the view goes with it, and the document with its last view
        return nullptr;
    }

    // Only a document that opened gets its tab: a failed one never shows.
    if (m_pMdiArea) m_pMdiArea->addSubWindow(frame);
    if (CView* view = frame->GetActiveView()) view->OnInitialUpdate();
    frame->OnUpdateFrameTitle();
    if (makeVisible) {
        // Tabbed documents fill the area.
        if (m_pMdiArea && m_pMdiArea->viewMode() == QMdiArea::TabbedView)
            frame->showMaximized();
        else
            frame->show();
        if (m_pMdiArea) m_pMdiArea->setActiveSubWindow(frame);
    }
    return doc;
}

CMDIChildWnd* CMultiDocTemplate::CreateNewFrame(CDocument* doc) {
    CMDIChildWnd* frame = m_frameFactory();
    CView* view = m_viewFactory();
    doc->AddView(view);
    frame->SetView(view);
    return frame;
}

void CMultiDocTemplate::CloseAllDocuments() {
    const std::list<CDocument*> docs = m_docList;
    for (CDocument* doc : docs) doc->OnCloseDocument();
}

void CMultiDocTemplate::RemoveDocument(CDocument* doc) { m_docList.remove(doc); }
