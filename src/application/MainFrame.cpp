#include "MainFrame.h"

#include <algorithm>
#include <cstring>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include "AppLog.h"
#include "CameraControl.h"
#include "CaptureControl.h"
#include "CmdUI.h"
#include "CommandIcons.h"
#include "ControlHost.h"
#include "CountdownBar.h"
#include "DibBlock.h"
#include "HistogramBar.h"
#include "Image.h"
#include "ImageBitmap.h"
#include "ImageBrowser.h"
#include "KXVMeasure.h"
#include "KXViewApp.h"
#include "KXViewDoc.h"
#include "KXViewView.h"
#include "LockKeys.h"
#include "MeasureManager.h"
#include "MeasureView.h"
#include "ResultsTable.h"
#include "MDIChildWnd.h"
#include "MultiDocTemplate.h"
#include "PageImageProc.h"
#include "PreviewWindow.h"
#include "Profile.h"
#include "Resource.h"
#include "Resources.h"
#include "SavePanel.h"
#include "UserMessages.h"

namespace {

const QString kScreen = QStringLiteral("Screen");
const QString kCommandBars = QStringLiteral("CommandBars");
const QString kNormalLayout = QStringLiteral("NormalLayout");
constexpr int kControlWidth = 260;
// A restored window keeps at least this much of itself on the screen.
constexpr int kKeepVisible = 100;
const int kPaneOrder[] = {IDD_PREVIEW, IDP_CONTROL, IDD_HISTOGRAM, IDD_IMAGE_BROWSER, IDD_SAVE_PANEL};

CWinApp* App() { return AfxGetApp(); }

// The saved window rectangle moved and shrunk so that its title bar is on a
// screen: never above the top, and at least a corner's worth visible.
QRect FitOnScreen(QRect frame) {
    const QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return frame;
    const QRect avail = screen->availableGeometry();
    frame.setSize(frame.size().boundedTo(avail.size()));
    const int left =
        qBound(avail.left() - frame.width() + kKeepVisible, frame.left(), avail.right() - kKeepVisible);
    const int top = qBound(avail.top(), frame.top(), avail.bottom() - kKeepVisible);
    frame.moveTo(left, top);
    return frame;
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : CMDIFrameWnd(parent), m_pControlHost(new CControlHost) {
    resources::RegisterPictures();
    setObjectName(QStringLiteral("MainFrame"));
    connect(m_pControlHost, &CControlHost::pageShown, this, [this](int mode) {
        m_mode = mode;
        SetMode(mode);
    });
    RegisterCommands();
    m_pCameraControl = std::make_unique<CCameraControl>(this, this, m_notWin2000);
    m_pCapture = std::make_unique<CCaptureControl>(m_pCameraControl.get(), this, this);
    // Stills carry the calibration the measurement library keeps for the camera at its resolution.
    m_pCapture->SetCalibration([](const QString& camera, int width, int height) {
        return KXVM_MicronsPerPixel(camera.toUtf8().constData(), width, height);
    });
    m_pCapture->SetStatusReporter([this](const QString& text) { SetPaneText(0, text); });
    if (CWinApp* app = App()) m_pCapture->SetProfile(&app->Profile());
    // Live focus stacks and mosaics open as new pictures, numbered like the menu's merges; after the
    // stop in hand is done, as the new document changes the mode.
    m_pCapture->SetLiveResult([this](int control, std::unique_ptr<vimg::Image> picture) {
        std::shared_ptr<vimg::Image> result(std::move(picture));
        QTimer::singleShot(0, this, [this, control, result] {
            CKXViewApp* app = theApp();
            if (m_closed || !app || !app->m_pDocTemplate) return;
            auto* doc = dynamic_cast<CKXViewDoc*>(app->m_pDocTemplate->OpenDocumentFile(QString()));
            if (!doc) return;
            SelectTab(1);
            doc->SetImage(std::make_unique<vimg::Image>(std::move(*result)));
            const int number = ++app->m_settings.imageCounter;
            doc->SetTitle((control == IDC_SAVE_EDF ? QCoreApplication::translate("ComposeCommands", "EDF %1")
                                                  : QCoreApplication::translate("ComposeCommands", "Mosaik %1"))
                              .arg(number));
            doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
            doc->UpdateStatusBar();
        });
    });
    m_pControlHost->InstallPage(0, m_pCameraControl->Page());
    m_pControlHost->InstallPage(1, new CPageImageProc(this));
}

CMainFrame::~CMainFrame() {
    kxvm::ResultsTable::SetHost(nullptr);
    // Stops and releases a running camera while the windows it draws into exist.
    m_pCapture.reset();
    m_pCameraControl.reset();
    // The control host is parentless until its pane is first shown.
    if (!m_pControlHost->parent()) delete m_pControlHost;
}

bool CMainFrame::LoadFrame() {
    if (const QScreen* s = screen()) resize(QSize(1024, 720).boundedTo(s->availableGeometry().size()));

    m_pClassicToolBar = CreateToolBar(QStringLiteral("ClassicToolBar"), QStringLiteral("Standard"));
    m_pClassicToolBar->hide();
    CreateStatusBar();
    // The long exposure's countdown with its cancel button, shown while it counts.
    statusBar()->addWidget(m_pCapture->CountdownBar());

    LoadMenu(menuBar(), resources::Menu(IDR_MAINFRAME));
    m_pToolBar = CreateToolBar(QStringLiteral("ToolBar"), QStringLiteral("ToolBar"));
    for (const Accelerator& a : resources::Accelerators()) CommandAction(a.id)->setShortcut(a.keys);

    const QSize client = ClientSize();
    m_paneWidth = static_cast<int>(client.width() * 1.35) - kControlWidth;
    m_paneHeight = static_cast<int>(client.height() * 1.55);
    SetPreviewArea(m_paneWidth - 11, m_paneHeight - 130);
    CreatePanes();
    CreateResultsPane();

    m_fullScreen = false;
    const int left = App()->GetProfileInt(kScreen, QStringLiteral("left"), 0);
    const int top = App()->GetProfileInt(kScreen, QStringLiteral("top"), 0);
    const int right = App()->GetProfileInt(kScreen, QStringLiteral("right"), 850);
    const int bottom = App()->GetProfileInt(kScreen, QStringLiteral("bottom"), 650);
    if (left && top && right && bottom && right > left && bottom > top) {
        // The stored rectangle includes the window frame. The frame is known
        // only once a window manager has framed the window: until then the
        // inner area takes the rectangle, and PlaceSavedFrame corrects it.
        m_savedFrame = FitOnScreen(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
        setGeometry(m_savedFrame);
        m_placePending = true;
    }

    m_pMdiArea->setViewMode(QMdiArea::TabbedView);
    m_bTabbedWhenMaximised = true;
    m_pMdiArea->setTabsClosable(true);
    m_pMdiArea->setDocumentMode(true);
    if (auto* tabs = m_pMdiArea->findChild<QTabBar*>()) OnTabBarMade(tabs);

    const QByteArray layout = App()->Profile().GetProfileBinary(kNormalLayout, QStringLiteral("State"));
    if (!layout.isEmpty() && !restoreState(layout)) qCInfo(lcApp) << "saved pane layout ignored";
    m_pToolBar->setVisible(
        App()->GetProfileInt(kCommandBars, QStringLiteral("ToolBarVisible"), !m_pToolBar->isHidden()));
    m_pClassicToolBar->setVisible(
        App()->GetProfileInt(kCommandBars, QStringLiteral("ClassicToolBarVisible"), 0));
    m_menuLook = App()->GetProfileInt(kCommandBars, QStringLiteral("MenuLook"), 0) ? 1 : 0;
    ApplyMenuLook();

    if (!m_pToolBar->isHidden()) {
        m_mode = 2;
        SelectTab(1);
    } else {
        m_mode = 1;
        SelectTab(0);
    }

    QString& capturePath = m_pCapture->m_capturePath;
    capturePath = m_pCameraControl->ReadCapturePath();
    if (capturePath.isEmpty())
        capturePath =
            QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) + QStringLiteral("/Vistorel/");
    // A new account may not have its pictures folder yet: make both.
    if (!QDir().mkpath(capturePath))
        qCInfo(lcApp) << "capture folder" << capturePath << "could not be created";
    m_pCapture->Browser()->AddExisting(capturePath);

    m_pCameraControl->StartWatching();
    SetTitle(QStringLiteral("Vistorel SoftWare"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/vistorel.png")));

    // X sends no event when a lock key changes while another window has the
    // keyboard: the panes look at the indicators four times a second.
    auto* lockKeys = new QTimer(this);
    connect(lockKeys, &QTimer::timeout, this, [this] {
        if (statusBar()->isVisible()) UpdateLockKeys();
    });
    lockKeys->start(250);
    UpdateLockKeys();
    return true;
}

QToolBar* CMainFrame::CreateToolBar(const QString& name, const QString& title) {
    auto* bar = new QToolBar(title, this);
    bar->setObjectName(name);
    bar->setIconSize(QSize(24, 24));
    for (int id : resources::ToolBar()) {
        if (id == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* action = CommandAction(id);
        if (action->icon().isNull()) action->setIcon(CommandIcon(id));
        bar->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    // Each pane is as wide as the longest text written into it: 1 spare,
    // 2 progress or time, 3 the file format, 4 the picture's size.
    const QString widest[] = {QString(),
                              QStringLiteral("100 %"),
                              QStringLiteral("Time (s): 9999.999"),
                              QStringLiteral("WBM"),
                              QStringLiteral("(99999x99999x32)"),
                              resources::String(ID_INDICATOR_CAPS),
                              resources::String(ID_INDICATOR_NUM),
                              resources::String(ID_INDICATOR_SCRL)};
    for (int i = 0; i < 8; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("StatusPane%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i == 0) {
            label->setText(resources::String(IDS_IDLE_MESSAGE));
            bar->addWidget(label, 1);
        } else {
            label->setAlignment(Qt::AlignCenter);
            const int textWidth = label->fontMetrics().horizontalAdvance(widest[i]);
            label->setFixedWidth(textWidth + 2 * label->frameWidth() + 12);
            bar->addPermanentWidget(label);
        }
        m_statusPanes.push_back(label);
        if (i == 2) {
            // Beside the progress: stops the active document's running operation.
            m_pCancelButton = new QToolButton(bar);
            m_pCancelButton->setObjectName(QStringLiteral("CancelOperation"));
            m_pCancelButton->setText(tr("Abbrechen"));
            m_pCancelButton->setToolTip(tr("Laufende Bearbeitung abbrechen"));
            m_pCancelButton->hide();
            connect(m_pCancelButton, &QToolButton::clicked, this, [this] {
                ExecuteCommand(ID_CANCEL_OPERATION);
                UpdateAllCommandUI();
            });
            bar->addPermanentWidget(m_pCancelButton);
        }
    }
}

void CMainFrame::UpdateLockKeys() {
    const std::pair<CLockKeys::Key, int> panes[] = {{CLockKeys::CapsLock, ID_INDICATOR_CAPS},
                                                    {CLockKeys::NumLock, ID_INDICATOR_NUM},
                                                    {CLockKeys::ScrollLock, ID_INDICATOR_SCRL}};
    for (int i = 0; i < 3; ++i) {
        // Blank when off, and where the platform cannot tell.
        const std::optional<bool> on = CLockKeys::IsOn(panes[i].first);
        SetPaneText(5 + i, on.value_or(false) ? resources::String(panes[i].second) : QString());
    }
}

void CMainFrame::SetPaneText(int index, const QString& text) {
    if (index >= 0 && index < static_cast<int>(m_statusPanes.size())) m_statusPanes[index]->setText(text);
}

QString CMainFrame::PaneText(int index) const {
    return index >= 0 && index < static_cast<int>(m_statusPanes.size()) ? m_statusPanes[index]->text()
                                                                        : QString();
}

void CMainFrame::CreatePanes() {
    for (int id : {IDD_PREVIEW, IDP_CONTROL, IDD_HISTOGRAM, IDD_SAVE_PANEL, IDD_IMAGE_BROWSER}) {
        auto* dock = new QDockWidget(resources::String(id).section(QLatin1Char('\n'), 0, 0), this);
        dock->setObjectName(QStringLiteral("Pane%1").arg(id));
        dock->installEventFilter(this);
        m_panes[id] = dock;
    }
    auto* histogram = new CHistogramBar;
    histogram->m_activeDocument = [this] { return ActiveDocument(); };
    histogram->m_cameraMode = [this] { return m_mode == 1; };
    m_panes[IDD_HISTOGRAM]->setWidget(histogram);
    // The control column on the left; the preview fills the rest.
    addDockWidget(Qt::RightDockWidgetArea, m_panes[IDD_PREVIEW]);
    addDockWidget(Qt::LeftDockWidgetArea, m_panes[IDP_CONTROL]);
    splitDockWidget(m_panes[IDP_CONTROL], m_panes[IDD_HISTOGRAM], Qt::Vertical);
    splitDockWidget(m_panes[IDP_CONTROL], m_panes[IDD_SAVE_PANEL], Qt::Vertical);
    splitDockWidget(m_panes[IDD_SAVE_PANEL], m_panes[IDD_IMAGE_BROWSER], Qt::Vertical);
    resizeDocks(
        {m_panes[IDP_CONTROL], m_panes[IDD_HISTOGRAM], m_panes[IDD_SAVE_PANEL], m_panes[IDD_IMAGE_BROWSER]},
        {m_paneHeight * 30 / 100, m_paneHeight * 30 / 100, m_paneHeight * 15 / 100, m_paneHeight * 30 / 100},
        Qt::Vertical);
}

void CMainFrame::AttachPaneWindow(int id) {
    QDockWidget* dock = Pane(id);
    if (!dock || dock->widget()) return;
    QWidget* content = nullptr;
    if (id == IDP_CONTROL) {
        content = m_pControlHost;
    } else if (id == IDD_PREVIEW) {
        content = m_pCameraControl->Preview();
    } else if (id == IDD_SAVE_PANEL) {
        content = m_pCapture->SavePanel();
    } else if (id == IDD_IMAGE_BROWSER) {
        content = m_pCapture->Browser();
    } else {
        // The histogram brings its own window.
        content = new QWidget;
    }
    if (!content) return;
    content->setObjectName(content->objectName().isEmpty() ? QStringLiteral("PaneWindow%1").arg(id)
                                                           : content->objectName());
    dock->setWidget(content);
}

QDockWidget* CMainFrame::Pane(int id) const {
    auto it = m_panes.find(id);
    return it == m_panes.end() ? nullptr : it->second;
}

bool CMainFrame::IsPaneClosed(int id) const {
    const QDockWidget* dock = Pane(id);
    return !dock || dock->isHidden();
}

void CMainFrame::ShowPane(int id) {
    if (QDockWidget* dock = Pane(id)) {
        dock->show();
        dock->raise();
    }
}

void CMainFrame::ClosePane(int id) {
    if (QDockWidget* dock = Pane(id)) dock->close();
}

QSize CMainFrame::PaneTrackSize(int id) const {
    auto it = m_trackSizes.find(id);
    return it == m_trackSizes.end() ? QSize() : it->second;
}

void CMainFrame::FixPaneSize(int id, int width, int height) {
    QDockWidget* dock = Pane(id);
    if (!dock) return;
    m_trackSizes[id] = QSize(width, height);
    // The control column keeps its width; the preview takes what the column
    // leaves, so a size larger than the window cannot push the window out.
    if (id != IDD_PREVIEW) dock->setFixedWidth(width);
    resizeDocks({dock}, {height}, Qt::Vertical);
}

namespace {

// Height a pane needs to show `contentHeight` pixels in `shown`, the part of
// it that grows and shrinks with the pane: the rest (title bar, tabs, frames)
// stays as it is.
int NeededHeight(QDockWidget* pane, QWidget* shown, int contentHeight) {
    return pane->height() - shown->height() + contentHeight;
}

} // namespace

void CMainFrame::ShareControlColumn() {
    // Sized one by one, the later panes get what the earlier ones left, and a
    // shrinking window takes its height from the last pane first: in a window
    // lower than the screen the image browser would keep almost nothing.
    // Share the column in the panes' proportions instead, as far as they leave
    // the control page and the save panel all their buttons; a lower column
    // gives the save panel what it needs and lets the control page scroll.
    QDockWidget* control = Pane(IDP_CONTROL);
    QDockWidget* panel = Pane(IDD_SAVE_PANEL);
    QDockWidget* browser = Pane(IDD_IMAGE_BROWSER);
    if (!control || !panel || !browser || panel->isHidden() || browser->isHidden()) return;
    const int column = control->height() + panel->height() + browser->height();
    QWidget* page = m_pControlHost->Page(m_pControlHost->GetCurSel());
    // The page sits in a scroll area's viewport; the save panel's controls are
    // placed by its template, without a layout that would tell their extent.
    const int controlNeed = page ? NeededHeight(control, page->parentWidget(), page->height()) : 0;
    QWidget* panelContent = panel->widget();
    const int panelNeed =
        panelContent ? NeededHeight(panel, panelContent, panelContent->childrenRect().bottom() + 8) : 0;
    constexpr int kBrowserAtLeast = 200;
    QList<int> shares{column * 30 / 75, column * 15 / 75, column * 30 / 75};
    if (shares[0] < controlNeed || shares[1] < panelNeed) {
        if (controlNeed + panelNeed + kBrowserAtLeast <= column)
            shares = {controlNeed, panelNeed, column - controlNeed - panelNeed};
        else
            shares = {(column - panelNeed) / 2, panelNeed, column - panelNeed - (column - panelNeed) / 2};
    }
    resizeDocks({control, panel, browser}, shares, Qt::Vertical);
}

void CMainFrame::DockAt(Qt::DockWidgetArea area, int id) {
    if (QDockWidget* dock = Pane(id)) addDockWidget(area, dock);
}

void CMainFrame::DockBelow(int id, int above) {
    if (Pane(id) && Pane(above)) splitDockWidget(Pane(above), Pane(id), Qt::Vertical);
}

QSize CMainFrame::ClientSize() const {
    int h = height();
    if (menuBar() && !menuBar()->isHidden()) h -= menuBar()->sizeHint().height();
    if (m_pToolBar && !m_pToolBar->isHidden()) h -= m_pToolBar->sizeHint().height();
    if (m_pClassicToolBar && !m_pClassicToolBar->isHidden()) h -= m_pClassicToolBar->sizeHint().height();
    if (statusBar() && !statusBar()->isHidden()) h -= statusBar()->sizeHint().height();
    return {width(), qMax(h, 0)};
}

void CMainFrame::SelectTab(int index) { m_pControlHost->SetCurSel(index); }

void CMainFrame::SetMode(int mode) {
    if (m_closed) return; // the panes are gone
    const int h = m_paneHeight;
    if (mode == 1) {
        if (IsPaneClosed(IDD_PREVIEW)) ShowPane(IDD_PREVIEW);
        if (!IsPaneClosed(IDD_HISTOGRAM)) ClosePane(IDD_HISTOGRAM);
        if (m_pResultsDock) m_pResultsDock->hide();
        for (int id : {IDP_CONTROL, IDD_IMAGE_BROWSER, IDD_SAVE_PANEL})
            if (IsPaneClosed(id)) ShowPane(id);
        m_pMdiArea->hide();
        DockAt(Qt::RightDockWidgetArea, IDD_PREVIEW);
        DockAt(Qt::LeftDockWidgetArea, IDP_CONTROL);
        DockBelow(IDD_SAVE_PANEL, IDP_CONTROL);
        DockBelow(IDD_IMAGE_BROWSER, IDD_SAVE_PANEL);
        FixPaneSize(IDP_CONTROL, kControlWidth, h * 30 / 100);
        FixPaneSize(IDD_SAVE_PANEL, kControlWidth, h * 15 / 100);
        FixPaneSize(IDD_IMAGE_BROWSER, kControlWidth, h * 30 / 100);
        ShareControlColumn();
        // The panes just shown have their heights only once the layout has run.
        QTimer::singleShot(0, this, [this] {
            if (m_mode == 1 && !m_closed) ShareControlColumn();
        });
    } else if (mode == 2) {
        for (int id : {IDD_PREVIEW, IDD_IMAGE_BROWSER, IDD_SAVE_PANEL})
            if (!IsPaneClosed(id)) ClosePane(id);
        if (IsPaneClosed(IDP_CONTROL)) ShowPane(IDP_CONTROL);
        m_pMdiArea->show();
        // Showing the area again does not give its document back the focus.
        if (CMDIChildWnd* child = MDIGetActive()) m_pMdiArea->setActiveSubWindow(child);
        DockAt(Qt::LeftDockWidgetArea, IDP_CONTROL);
        FixPaneSize(IDP_CONTROL, kControlWidth, h * 50 / 100);
        if (!IsPaneClosed(IDD_HISTOGRAM)) {
            DockBelow(IDD_HISTOGRAM, IDP_CONTROL);
            FixPaneSize(IDD_HISTOGRAM, kControlWidth, h * 30 / 100);
        }
    }
    m_menuId = 0;
    LoadModeMenu();
    if (m_pHotKey) m_pHotKey->setEnabled(mode == 1);
    if (m_pToolBar) m_pToolBar->setVisible(mode == 2);
}

void CMainFrame::SetPreviewArea(int width, int height) {
    m_previewArea = QSize(width, height);
    if (CPreviewWindow* preview = m_pCameraControl ? m_pCameraControl->Preview() : nullptr)
        preview->SetArea(width + 11, height + 130);
}

void CMainFrame::LoadModeMenu() {
    int id = m_menuId;
    if (m_mode == 1) id = IDR_CAMERA_MENU;
    // Without a document the frame's own menu; the documents bring theirs.
    if (m_mode == 2) id = m_pMdiArea->subWindowList().isEmpty() ? IDR_MAINFRAME : IDR_VISTORTYPE;
    if (id == m_menuId || id == 0) return;
    m_menuId = id;
    LoadMenu(menuBar(), resources::Menu(id));
    ApplyMenuLook();
}

void CMainFrame::OnActiveChildChanged() {
    CMDIFrameWnd::OnActiveChildChanged();
    if (m_closed) return;
    LoadModeMenu();
    FollowActiveDocument();
}

CKXViewDoc* CMainFrame::ActiveDocument() const {
    CMDIChildWnd* child = MDIGetActive();
    CView* view = child ? child->GetActiveView() : nullptr;
    return view ? dynamic_cast<CKXViewDoc*>(view->GetDocument()) : nullptr;
}

void CMainFrame::FollowActiveDocument() {
    for (const QMetaObject::Connection& c : m_documentConnections) disconnect(c);
    m_documentConnections.clear();
    QWidget* histogram = Pane(IDD_HISTOGRAM) ? Pane(IDD_HISTOGRAM)->widget() : nullptr;
    if (m_pCancelButton) m_pCancelButton->setVisible(ActiveDocument() && ActiveDocument()->IsBusy());
    if (CKXViewDoc* doc = ActiveDocument()) {
        m_documentConnections.push_back(connect(doc, &CKXViewDoc::StatusChanged, this,
                                                [this](int pane, const QString& text) { SetPaneText(pane, text); }));
        if (m_pCancelButton)
            m_documentConnections.push_back(connect(doc, &CKXViewDoc::BusyChanged, m_pCancelButton,
                                                    [this](bool busy) { m_pCancelButton->setVisible(busy); }));
        if (histogram) {
            m_documentConnections.push_back(
                connect(doc, &CKXViewDoc::HistogramChanged, histogram, [histogram] { histogram->update(); }));
            m_documentConnections.push_back(
                connect(doc, &CKXViewDoc::BusyChanged, histogram, [histogram] { histogram->update(); }));
        }
        doc->UpdateStatusBar();
    }
    // The bar draws the active document anew, counting it if it never was.
    if (histogram) histogram->update();
    FollowResults();
}

void CMainFrame::CreateResultsPane() {
    m_pResultsDock = new QDockWidget(tr("Messtabelle"), this);
    m_pResultsDock->setObjectName(QStringLiteral("MeasureResultsPane"));
    m_pResultsStack = new QStackedWidget(m_pResultsDock);
    auto* none = new QLabel(tr("Keine Messtabelle"), m_pResultsStack);
    none->setAlignment(Qt::AlignCenter);
    m_pResultsStack->addWidget(none);
    m_pResultsDock->setWidget(m_pResultsStack);
    addDockWidget(Qt::RightDockWidgetArea, m_pResultsDock);
    m_pResultsDock->hide();
    kxvm::ResultsTable::SetHost([this](kxvm::ResultsTable* table) { ShowResults(table); });
}

void CMainFrame::ShowResults(QWidget* table) {
    if (!m_pResultsStack || m_closed) return;
    if (m_pResultsStack->indexOf(table) < 0) {
        m_pResultsStack->addWidget(table);
        if (auto* results = qobject_cast<kxvm::ResultsTable*>(table))
            connect(results, &kxvm::ResultsTable::TitleChanged, m_pResultsDock, [this, results](const QString& title) {
                if (m_pResultsStack->currentWidget() == results) m_pResultsDock->setWindowTitle(title);
            });
    }
    m_pResultsStack->setCurrentWidget(table);
    m_pResultsDock->setWindowTitle(table->windowTitle());
    if (m_mode == 2 && m_pResultsDock->isHidden()) {
        m_pResultsDock->show();
        // Wide enough for a few value columns, leaving the documents the most.
        resizeDocks({m_pResultsDock}, {std::max(320, width() * 2 / 5)}, Qt::Horizontal);
    }
    if (m_mode == 2) m_pResultsDock->raise();
}

void CMainFrame::FollowResults() {
    if (!m_pResultsStack) return;
    CMDIChildWnd* child = MDIGetActive();
    const auto* view = child ? dynamic_cast<CKXViewView*>(child->GetActiveView()) : nullptr;
    const auto* measure = view ? dynamic_cast<const CMeasureView*>(view->MeasureOverlay()) : nullptr;
    kxvm::MeasureManager* manager = measure ? KXVM_Manager(measure->Handle()) : nullptr;
    if (manager && manager->Table()) {
        ShowResults(manager->Table());
    } else if (manager && !m_pResultsDock->isHidden()) {
        manager->ShowTable();
    } else {
        m_pResultsStack->setCurrentIndex(0);
        m_pResultsDock->setWindowTitle(tr("Messtabelle"));
    }
}

void CMainFrame::ToggleFullScreen() {
    if (m_closed) return;
    QMdiSubWindow* active = MDIGetActive();
    if (!m_fullScreen) {
        App()->WriteProfileInt(QStringLiteral("TabDocking"), QStringLiteral("Position"),
                               m_pMdiArea->tabPosition());
        showFullScreen();
        if (active) active->showMaximized();
        statusBar()->hide();
        if (m_mode == 1) {
            for (int id : {IDD_IMAGE_BROWSER, IDD_SAVE_PANEL, IDP_CONTROL})
                if (!IsPaneClosed(id)) ClosePane(id);
            // The window is about to cover the screen; its resize comes later.
            const QSize screenSize = screen() ? screen()->geometry().size() : size();
            const int menuHeight = menuBar()->sizeHint().height();
            m_paneWidth = screenSize.width();
            m_paneHeight = static_cast<int>((screenSize.height() - menuHeight) * 1.15);
            SetPreviewArea(m_paneWidth - 11, m_paneHeight - 130);
            DockAt(Qt::RightDockWidgetArea, IDD_PREVIEW);
            FixPaneSize(IDD_PREVIEW, m_paneWidth, m_paneHeight);
        }
    } else {
        showNormal();
        statusBar()->show();
        if (m_mode == 1) {
            for (int id : {IDD_IMAGE_BROWSER, IDD_SAVE_PANEL, IDP_CONTROL})
                if (IsPaneClosed(id)) ShowPane(id);
            const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
            const int clientHeight =
                normal.height() - menuBar()->sizeHint().height() - statusBar()->sizeHint().height();
            m_paneWidth = normal.width() - kControlWidth;
            m_paneHeight = static_cast<int>(clientHeight * 1.15);
            SetPreviewArea(m_paneWidth - 11, m_paneHeight - 130);
            DockAt(Qt::RightDockWidgetArea, IDD_PREVIEW);
            FixPaneSize(IDD_PREVIEW, m_paneWidth, m_paneHeight);
        }
    }
    m_fullScreen = !m_fullScreen;
}

void CMainFrame::ApplyMenuLook() {
    // "XP": a light band for the pictures and a framed highlight.
    static const QString xp = QStringLiteral(
        "QMenu { background: #fcfcf9; border: 1px solid #8a8a8a; }"
        "QMenu::item { padding: 3px 24px 3px 30px; }"
        "QMenu::item:selected { background: #c1d2ee; border: 1px solid #316ac5; color: black; }"
        "QMenu::item:disabled { color: #9c9c9c; }"
        "QMenu::separator { height: 1px; background: #c5c2b8; margin: 2px 2px 2px 30px; }");
    menuBar()->setStyleSheet(m_menuLook ? xp : QString());
}

void CMainFrame::RegisterCommands() {
    m_pHotKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F12), this);
    m_pHotKey->setContext(Qt::ApplicationShortcut);
    m_pHotKey->setEnabled(false);
    connect(m_pHotKey, &QShortcut::activated, this, [this] { WindowProc(UM_HOTKEY, ID_HOTKEY_CAPTURE, 0); });

    OnCommand(ID_MODE_CAMERA, [this] {
        m_mode = 1;
        SelectTab(0);
    });
    OnUpdateCommand(ID_MODE_CAMERA, [this](CCmdUI* ui) {
        ui->SetCheck(!IsPaneClosed(IDP_CONTROL) && m_pControlHost->GetCurSel() == 0);
    });
    OnCommand(ID_MODE_IMAGE, [this] {
        m_mode = 2;
        SelectTab(1);
    });
    OnUpdateCommand(ID_MODE_IMAGE, [this](CCmdUI* ui) {
        ui->SetCheck(!IsPaneClosed(IDP_CONTROL) && m_pControlHost->GetCurSel() == 1);
    });
    for (const auto& [command, pane] : {std::pair{ID_CAMERA_PREVIEW, IDD_PREVIEW},
                                        std::pair{ID_CAPTURE_CONTROL, IDD_SAVE_PANEL},
                                        std::pair{ID_CAPTURE_PICTURE, IDD_IMAGE_BROWSER}}) {
        const int id = pane;
        OnCommand(command, [this, id] { IsPaneClosed(id) ? ShowPane(id) : ClosePane(id); });
        OnUpdateCommand(command, [this, id](CCmdUI* ui) { ui->SetCheck(!IsPaneClosed(id)); });
    }
    // The same panes from "Ansicht"; those of camera mode only there.
    for (const auto& [command, pane] :
         {std::pair{ID_VIEW_PANE_PREVIEW, IDD_PREVIEW}, std::pair{ID_VIEW_PANE_SAVE, IDD_SAVE_PANEL},
          std::pair{ID_VIEW_PANE_BROWSER, IDD_IMAGE_BROWSER}}) {
        const int id = pane;
        OnCommand(command, [this, id] {
            if (m_mode == 1) IsPaneClosed(id) ? ShowPane(id) : ClosePane(id);
        });
        OnUpdateCommand(command, [this, id](CCmdUI* ui) {
            ui->Enable(m_mode == 1);
            ui->SetCheck(!IsPaneClosed(id));
        });
    }
    OnCommand(ID_VIEW_PANE_CONTROL,
              [this] { IsPaneClosed(IDP_CONTROL) ? ShowPane(IDP_CONTROL) : ClosePane(IDP_CONTROL); });
    OnUpdateCommand(ID_VIEW_PANE_CONTROL, [this](CCmdUI* ui) { ui->SetCheck(!IsPaneClosed(IDP_CONTROL)); });
    const auto toggleHistogram = [this] {
        if (IsPaneClosed(IDD_HISTOGRAM)) {
            ShowPane(IDD_HISTOGRAM);
            if (m_mode == 1 && !IsPaneClosed(IDD_PREVIEW)) {
                // Camera mode: below the preview, where the picture leaves room, so the
                // control column keeps every control.
                QDockWidget* histogram = Pane(IDD_HISTOGRAM);
                histogram->setMinimumWidth(0);
                histogram->setMaximumWidth(QWIDGETSIZE_MAX);
                m_trackSizes.erase(IDD_HISTOGRAM);
                DockBelow(IDD_HISTOGRAM, IDD_PREVIEW);
                const int column = ClientSize().height();
                resizeDocks({Pane(IDD_PREVIEW), histogram}, {column - column / 4, column / 4}, Qt::Vertical);
                // Docking moves the column's panes too; they are shared again once laid out.
                QTimer::singleShot(0, this, [this] {
                    if (m_mode == 1 && !m_closed) ShareControlColumn();
                });
            } else {
                DockBelow(IDD_HISTOGRAM, IDP_CONTROL);
                FixPaneSize(IDD_HISTOGRAM, kControlWidth, m_paneHeight * 30 / 100);
            }
        } else {
            ClosePane(IDD_HISTOGRAM);
        }
    };
    for (int command : {ID_VIEW_HISTOGRAM, ID_VIEW_PANE_HISTOGRAM}) {
        OnCommand(command, toggleHistogram);
        OnUpdateCommand(command, [this](CCmdUI* ui) { ui->SetCheck(!IsPaneClosed(IDD_HISTOGRAM)); });
    }
    OnCommand(ID_FULL_SCREEN, [this] { ToggleFullScreen(); });
    OnUpdateCommand(ID_FULL_SCREEN, [this](CCmdUI* ui) { ui->SetCheck(m_fullScreen); });
    OnCommand(ID_EDIT_PASTE, [this] { OnPaste(); });
    // Asking the clipboard may mean a round trip to another program, so its
    // answer is kept until the clipboard changes rather than asked at every idle.
    auto clipboardChanged = [this] {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        m_clipboardHasImage = data && data->hasImage();
    };
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, clipboardChanged);
    clipboardChanged();
    OnUpdateCommand(ID_EDIT_PASTE, [this](CCmdUI* ui) { ui->Enable(m_clipboardHasImage); });
    OnCommand(ID_MENU_CLASSIC, [this] {
        m_menuLook = 0;
        ApplyMenuLook();
    });
    OnCommand(ID_MENU_XP, [this] {
        m_menuLook = 1;
        ApplyMenuLook();
    });
    OnCommand(ID_TAB_IMAGE_REFRESH, [this] {
        SelectTab(1);
        m_pMdiArea->update();
    });
    OnCommand(ID_VIEW_TOOLBAR, [this] { m_pClassicToolBar->setVisible(m_pClassicToolBar->isHidden()); });
    OnUpdateCommand(ID_VIEW_TOOLBAR, [this](CCmdUI* ui) {
        ui->Enable(m_pClassicToolBar != nullptr);
        ui->SetCheck(m_pClassicToolBar && !m_pClassicToolBar->isHidden());
    });
    OnCommand(ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(statusBar()->isHidden()); });
    OnUpdateCommand(ID_VIEW_STATUS_BAR, [this](CCmdUI* ui) { ui->SetCheck(!statusBar()->isHidden()); });
    OnCommand(ID_WINDOW_CASCADE, [this] { Cascade(); });
    OnCommand(ID_WINDOW_TILE_HORZ, [this] {
        m_pMdiArea->setViewMode(QMdiArea::SubWindowView);
        m_pMdiArea->tileSubWindows();
    });
    OnCommand(ID_WINDOW_ARRANGE, [this] { ShowTabs(); });
    OnCommand(ID_NEXT_PANE, [this] { m_pMdiArea->activateNextSubWindow(); });
    OnCommand(ID_PREV_PANE, [this] { m_pMdiArea->activatePreviousSubWindow(); });
}

void CMainFrame::OnTabBarMade(QTabBar* tabs) {
    tabs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tabs, &QTabBar::customContextMenuRequested, this, &CMainFrame::OnTabContextMenu);
}

void CMainFrame::Cascade() {
    m_pMdiArea->setViewMode(QMdiArea::SubWindowView);
    // Stacking order: the active window ends on top, furthest down.
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList(QMdiArea::StackingOrder);
    if (windows.isEmpty()) return;
    // As the framework cascades: every window the same size, each one title
    // bar lower and further right, all together filling the area. Windows
    // keep at least two thirds of the area; beyond that the cascade restarts.
    const QSize area = m_pMdiArea->viewport()->size();
    const int step = qMax(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.front()), 16);
    const int maxSteps = qMax(0, qMin(area.width(), area.height()) / 3 / step);
    const int steps = qMin(static_cast<int>(windows.size()) - 1, maxSteps);
    const QSize size(area.width() - steps * step, area.height() - steps * step);
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        window->showNormal();
        const int offset = (i % (steps + 1)) * step;
        window->setGeometry(QRect(QPoint(offset, offset), size));
    }
}

