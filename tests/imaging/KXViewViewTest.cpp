// The view: zoom steps, scrolling with the move tool, the selection rules,
// the pixel readout, the outline, the tracker, transparency picks, the
// measurement hand-over, messages and what a paint shows.
#include <atomic>
#include <set>
#include <thread>

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "CmdUI.h"
#include "CommandIds.h"
#include "DeviceContext.h"
#include "DocTestSupport.h"
#include "Image.h"
#include "MultiDocTemplate.h"
#include "MDIChildWnd.h"
#include "MeasureOverlay.h"
#include "Resource.h"
#include "UserMessages.h"

using apptest::StartedApp;
using doctest::Open;

namespace {

// A picture whose every pixel tells its position: red x, green y (top-down), blue 77.
QString WritePositions(const testsupport::TempDir& dir, const std::string& name, int w, int h) {
    vimg::Image image(static_cast<uint32_t>(w), static_cast<uint32_t>(h), 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.SetPixelColor(x, h - 1 - y,
                                vimg::RGBQUAD{77, static_cast<uint8_t>(y), static_cast<uint8_t>(x), 0});
    const std::string path = dir.file(name);
    image.Save(path.c_str(), vimg::FORMAT_BMP);
    return QString::fromStdString(path);
}

class Recorder : public CMeasureOverlay {
public:
    void Draw(CDeviceContext&, QPoint) override { ++draws; }
    void ShowScaleLine(bool) override {}
    void SetScale(float zoom) override { scale = zoom; }
    void MouseDown(QPoint p) override { downs.push_back(p); }
    void MouseMove(QPoint) override {}
    void MouseUp(QPoint) override {}
    void DoubleClick(QPoint) override {}
    int draws = 0;
    float scale = 0;
    std::vector<QPoint> downs;
};

class ViewTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(s.started);
        s.app->CloseAllDocuments();
        s.frame()->resize(1000, 800);
        // Free document windows, which size themselves to the picture.
        s.frame()->MdiArea()->setViewMode(QMdiArea::SubWindowView);
    }
    void OpenPicture(int w, int h) {
        doc = Open(s, WritePositions(dir, "p.bmp", w, h));
        ASSERT_TRUE(doc);
        view = doc->FirstView();
        ASSERT_TRUE(view);
        view->GetParentFrame()->showNormal();
        view->GetParentFrame()->resize(400, 300);
        QCoreApplication::processEvents();
    }
    QWidget* Port() const { return view->ScrollArea()->viewport(); }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QMouseEvent e(type, QPointF(at), Port()->mapToGlobal(QPointF(at)), button, held, keys);
        QApplication::sendEvent(Port(), &e);
    }
    void Drag(const std::vector<QPoint>& path, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, path.front(), Qt::LeftButton, Qt::LeftButton, keys);
        for (const QPoint& p : path) Mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton, keys);
        Mouse(QEvent::MouseButtonRelease, path.back(), Qt::LeftButton, Qt::NoButton, keys);
    }
    bool Enabled(int id) {
        CCmdUI ui(id);
        s.frame()->OnCmdMsg(id, &ui);
        return ui.m_bEnabled;
    }
    testsupport::TempDir dir;
    StartedApp s{dir};
    CKXViewDoc* doc = nullptr;
    CKXViewView* view = nullptr;
};

