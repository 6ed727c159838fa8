// Base of the documents: title, path name, the views that show it and the
// update-all-views call. A document deletes itself when its last view goes.
#pragma once

#include <list>

#include <QString>

#include "CmdTarget.h"
#include "PlatformTypes.h"

class CView;
class CMultiDocTemplate;

class CDocument : public CCmdTarget {
public:
    // Handles the close command of its window ("Schließen").
    CDocument();
    ~CDocument() override;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    virtual bool OnNewDocument() { return true; }
    virtual bool OnOpenDocument(const QString& /*path*/) { return true; }
    // Closes every frame that shows the document, then deletes it.
    virtual void OnCloseDocument();
    // Called before the document closes at the user's request: false keeps it
    // open. The base has nothing to save.
    virtual bool SaveModified() { return true; }
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    const QString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const QString& title);
    const QString& GetPathName() const { return m_strPathName; }
    // Also titles the document with the file name and, when asked, adds it to
    // the recent-file list.
    virtual void SetPathName(const QString& path, bool addToMRU = true);

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::list<CView*>& GetViews() const { return m_viewList; }
    CView* GetFirstView() const { return m_viewList.empty() ? nullptr : m_viewList.front(); }
    // Calls OnUpdate(sender, hint) on every view except the sender.
    virtual void UpdateAllViews(CView* sender, LPARAM hint = 0);

    CMultiDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

private:
    friend class CMultiDocTemplate;
    void UpdateFrameTitles();

    QString m_strTitle;
    QString m_strPathName;
    std::list<CView*> m_viewList;
    CMultiDocTemplate* m_pDocTemplate = nullptr;
    bool m_bClosing = false;
    bool m_bModified = false;
};