void CMainFrame::SetControlColumnFixed(bool fixed) {
    for (int id : {IDP_CONTROL, IDD_SAVE_PANEL, IDD_IMAGE_BROWSER}) {
        QDockWidget* dock = Pane(id);
        if (!dock) continue;
        if (fixed) {
            dock->setFixedWidth(kControlWidth);
        } else {
            dock->setMinimumWidth(kControlWidth);
            dock->setMaximumWidth(QWIDGETSIZE_MAX);
        }
    }
}

void CMainFrame::OnPaste() {
    CKXViewApp* app = theApp();
    if (!app || !app->m_pDocTemplate) return;
    auto* doc = dynamic_cast<CKXViewDoc*>(app->m_pDocTemplate->OpenDocumentFile(QString()));
    if (!doc) return;
    SelectTab(1);
    if (const QMimeData* data = QApplication::clipboard()->mimeData())
        doc->SetImage(ImageFromClipboard(*data));
    doc->SetTitle(
        QCoreApplication::translate("MainFrame", "Clipboard Image %1").arg(app->m_settings.imageCounter++));
    doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    doc->UpdateStatusBar();
}

std::unique_ptr<vimg::Image> CMainFrame::ImageFromClipboard(const QMimeData& data) {
    // A device-independent bitmap (ours, or another program's BMP) keeps depth,
    // palette and resolution; the file header, when there is one, is skipped.
    const QByteArray bmp = data.data(QStringLiteral("image/bmp"));
    const qsizetype skip = bmp.startsWith("BM") ? 14 : 0;
    if (bmp.size() > skip) {
        if (std::unique_ptr<CGlobalMemory> block =
                CGlobalMemory::Alloc(static_cast<size_t>(bmp.size() - skip))) {
            std::memcpy(block->Lock(), bmp.constData() + skip, block->Size());
            block->Unlock();
            auto image = std::make_unique<vimg::Image>();
            if (vimg::display::CreateFromHANDLE(*image, block.get())) return image;
        }
    }
    if (!data.hasImage()) return nullptr;
    return vimg::display::FromQImage(qvariant_cast<QImage>(data.imageData()));
}