TEST_F(ViewTest, ZoomStepsBothWaysStopAtTheLimitsAndAreOffInStretchMode) {
    OpenPicture(40, 30);
    std::vector<float> seen;
    while (Enabled(ID_ZOOM_IN)) {
        s.frame()->ExecuteCommand(ID_ZOOM_IN);
        seen.push_back(view->m_zoomFactor);
    }
    EXPECT_EQ(seen, (std::vector<float>{1.5f, 2, 4, 8, 16}));
    EXPECT_EQ(s.frame()->PaneText(2), "1600 %");
    EXPECT_EQ(view->ScrollSize(), QSize(640, 480));
    s.frame()->ExecuteCommand(ID_ZOOM_NORMAL);
    seen.clear();
    while (Enabled(ID_ZOOM_OUT)) {
        s.frame()->ExecuteCommand(ID_ZOOM_OUT);
        seen.push_back(view->m_zoomFactor);
    }
    EXPECT_EQ(seen, (std::vector<float>{0.75f, 0.5f, 0.25f, 0.125f}));
    EXPECT_EQ(s.frame()->PaneText(2), "12.5 %");

    s.frame()->ExecuteCommand(ID_STRETCH_MODE);
    EXPECT_FALSE(Enabled(ID_ZOOM_IN));
    EXPECT_FALSE(Enabled(ID_ZOOM_OUT));
    EXPECT_FALSE(Enabled(ID_ZOOM_NORMAL));
    s.frame()->ExecuteCommand(ID_ZOOM_IN);
    EXPECT_EQ(view->m_zoomFactor, 0.125f);
    EXPECT_EQ(view->ScrollSize(), QSize(0, 0)); // stretch mode does not scroll
}

TEST_F(ViewTest, TwoViewsOfOnePictureZoomStretchAndSmoothEachOnItsOwn) {
    OpenPicture(40, 30);
    CMDIChildWnd* second = s.app->m_pDocTemplate->CreateNewFrame(doc);
    ASSERT_TRUE(second);
    s.frame()->MdiArea()->addSubWindow(second);
    auto* other = dynamic_cast<CKXViewView*>(second->GetActiveView());
    ASSERT_TRUE(other && other != view);
    other->OnInitialUpdate();
    second->show();
    s.frame()->MdiArea()->setActiveSubWindow(view->GetParentFrame());
    s.frame()->ExecuteCommand(ID_ZOOM_IN);
    s.frame()->ExecuteCommand(ID_SMOOTH);
    EXPECT_EQ(view->m_zoomFactor, 1.5f);
    EXPECT_EQ(view->ScrollSize(), QSize(60, 45));
    EXPECT_EQ(other->m_zoomFactor, 1.0f);
    EXPECT_EQ(other->ScrollSize(), QSize(40, 30));
    EXPECT_FALSE(other->m_smooth);
    s.frame()->MdiArea()->setActiveSubWindow(second);
    s.frame()->ExecuteCommand(ID_STRETCH_MODE);
    EXPECT_TRUE(other->m_stretchMode);
    EXPECT_FALSE(view->m_stretchMode);
    // A new picture reaches both at their own scale.
    doc->GetImage()->Resample(20, 10);
    doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    EXPECT_EQ(view->ScrollSize(), QSize(30, 15));
}

