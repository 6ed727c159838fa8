// Creates documents with their frame and view and keeps the list of open
// documents of one kind.
#pragma once

#include <functional>
#include <list>

#include <QString>

class CDocument;
class CMDIChildWnd;
class CView;
class QMdiArea;

class CMultiDocTemplate {
public:
    using DocFactory = std::function<CDocument*()>;
    using FrameFactory = std::function<CMDIChildWnd*()>;
    using ViewFactory = std::function<CView*()>;

    // docName titles new documents: docName1, docName2, ...
    CMultiDocTemplate(int resourceId, const QString& docName, DocFactory doc, FrameFactory frame,
                      ViewFactory view);
    ~CMultiDocTemplate();
    CMultiDocTemplate(const CMultiDocTemplate&) = delete;
    CMultiDocTemplate& operator=(const CMultiDocTemplate&) = delete;

    int GetResourceId() const { return m_nIDResource; }
    // Where document windows go; without an area they are top-level windows.
    void SetMdiArea(QMdiArea* area) { m_pMdiArea = area; }

    // Empty path: a new document. An already open path only activates its
    // window. Null when the document cannot be created or opened.
    CDocument* OpenDocumentFile(const QString& path, bool makeVisible = true);
    void CloseAllDocuments();
    const std::list<CDocument*>& GetDocuments() const { return m_docList; }
    void RemoveDocument(CDocument* doc);
    // A further window with a view of its own on `doc`.
    CMDIChildWnd* CreateNewFrame(CDocument* doc);

private:
    int m_nIDResource;
    QString m_strDocName;
    DocFactory m_docFactory;
    FrameFactory m_frameFactory;
    ViewFactory m_viewFactory;
    QMdiArea* m_pMdiArea = nullptr;
    std::list<CDocument*> m_docList;
    int m_nUntitledCount = 0;
};
