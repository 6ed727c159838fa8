// The image-processing page (tab "Bild", template 169): sixteen shaded
// buttons for the commonest image commands and the "Fluorescence" heading.
// A button sends its command id to the main frame, which routes it to the
// active document exactly as the menu item of the same command would; with no
// document open nothing handles it. The page holds no image state.
#pragma once

#include <map>

#include "TemplateDialog.h"

class CMDIFrameWnd;

class CPageImageProc : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CPageImageProc(CMDIFrameWnd* frame, QWidget* parent = nullptr);

    // The command each button sends, by control id.
    static const std::map<int, int>& ButtonCommands();

protected:
    void OnClicked(int id) override;
    void OnCancel() override;

private:
    CMDIFrameWnd* m_frame;
};