TEST_F(ViewTest, CtrlWheelZoomsAboutTheCursorFitFitsAndPagesScroll) {
    // A tab filling the area, on a picture larger than it.
    OpenPicture(1600, 1200);
    s.frame()->MdiArea()->setViewMode(QMdiArea::TabbedView);
    view->GetParentFrame()->showMaximized();
    QCoreApplication::processEvents();
    auto wheel = [&](QPoint at, int delta, Qt::KeyboardModifiers keys) {
        QWheelEvent e(QPointF(at), Port()->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton, keys,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(Port(), &e);
    };
    const QPoint cursor(150, 110);
    const QPoint under = view->ClientToImage(cursor);
    for (float expected : {1.5f, 2.0f, 4.0f}) {
        wheel(cursor, 120, Qt::ControlModifier);
        EXPECT_EQ(view->m_zoomFactor, expected);
        const QPoint now = view->ClientToImage(cursor);
        EXPECT_LE(std::abs(now.x() - under.x()), 1) << expected;
        EXPECT_LE(std::abs(now.y() - under.y()), 1) << expected;
    }
    wheel(cursor, -120, Qt::ControlModifier);
    EXPECT_EQ(view->m_zoomFactor, 2.0f);
    wheel(cursor, -120, Qt::NoModifier); // the plain wheel does not zoom
    EXPECT_EQ(view->m_zoomFactor, 2.0f);

    // Page down and up by the viewport's height (or to the end).
    view->ScrollArea()->verticalScrollBar()->setValue(0);
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_EQ(view->ScrollPosition().y(),
              std::min(view->ClientSize().height(), view->ScrollArea()->verticalScrollBar()->maximum()));
    EXPECT_GT(view->ScrollPosition().y(), 0);
    QTest::keyClick(view, Qt::Key_PageUp);
    EXPECT_EQ(view->ScrollPosition().y(), 0);

    // The zoom tool: in with a click, out with Shift or the right button.
    doc->m_tool = CKXViewDoc::TOOL_ZOOM;
    Mouse(QEvent::MouseButtonPress, cursor, Qt::LeftButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->m_zoomFactor, 4.0f);
    Mouse(QEvent::MouseButtonPress, cursor, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->m_zoomFactor, 2.0f);
    Mouse(QEvent::MouseButtonPress, cursor, Qt::RightButton, Qt::RightButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->m_zoomFactor, 1.5f);

    // Fit: the whole picture without scroll bars, still in zoom mode.
    ASSERT_TRUE(Enabled(ID_ZOOM_FIT));
    s.frame()->ExecuteCommand(ID_ZOOM_FIT);
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->m_stretchMode);
    EXPECT_LT(view->m_zoomFactor, 1.0f);
    EXPECT_EQ(view->ScrollArea()->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(view->ScrollArea()->verticalScrollBar()->maximum(), 0);
    const QSize shown = view->ScrollSize();
    const QSize client = view->ClientSize();
    EXPECT_TRUE(shown.width() >= client.width() - 1 || shown.height() >= client.height() - 1)
        << shown.width() << "x" << shown.height() << " in " << client.width() << "x" << client.height();
    EXPECT_TRUE(Enabled(ID_ZOOM_IN)); // zoom mode goes on from there
}

TEST_F(ViewTest, TheMoveToolDragsThePictureAndDoesNotScrollWhatFits) {
    OpenPicture(300, 200);
    view->m_zoomFactor = 4;
    doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    QCoreApplication::processEvents();
    ASSERT_GT(view->ScrollSize().width(), view->ClientSize().width());
    view->ScrollArea()->horizontalScrollBar()->setValue(100);
    Mouse(QEvent::MouseButtonPress, {150, 100}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {110, 100}, Qt::NoButton, Qt::LeftButton);
    // Dragging to the left scrolls the picture to the right.
    EXPECT_EQ(view->ScrollPosition(), QPoint(140, 0));
    Mouse(QEvent::MouseButtonRelease, {110, 100}, Qt::LeftButton, Qt::NoButton);

    s.frame()->ExecuteCommand(ID_ZOOM_NORMAL);
    view->m_zoomFactor = 0.25f;
    doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    Mouse(QEvent::MouseButtonPress, {50, 30}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {20, 10}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(view->ScrollPosition(), QPoint(0, 0));
}

TEST_F(ViewTest, FreeHandSelectionsOfTwoPointsAreDiscardedAndOfThreeClosed) {
    OpenPicture(100, 80);
    s.frame()->ExecuteCommand(ID_TOOL_SELECT);
    Drag({{10, 10}, {40, 10}});
    EXPECT_FALSE(doc->GetImage()->SelectionIsValid());
    EXPECT_FALSE(view->OutlineAnimating());

    Drag({{10, 10}, {60, 10}, {10, 50}});
    ASSERT_EQ(doc->m_selCount, 4);
    EXPECT_EQ(doc->m_selPoints[3].x, 10);
    EXPECT_EQ(doc->m_selPoints[3].y, 10);
    EXPECT_TRUE(doc->GetImage()->SelectionIsValid());
    EXPECT_TRUE(view->OutlineAnimating());
    // Inside the triangle near its right-angle corner, in library rows.
    EXPECT_TRUE(doc->GetImage()->SelectionIsInside(15, 80 - 1 - 15));
    EXPECT_FALSE(doc->GetImage()->SelectionIsInside(55, 80 - 1 - 45));

    // The next press starts a new selection.
    Mouse(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(doc->m_selCount, 0);
    EXPECT_FALSE(view->OutlineAnimating());
    Mouse(QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
}

TEST_F(ViewTest, AShiftDragGivesAFivePointRectangleThatIsNotClosedAgain) {
    OpenPicture(100, 80);
    s.frame()->ExecuteCommand(ID_TOOL_SELECT);
    Drag({{10, 20}, {30, 25}, {50, 60}}, Qt::ShiftModifier);
    ASSERT_EQ(doc->m_selCount, 5);
    const std::vector<std::pair<int, int>> expected = {{10, 20}, {50, 20}, {50, 60}, {10, 60}, {10, 20}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(doc->m_selPoints[i].x, expected[i].first);
        EXPECT_EQ(doc->m_selPoints[i].y, expected[i].second);
    }
    EXPECT_TRUE(doc->m_rectSelection);
    vimg::RECT box;
    doc->GetImage()->SelectionGetBox(box);
    EXPECT_TRUE(doc->GetImage()->SelectionIsInside(30, 80 - 1 - 40));
    EXPECT_FALSE(doc->GetImage()->SelectionIsInside(60, 80 - 1 - 40));
}

TEST_F(ViewTest, CropTakesTheSelectionsOutlineAwayAndUndoBringsItBack) {
    OpenPicture(100, 80);
    s.frame()->ExecuteCommand(ID_TOOL_SELECT);
    // Black dashes of an outline on the column x = 50, where the selections' right edges lie
    // (in a window large enough: it fits itself to the cropped picture).
    const auto dashes = [this] {
        view->GetParentFrame()->resize(400, 300);
        QCoreApplication::processEvents();
        const QImage shot = view->ScrollArea()->viewport()->grab().toImage();
        int black = 0;
        for (int y = 22; y < 58; ++y) black += shot.pixel(50, y) == qRgb(0, 0, 0);
        return black;
    };
    for (const Qt::KeyboardModifiers keys : {Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::KeyboardModifiers()}) {
        Drag({{10, 20}, {50, 20}, {50, 60}}, keys);
        ASSERT_TRUE(doc->GetImage()->SelectionIsValid());
        EXPECT_GT(dashes(), 0);
        s.frame()->ExecuteCommand(ID_IMAGE_CROP);
        ASSERT_LT(doc->GetImage()->GetWidth(), 100u);
        EXPECT_EQ(dashes(), 0);
        s.frame()->ExecuteCommand(ID_ZOOM_IN);
        s.frame()->ExecuteCommand(ID_ZOOM_NORMAL);
        EXPECT_EQ(dashes(), 0);
        s.frame()->ExecuteCommand(ID_EDIT_UNDO);
        ASSERT_TRUE(doc->GetImage()->SelectionIsValid());
        EXPECT_GT(dashes(), 0);
    }
}

TEST_F(ViewTest, RightDragsMoveAndTurnTheRectangleAndItsSelection) {
    OpenPicture(100, 80);
    s.frame()->ExecuteCommand(ID_TOOL_SELECT);
    Drag({{20, 20}, {60, 40}}, Qt::ShiftModifier);
    ASSERT_EQ(doc->m_selCount, 5);
    // Ctrl + right drag: the outline and the selection move by the mouse's way.
    Mouse(QEvent::MouseButtonPress, {30, 30}, Qt::RightButton, Qt::RightButton, Qt::ControlModifier);
    Mouse(QEvent::MouseMove, {35, 37}, Qt::NoButton, Qt::RightButton, Qt::ControlModifier);
    Mouse(QEvent::MouseButtonRelease, {35, 37}, Qt::RightButton, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(doc->m_selPoints[0].x, 25);
    EXPECT_EQ(doc->m_selPoints[0].y, 27);
    EXPECT_TRUE(doc->GetImage()->SelectionIsInside(62, 80 - 1 - 45));
    EXPECT_FALSE(doc->GetImage()->SelectionIsInside(22, 80 - 1 - 22));

    // Right drag: a quarter turn about the rectangle's centre (45, 37).
    Mouse(QEvent::MouseButtonPress, {65, 37}, Qt::RightButton, Qt::RightButton);
    Mouse(QEvent::MouseMove, {45, 57}, Qt::NoButton, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, {45, 57}, Qt::RightButton, Qt::NoButton);
    // Corner (25, 27) turns to (55, 17).
    EXPECT_NEAR(doc->m_selPoints[0].x, 55, 1);
    EXPECT_NEAR(doc->m_selPoints[0].y, 17, 1);
    EXPECT_EQ(doc->m_selPoints[4].x, doc->m_selPoints[0].x);
    EXPECT_TRUE(doc->GetImage()->SelectionIsInside(45, 80 - 1 - 20));
    EXPECT_FALSE(doc->GetImage()->SelectionIsInside(28, 80 - 1 - 37));
}

TEST_F(ViewTest, TheReadoutCountsRowsFromTheTopAndReadsTheLibrarysLastRow) {
    OpenPicture(50, 40);
    EXPECT_EQ(view->PixelReadout({3, 0}).toStdString(), "x: 3 y: 0  idx: 0  RGBA: (3, 0, 77, 0)");
    EXPECT_EQ(view->PixelReadout({3, 39}).left(13), "x: 3 y: 39  i");
    EXPECT_EQ(view->PixelReadout({60, 5}), " ");
    view->m_zoomFactor = 2;
    doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    EXPECT_TRUE(view->PixelReadout({9, 9}).startsWith("x: 4 y: 4 "));
    Mouse(QEvent::MouseMove, {9, 9}, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(s.frame()->PaneText(0).startsWith("x: 4 y: 4 "));
}

TEST_F(ViewTest, APaintShowsTheVisiblePartOverTheHatch) {
    OpenPicture(60, 40);
    view->m_zoomFactor = 2;
    doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    // The frame fits itself to the picture (client 4 pixels larger): widen it again.
    EXPECT_EQ(view->ClientSize(), QSize(124, 84));
    view->GetParentFrame()->resize(400, 300);
    QCoreApplication::processEvents();
    const QImage shot = Port()->grab().toImage();
    ASSERT_GE(shot.width(), 141) << shot.width();
    // Client (2x, 2y) shows picture pixel (x, y).
    EXPECT_EQ(QColor(shot.pixel(2 * 7, 2 * 5)), QColor(7, 5, 77));
    EXPECT_EQ(QColor(shot.pixel(2 * 7 + 1, 2 * 5 + 1)), QColor(7, 5, 77));
    // Right of the picture: hatch lines of RGB(191, 191, 191) on white.
    std::set<QRgb> colours;
    for (int x = 125; x < 141; ++x) colours.insert(shot.pixel(x, 10) & 0xFFFFFF);
    EXPECT_EQ(colours, (std::set<QRgb>{0xBFBFBF, 0xFFFFFF}));
}

TEST_F(ViewTest, TheOutlineShowsFourWhiteAndFourBlackPixelsAndMovesWithThePhase) {
    OpenPicture(100, 80);
    s.frame()->ExecuteCommand(ID_TOOL_SELECT);
    Drag({{10, 10}, {60, 10}, {60, 50}});
    ASSERT_TRUE(view->OutlineAnimating());
    auto row = [&] {
        const QImage shot = Port()->grab().toImage();
        QString s;
        for (int x = 10; x < 26; ++x) {
            const QRgb c = shot.pixel(x, 10) & 0xFFFFFF;
            s += c == 0xFFFFFF ? 'w' : c == 0 ? 'b' : '?';
        }
        return s;
    };
    EXPECT_EQ(row(), "wwwwbbbbwwwwbbbb");
    // The view's own timer id is what advances the phase; drive it through the event loop.
    QElapsedTimer wait;
    wait.start();
    while (view->AntPhase() == 0 && wait.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(view->AntPhase(), 1);
    EXPECT_EQ(row(), "wwwbbbbwwwwbbbbw");
}

TEST_F(ViewTest, TheTrackerRectangleBecomesTheSelection) {
    OpenPicture(100, 80);
    s.frame()->ExecuteCommand(ID_TOOL_TRACK);
    Drag({{10, 20}, {40, 50}});
    EXPECT_EQ(view->TrackerRect(), QRect(QPoint(10, 20), QPoint(40, 50)));
    vimg::Image* image = doc->GetImage();
    ASSERT_TRUE(image->SelectionIsValid());
    EXPECT_TRUE(image->SelectionIsInside(10, 80 - 1 - 20));
    EXPECT_TRUE(image->SelectionIsInside(40, 80 - 1 - 50));
    EXPECT_FALSE(image->SelectionIsInside(41, 80 - 1 - 30));
    EXPECT_FALSE(image->SelectionIsInside(20, 80 - 1 - 19));
    // A full refresh empties the tracker.
    doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    EXPECT_TRUE(view->TrackerRect().isEmpty());
}

TEST_F(ViewTest, TheTransparencyClickIsUndoableAndKeepsTheSelection) {
    OpenPicture(100, 80);
    s.frame()->ExecuteCommand(ID_TOOL_SELECT);
    Drag({{10, 10}, {60, 10}, {60, 50}});
    const int points = doc->m_selCount;
    doc->m_waitingClick = true;
    Mouse(QEvent::MouseButtonPress, {33, 12}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(doc->m_waitingClick);
    EXPECT_EQ(doc->m_selCount, points);
    EXPECT_EQ(doc->GetImage()->GetTransColor().rgbRed, 33);
    EXPECT_EQ(doc->GetImage()->GetTransColor().rgbGreen, 12);
    EXPECT_TRUE(doc->GetImage()->IsTransparent());
    s.frame()->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_FALSE(doc->GetImage()->IsTransparent());
}

TEST_F(ViewTest, TheMeasuringToolHandsOnlyClicksOnThePictureToTheOverlay) {
    OpenPicture(50, 40);
    auto recorder = std::make_unique<Recorder>();
    Recorder* r = recorder.get();
    view->SetMeasureOverlay(std::move(recorder));
    doc->m_tool = CKXViewDoc::TOOL_MEASURE;
    s.frame()->ExecuteCommand(ID_ZOOM_IN);
    EXPECT_EQ(r->scale, 1.5f);
    Port()->grab(); // a paint sets the picture's rectangle and draws the overlay
    EXPECT_GT(r->draws, 0);
    Mouse(QEvent::MouseButtonPress, {100, 10}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(r->downs.empty());
    Mouse(QEvent::MouseButtonPress, {20, 30}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(r->downs, std::vector<QPoint>{QPoint(20, 30)});
}

TEST_F(ViewTest, AJobsProgressAndEndReachTheStatusBarAndTheViews) {
    OpenPicture(50, 40);
    std::atomic<bool> release{false};
    ASSERT_TRUE(doc->StartOperation([&release](vimg::Image& image) {
        image.Resample(20, 10);
        image.SetProgress(42);
        while (!release) std::this_thread::yield();
        return std::string();
    }));
    EXPECT_TRUE(QTest::qWaitFor([this] { return s.frame()->PaneText(2) == "42 %"; }, 60000));
    EXPECT_EQ(view->ScrollSize(), QSize(50, 40)); // the picture before the change meanwhile
    release = true;
    EXPECT_TRUE(QTest::qWaitFor([this] { return !doc->IsBusy(); }, 60000));
    EXPECT_EQ(view->ScrollSize(), QSize(20, 10));
    EXPECT_EQ(s.frame()->PaneText(4), "(20x10x24)");
}

TEST_F(ViewTest, AFullRefreshKeepsTheRelativeScrollPosition) {
    OpenPicture(800, 600);
    view->ScrollArea()->horizontalScrollBar()->setValue(100);
    ASSERT_EQ(view->ScrollPosition().x(), 100);
    s.frame()->ExecuteCommand(ID_ZOOM_IN);
    s.frame()->ExecuteCommand(ID_ZOOM_IN); // 2: twice as far in
    EXPECT_EQ(view->ScrollPosition().x(), 200);
}

TEST_F(ViewTest, EscapeLeavesFullScreen) {
    OpenPicture(50, 40);
    s.frame()->ExecuteCommand(ID_FULL_SCREEN);
    ASSERT_TRUE(s.frame()->IsFullScreen());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(view, &escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(s.frame()->IsFullScreen());
}

} // namespace