void CMainFrame::OnTabContextMenu(const QPoint& pos) {
    auto* tabs = qobject_cast<QTabBar*>(sender());
    if (!tabs) return;
    const int index = tabs->tabAt(pos);
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList();
    if (index < 0 || index >= windows.size()) return;
    m_pMdiArea->setActiveSubWindow(windows[index]);
    QMenu menu(windows[index]);
    for (const auto& [id, text] :
         {std::pair{ID_FILE_CLOSE, IDS_CLOSE}, std::pair{ID_FILE_SAVE, IDS_SAVE_FILE}}) {
        QAction* action = menu.addAction(resources::String(text));
        CCmdUI ui(id, action);
        if (!OnCmdMsg(id, &ui)) action->setEnabled(false);
        const int command = id;
        connect(action, &QAction::triggered, this, [this, command] { ExecuteCommand(command); });
    }
    menu.exec(tabs->mapToGlobal(pos));
    m_pMdiArea->update();
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (m_pCapture && m_pCapture->HandleMessage(message, wParam, lParam, &result)) return result;
    if (m_pCameraControl && m_pCameraControl->HandleMessage(message, wParam, lParam, &result)) return result;
    switch (message) {
    case UM_HOTKEY:
        if (wParam != ID_HOTKEY_CAPTURE) return MSG_REFUSED;
        PostMessage(this, UM_CAPTURE);
        return MSG_DONE;
    case UM_OPEN_IMAGE:
        return OnOpenImage(reinterpret_cast<const QString*>(lParam));
    default:
        return CMDIFrameWnd::WindowProc(message, wParam, lParam);
    }
}

