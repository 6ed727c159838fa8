// One mouse tool of the image view: what a press, a drag, a release and a
// double click do. The view hands each tool the events in viewport pixels;
// the tool keeps the state of its own drag and changes the document and the
// view through their public calls.
#pragma once

class CKXViewView;
class QMouseEvent;

class CViewTool {
public:
    explicit CViewTool(CKXViewView& view) : m_view(view) {}
    virtual ~CViewTool() = default;
    CViewTool(const CViewTool&) = delete;
    CViewTool& operator=(const CViewTool&) = delete;

    virtual void Press(QMouseEvent& /*event*/) {}
    // Every move over the picture, with or without buttons held.
    virtual void Move(QMouseEvent& /*event*/) {}
    virtual void Release(QMouseEvent& /*event*/) {}
    virtual void DoubleClick(QMouseEvent& /*event*/) {}
    virtual void RightPress(QMouseEvent& /*event*/) {}
    virtual void RightRelease(QMouseEvent& /*event*/) {}
    // Escape: true when it ended a drag of this tool.
    virtual bool Cancel() { return false; }

protected:
    CKXViewView& m_view;
};
