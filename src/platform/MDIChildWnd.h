// A document window inside the main frame's MDI area, holding one view.
#pragma once

#include <QMdiSubWindow>

#include "CmdTarget.h"

class CView;

class CMDIChildWnd : public QMdiSubWindow, public CCmdTarget {
    Q_OBJECT
public:
    explicit CMDIChildWnd(QWidget* parent = nullptr);

    void SetView(CView* view);
    CView* GetActiveView() const { return m_pView; }
    // Takes the caption from the document's title.
    virtual void OnUpdateFrameTitle();

    // The view (and through it the document) first, then the frame itself.
    bool OnCmdMsg(int id, CCmdUI* pUI) override;

protected:
    // The last window of a modified document asks the document first.
    void closeEvent(QCloseEvent* event) override;

private:
    CView* m_pView = nullptr;
};