LRESULT CMainFrame::OnOpenImage(const QString* path) {
    if (!path || path->isEmpty() || !QFileInfo(*path).isFile()) return MSG_REFUSED;
    SelectTab(1);
    CKXViewApp* app = theApp();
    if (!app || !app->m_pDocTemplate) return MSG_REFUSED;
    return app->m_pDocTemplate->OpenDocumentFile(*path) ? MSG_DONE : MSG_REFUSED;
}

QString CMainFrame::CapturePath() const { return m_pCapture->m_capturePath; }

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_closed) {
        event->accept();
        return;
    }
    CWinApp* app = App();
    if (!app->SaveAllModified()) {
        event->ignore();
        return;
    }
    const bool maximized = isMaximized() || isFullScreen();
    app->WriteProfileInt(kScreen, QStringLiteral("maximized"), maximized);
    if (!maximized && !isMinimized()) {
        const QRect r = frameGeometry();
        const QRect screenRect = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
        app->WriteProfileInt(kScreen, QStringLiteral("left"), qMin(r.left(), screenRect.width() - 100));
        app->WriteProfileInt(kScreen, QStringLiteral("top"), qMin(r.top(), screenRect.height() - 100));
        app->WriteProfileInt(kScreen, QStringLiteral("right"), r.right() + 1);
        app->WriteProfileInt(kScreen, QStringLiteral("bottom"), r.bottom() + 1);
    }
    if (CKXViewApp* kx = theApp()) kx->SaveSettings();

    // Live merging ends without a result: no document opens any more.
    m_pCapture->CancelLive();
    // The layout is taken while the panes still exist.
    app->WriteProfileInt(kCommandBars, QStringLiteral("ToolBarVisible"), !m_pToolBar->isHidden());
    app->WriteProfileInt(kCommandBars, QStringLiteral("ClassicToolBarVisible"),
                         !m_pClassicToolBar->isHidden());
    app->WriteProfileInt(kCommandBars, QStringLiteral("MenuLook"), m_menuLook);
    app->Profile().WriteProfileBinary(kNormalLayout, QStringLiteral("State"), saveState());
    for (int id : kPaneOrder) {
        auto it = m_panes.find(id);
        if (it == m_panes.end()) continue;
        if (it->second->widget() == m_pControlHost) m_pControlHost = nullptr;
        delete it->second;
        m_panes.erase(it);
    }
    if (!m_pControlHost) m_pControlHost = new CControlHost; // later mode changes stay harmless
    // A folder that could not be used is not kept for the next start.
    m_pCameraControl->Close(m_pCapture->CaptureFolderUsable() ? m_pCapture->m_capturePath : QString());
    app->Profile().Flush();

    app->CloseAllDocuments();
    m_closed = true;
    event->accept();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    CMDIFrameWnd::resizeEvent(event);
    if (m_mode != 1 || m_fullScreen) return;
    const QSize client = ClientSize();
    const int w = client.width() - kControlWidth;
    const int h = static_cast<int>(client.height() * 1.15);
    SetPreviewArea(w - 11, h - 130);
    ShareControlColumn();
}

