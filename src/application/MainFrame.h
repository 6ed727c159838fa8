// The main window: menus, tool bars, status bar, the MDI document tabs, five
// docking panes and the two working modes (1 camera, 2 image processing).
// Pages, panels and views talk to it through numbered messages.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QRect>
#include <QSize>
#include <QString>

#include "MDIFrameWnd.h"

class CCameraControl;
class CCaptureControl;
class CControlHost;
class CKXViewDoc;
class QDockWidget;
class QLabel;
class QMimeData;
class QShortcut;
class QStackedWidget;
class QToolBar;
class QToolButton;

namespace vimg {
class Image;
}

class CMainFrame : public CMDIFrameWnd {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the window in its creation steps; false when a step fails.
    bool LoadFrame();

    void SetMode(int mode);
    int Mode() const { return m_mode; }
    // Selects a tab of the control host; the page shown sets the mode.
    void SelectTab(int index);
    CControlHost* ControlHost() const { return m_pControlHost; }
    CCameraControl* CameraControl() const { return m_pCameraControl.get(); }
    // Capture settings, stills, series, video, the save panel and the image browser.
    CCaptureControl* Capture() const { return m_pCapture.get(); }

    QDockWidget* Pane(int id) const;
    // The results table of the active document, docked beside the documents.
    QDockWidget* ResultsPane() const { return m_pResultsDock; }
    // "Abbrechen" beside the progress, shown while the active document works.
    QToolButton* CancelButton() const { return m_pCancelButton; }
    bool IsPaneClosed(int id) const;
    void ShowPane(int id);
    void ClosePane(int id);
    // The size a pane was last fixed to (min = max track size).
    QSize PaneTrackSize(int id) const;

    void ToggleFullScreen();
    bool IsFullScreen() const { return m_fullScreen; }
    int PaneWidth() const { return m_paneWidth; }
    int PaneHeight() const { return m_paneHeight; }
    QSize PreviewArea() const { return m_previewArea; }
    // The area between the bars that panes and documents share.
    QSize ClientSize() const;

    QToolBar* ToolBar() const { return m_pToolBar; }
    QToolBar* ClassicToolBar() const { return m_pClassicToolBar; }
    // Status-bar panes: 0 message, 1-4 document panes, 5-7 lock keys.
    void SetPaneText(int index, const QString& text);
    QString PaneText(int index) const;
    // Shows "CAP", "NUM" and "SCRL" for the lock keys that are on.
    void UpdateLockKeys();
    // The menu in the menu bar: 235 camera, 236 documents, 128 no document.
    int MenuId() const { return m_menuId; }
    // The window rectangle the profile gave, moved onto the screen; empty
    // when the profile had none.
    QRect SavedFrame() const { return m_savedFrame; }
    int MenuLook() const { return m_menuLook; }
    QString CapturePath() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The picture of clipboard data: our own BMP first, else any image; null without one.
    static std::unique_ptr<vimg::Image> ImageFromClipboard(const QMimeData& data);

protected:
    void OnActiveChildChanged() override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreatePanes();
    void AttachPaneWindow(int id);
    // Shares the left column between the control pane, the save panel and the
    // image browser in camera mode.
    void ShareControlColumn();
    void FixPaneSize(int id, int width, int height);
    void DockAt(Qt::DockWidgetArea area, int id);
    void DockBelow(int id, int above);
    void CreateStatusBar();
    QToolBar* CreateToolBar(const QString& name, const QString& title);
    void RegisterCommands();
    void ApplyMenuLook();
    void SetPreviewArea(int width, int height);
    void LoadModeMenu();
    void PlaceSavedFrame();
    void Cascade();
    void OnTabBarMade(QTabBar* tabs) override;
    void SetControlColumnFixed(bool fixed);
    void OnPaste();
    void OnTabContextMenu(const QPoint& pos);
    LRESULT OnOpenImage(const QString* path);
    // The document of the active child window, or null.
    CKXViewDoc* ActiveDocument() const;
    // Status texts and histogram follow the active document only.
    void FollowActiveDocument();
    void CreateResultsPane();
    // Puts a document's results table into the results pane and shows it.
    void ShowResults(QWidget* table);
    // The results pane shows the active document's table (made when the pane is open).
    void FollowResults();

    int m_mode = 1;
    bool m_fullScreen = false;
    int m_paneWidth = 0;
    int m_paneHeight = 0;
    int m_menuLook = 0;
    int m_menuId = 0;
    int m_notWin2000 = 1; // this platform is never Windows 2000: camera re-detection is allowed
    QSize m_previewArea;
    QRect m_savedFrame;
    bool m_placePending = false;
    bool m_closed = false;
    bool m_clipboardHasImage = false;
    std::vector<QMetaObject::Connection> m_documentConnections;

    CControlHost* m_pControlHost = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QToolBar* m_pClassicToolBar = nullptr;
    QShortcut* m_pHotKey = nullptr;
    std::map<int, QDockWidget*> m_panes;
    QDockWidget* m_pResultsDock = nullptr;
    QToolButton* m_pCancelButton = nullptr;
    QStackedWidget* m_pResultsStack = nullptr;
    std::map<int, QSize> m_trackSizes;
    std::vector<QLabel*> m_statusPanes;
    // Camera state, preview, camera page, device watcher and configuration file.
    std::unique_ptr<CCameraControl> m_pCameraControl;
    std::unique_ptr<CCaptureControl> m_pCapture;
};
