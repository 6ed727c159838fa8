// Base of the views: a widget that shows one document, receives its update
// hints and routes commands on to it.
#pragma once

#include <QWidget>

#include "CmdTarget.h"
#include "MessageTarget.h"

class CDocument;
class CMDIChildWnd;

class CView : public QWidget, public CCmdTarget, public CMessageTarget {
    Q_OBJECT
public:
    explicit CView(QWidget* parent = nullptr);
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CMDIChildWnd* GetParentFrame() const;

    // Called once after the document is loaded and the frame is built.
    virtual void OnInitialUpdate();
    // The document changed; hint says how (0 plain redraw).
    virtual void OnUpdate(CView* sender, LPARAM hint);

    // The view first, then its document.
    bool OnCmdMsg(int id, CCmdUI* pUI) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