namespace {
QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}
} // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

// The files open once the drop has returned: the file manager that dragged
// them is not held in its drag while pictures load or a failure is reported.
// They open in the order dragged, so the last one is active.
void CMainFrame::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [files] {
        if (CWinApp* app = App())
            for (const QString& file : files) app->OpenDocumentFile(file);
    });
}

bool CMainFrame::event(QEvent* event) {
    const bool result = CMDIFrameWnd::event(event);
    if (m_placePending) {
        switch (event->type()) {
        case QEvent::Show:
            // Without a window manager no frame ever comes: nothing to correct.
            QTimer::singleShot(2000, this, [this] { m_placePending = false; });
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate:
            if (isVisible()) PlaceSavedFrame();
            break;
        default:
            break;
        }
    }
    return result;
}

void CMainFrame::PlaceSavedFrame() {
    const QMargins margins = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (margins.isNull()) return;
    m_placePending = false;
    if (isMaximized() || isFullScreen() || isMinimized()) return;
    setGeometry(m_savedFrame.marginsRemoved(margins));
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (auto* dock = qobject_cast<QDockWidget*>(watched)) {
        const int id = dock->objectName().mid(4).toInt();
        if (event->type() == QEvent::Show) AttachPaneWindow(id);
        // In camera mode the documents are hidden: without the preview the
        // control column takes the whole width instead of leaving a gap.
        if (id == IDD_PREVIEW && m_mode == 1 && !m_fullScreen && !m_closed) {
            if (event->type() == QEvent::Close) SetControlColumnFixed(false);
            if (event->type() == QEvent::Show) SetControlColumnFixed(true);
        }
        // Closing the control pane takes the histogram with it.
        if (event->type() == QEvent::Close && id == IDP_CONTROL) ClosePane(IDD_HISTOGRAM);
    }
    return CMDIFrameWnd::eventFilter(watched, event);
}
