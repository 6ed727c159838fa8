// The measurement library inside the program: the "&Messen" menu of the
// child frame, the view's mouse hand-over, zoom, the scale bar command,
// rendering for saves, the picture's own calibration and the profile's.
#include <QAbstractScrollArea>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMouseEvent>
#include <QTableWidget>

#include <gtest/gtest.h>

#include "ChildFrame.h"
#include "CmdUI.h"
#include "DocTestSupport.h"
#include "GreyStatistics.h"
#include "Image.h"
#include "KXVMeasure.h"
#include "MeasureFile.h"
#include "MeasureManager.h"
#include "MeasureTestSupport.h"
#include "MeasureView.h"
#include "ProfilePlot.h"
#include "Resource.h"
#include "ResultsTable.h"
#include "SimPicture.h"

using apptest::StartedApp;
using doctest::Open;
using kxvm::MeasureManager;

namespace {

QString WriteGrey(const testsupport::TempDir& dir, const std::string& name, int w, int h,
                  double micronsPerPixel = 0, const char* camera = nullptr) {
    vimg::Image image(static_cast<uint32_t>(w), static_cast<uint32_t>(h), 24);
    image.Clear(60);
    image.SetPixelSize(micronsPerPixel);
    if (camera) image.SetCameraName(camera);
    const std::string path = dir.file(name);
    image.Save(path.c_str(), vimg::FORMAT_BMP);
    return QString::fromStdString(path);
}

bool Yellowish(const vimg::RGBQUAD& c) {
    return c.rgbRed > 200 && c.rgbGreen > 170 && c.rgbBlue < 80;
}

class MeasureViewTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(s.started);
        s.app->CloseAllDocuments();
        s.frame()->resize(1000, 800);
        s.frame()->MdiArea()->setViewMode(QMdiArea::SubWindowView);
    }
    void OpenPicture(const QString& path) {
        doc = Open(s, path);
        ASSERT_TRUE(doc);
        view = doc->FirstView();
        view->GetParentFrame()->showNormal();
        view->GetParentFrame()->resize(500, 400);
        QCoreApplication::processEvents();
        Port()->grab(); // a paint sets the picture's rectangle
    }
    QWidget* Port() const { return view->ScrollArea()->viewport(); }
    MeasureManager* Manager() const {
        return KXVM_Manager(dynamic_cast<CMeasureView*>(view->MeasureOverlay())->Handle());
    }
    CChildFrame* Frame() const { return dynamic_cast<CChildFrame*>(view->GetParentFrame()); }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), Port()->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(Port(), &e);
    }
    void Drag(QPoint from, QPoint to) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    CCmdUI Update(int id) {
        CCmdUI ui(id);
        s.frame()->OnCmdMsg(id, &ui);
        return ui;
    }
    testsupport::TempDir dir;
    StartedApp s{dir};
    measuretest::FakePrompts prompts;
    CKXViewDoc* doc = nullptr;
    CKXViewView* view = nullptr;
};

} // namespace

TEST_F(MeasureViewTest, TheMessenMenuTakesTheMeasuringToolAndChecksTheChosenShape) {
    OpenPicture(WriteGrey(dir, "a.bmp", 200, 150));
    EXPECT_EQ(Frame()->MeasureFlag(), 0);
    EXPECT_NE(Update(ID_MEASURE_LINE).m_nCheck, 1);
    s.frame()->ExecuteCommand(ID_MEASURE_POLYGON);
    EXPECT_EQ(doc->m_tool, CKXViewDoc::TOOL_MEASURE);
    EXPECT_EQ(Frame()->MeasureFlag(), 5);
    EXPECT_EQ(Frame()->CurrentShape(), 4);
    EXPECT_EQ(Manager()->Shape(), kxvm::ShapeKind::Polygon);
    const int items[] = {ID_MEASURE_SELECT,  ID_MEASURE_LINE,  ID_MEASURE_RECTANGLE, ID_MEASURE_ELLIPSE,
                         ID_MEASURE_POLYGON, ID_MEASURE_ANGLE, ID_MEASURE_POINT,     ID_MEASURE_TEXT};
    for (int id : items) {
        const CCmdUI ui = Update(id);
        EXPECT_TRUE(ui.m_bEnabled) << id;
        EXPECT_EQ(ui.m_nCheck, id == ID_MEASURE_POLYGON ? 1 : 0) << id;
    }
    // Plain commands carry no check box; the toggles do.
    s.frame()->UpdateAllCommandUI();
    for (int id : {ID_MEASURE_DELETE_ALL, ID_MEASURE_CALIBRATE, ID_MEASURE_SAVE_DATA})
        EXPECT_FALSE(s.frame()->CommandAction(id)->isCheckable()) << id;
    EXPECT_TRUE(s.frame()->CommandAction(ID_MEASURE_SCALE_BAR)->isCheckable());
    // Another tool leaves the flag as it is; the shape keeps its check mark.
    s.frame()->ExecuteCommand(ID_TOOL_SELECT);
    EXPECT_EQ(Update(ID_MEASURE_POLYGON).m_nCheck, 1);
    // Refused commands leave the shape: "Löschen" with nothing selected.
    s.frame()->ExecuteCommand(ID_MEASURE_DELETE);
    EXPECT_EQ(Frame()->CurrentShape(), 4);
}

TEST_F(MeasureViewTest, ObjectsKeepTheirPlaceOnThePictureAtEveryZoomAndAreBurntIntoSaves) {
    OpenPicture(WriteGrey(dir, "a.bmp", 200, 150));
    s.frame()->ExecuteCommand(ID_MEASURE_RECTANGLE);
    Drag({20, 20}, {60, 50});
    ASSERT_EQ(Manager()->Objects().size(), 1u);
    EXPECT_EQ(Manager()->Objects()[0].points, (std::vector<QPointF>{{20, 20}, {60, 50}}));
    s.frame()->ExecuteCommand(ID_ZOOM_IN);
    s.frame()->ExecuteCommand(ID_ZOOM_IN);
    ASSERT_EQ(doc->FirstView()->m_zoomFactor, 2.0f);
    Port()->grab();
    EXPECT_EQ(Manager()->Objects()[0].points, (std::vector<QPointF>{{20, 20}, {60, 50}}));
    // The rendering for saves shows the left edge at x = 40 of the zoomed picture.
    std::unique_ptr<vimg::Image> rendering = view->RenderWithOverlay();
    ASSERT_TRUE(rendering);
    ASSERT_EQ(rendering->GetWidth(), 400u);
    const int h = static_cast<int>(rendering->GetHeight());
    EXPECT_TRUE(Yellowish(rendering->GetPixelColor(40, h - 1 - 70)));
    EXPECT_FALSE(Yellowish(rendering->GetPixelColor(20, h - 1 - 35)));
    // A drag at this zoom moves the object by half the screen distance.
    s.frame()->ExecuteCommand(ID_MEASURE_SELECT);
    Drag({80, 70}, {100, 90});
    EXPECT_EQ(Manager()->Objects()[0].points, (std::vector<QPointF>{{30, 30}, {70, 60}}));
    // Saved as a picture, the overlay is in it.
    const QString saved = QString::fromStdString(dir.file("saved.bmp"));
    doc->SaveRendering(saved);
    vimg::Image back;
    ASSERT_TRUE(back.Load(saved.toUtf8().constData(), vimg::FORMAT_BMP));
    EXPECT_TRUE(Yellowish(back.GetPixelColor(60, static_cast<int>(back.GetHeight()) - 1 - 90)));
    // Measurement undo and redo through the edit menu.
    EXPECT_TRUE(Update(ID_MEASURE_UNDO).m_bEnabled);
    s.frame()->ExecuteCommand(ID_MEASURE_UNDO);
    EXPECT_EQ(Manager()->Objects()[0].points, (std::vector<QPointF>{{20, 20}, {60, 50}}));
    s.frame()->ExecuteCommand(ID_MEASURE_REDO);
    EXPECT_EQ(Manager()->Objects()[0].points, (std::vector<QPointF>{{30, 30}, {70, 60}}));
}

TEST_F(MeasureViewTest, AClickBesideThePictureDoesNotReachTheLibrary) {
    OpenPicture(WriteGrey(dir, "a.bmp", 200, 150));
    s.frame()->ExecuteCommand(ID_ZOOM_OUT);
    s.frame()->ExecuteCommand(ID_ZOOM_OUT); // 0.5: the picture covers 100 x 75
    Port()->grab();
    s.frame()->ExecuteCommand(ID_MEASURE_LINE);
    Drag({150, 120}, {200, 200});
    EXPECT_TRUE(Manager()->Objects().empty());
    EXPECT_FALSE(Manager()->IsDrawing());
    Drag({10, 10}, {40, 10});
    ASSERT_EQ(Manager()->Objects().size(), 1u);
    EXPECT_EQ(Manager()->Objects()[0].points, (std::vector<QPointF>{{20, 20}, {80, 20}}));
}

TEST_F(MeasureViewTest, ThePicturesPixelSizeCalibratesAndTheProfileKeepsCalibrationsPerCamera) {
    OpenPicture(WriteGrey(dir, "a.bmp", 200, 150, 0.5, "SimCam"));
    // The BMP keeps the pixel size only in memory: give the document's image its own.
    doc->GetImage()->SetPixelSize(0.5);
    doc->GetImage()->SetCameraName("SimCam");
    Port()->grab();
    EXPECT_DOUBLE_EQ(Manager()->ActiveCalibration().MicronsPerPixel(), 0.5);
    EXPECT_EQ(KXVM_MicronsPerPixel("SimCam", 200, 150), 0);

    s.frame()->ExecuteCommand(ID_MEASURE_LINE);
    Drag({10, 10}, {50, 10});
    prompts.calibration = kxvm::CalibrationAnswer{
        kxvm::Calibration::FromLine("20x", 40, 10, kxvm::LengthUnit::Micrometre), true, {}};
    s.frame()->ExecuteCommand(ID_MEASURE_CALIBRATE);
    EXPECT_EQ(prompts.request.camera, QStringLiteral("SimCam"));
    EXPECT_DOUBLE_EQ(prompts.request.linePixels, 40);
    EXPECT_DOUBLE_EQ(Manager()->ActiveCalibration().MicronsPerPixel(), 0.25);
    EXPECT_DOUBLE_EQ(KXVM_MicronsPerPixel("SimCam", 200, 150), 0.25);
    EXPECT_EQ(KXVM_MicronsPerPixel("SimCam", 400, 300), 0);
    EXPECT_EQ(KXVM_MicronsPerPixel("Other", 200, 150), 0);

    // A second picture of that camera and resolution starts with it.
    CKXViewDoc* first = doc;
    OpenPicture(WriteGrey(dir, "b.bmp", 200, 150));
    ASSERT_NE(doc, first);
    doc->GetImage()->SetCameraName("SimCam");
    Port()->grab();
    EXPECT_DOUBLE_EQ(Manager()->ActiveCalibration().MicronsPerPixel(), 0.25);

    // A calibration made on a picture without a camera is not taken by the
    // next unrelated picture of that size: it shows pixels.
    OpenPicture(WriteGrey(dir, "c.bmp", 320, 240));
    s.frame()->ExecuteCommand(ID_MEASURE_LINE);
    Drag({10, 10}, {60, 10});
    prompts.calibration = kxvm::CalibrationAnswer{
        kxvm::Calibration::FromLine("Objektiv", 50, 200, kxvm::LengthUnit::Micrometre), true, {}};
    s.frame()->ExecuteCommand(ID_MEASURE_CALIBRATE);
    EXPECT_DOUBLE_EQ(Manager()->ActiveCalibration().MicronsPerPixel(), 4.0);
    OpenPicture(WriteGrey(dir, "gradient.bmp", 320, 240));
    EXPECT_FALSE(Manager()->ActiveCalibration().IsCalibrated());
}

TEST_F(MeasureViewTest, TheScaleBarFollowsTheDocumentsSwitch) {
    OpenPicture(WriteGrey(dir, "a.bmp", 200, 150));
    EXPECT_TRUE(Manager()->ScaleLineShown());
    EXPECT_GT(Manager()->ScaleBarLength(), 0);
    view->OnCmdMsg(ID_SHOW_SCALE, nullptr);
    Port()->grab();
    EXPECT_FALSE(Manager()->ScaleLineShown());
    // "Maßstab" of the measuring menu turns the same switch.
    s.frame()->ExecuteCommand(ID_MEASURE_SCALE_BAR);
    EXPECT_TRUE(doc->m_showScale);
    Port()->grab();
    EXPECT_TRUE(Manager()->ScaleLineShown());
    EXPECT_EQ(Update(ID_MEASURE_SCALE_BAR).m_nCheck, 1);
}

// What a user sees: a calibrated line, a rectangle, a polygon, an angle and
// the scale bar on a microscope picture, and the results table. The pictures
// land in build/test-screenshots for a look.
TEST_F(MeasureViewTest, AMeasuredPictureAndItsResultsTable) {
    QImage picture;
    kxcam::SimPicture(QSize(640, 480)).Render(0, kxcam::SimPicture::Home(), picture);
    const QString path = QString::fromStdString(dir.file("cells.bmp"));
    ASSERT_TRUE(picture.save(path, "BMP"));
    s.frame()->resize(1000, 640);
    OpenPicture(path);
    view->GetParentFrame()->setGeometry(0, 0, 680, 540);
    Port()->grab();

    s.frame()->ExecuteCommand(ID_MEASURE_LINE);
    Drag({60, 400}, {260, 400}); // 200 pixels are 100 µm
    prompts.calibration = kxvm::CalibrationAnswer{
        kxvm::Calibration::FromLine("10x", 200, 100, kxvm::LengthUnit::Micrometre), true, {}};
    s.frame()->ExecuteCommand(ID_MEASURE_CALIBRATE);
    s.frame()->ExecuteCommand(ID_MEASURE_RECTANGLE);
    Drag({80, 60}, {240, 180});
    s.frame()->ExecuteCommand(ID_MEASURE_POLYGON);
    for (QPoint p : {QPoint(330, 70), QPoint(470, 90), QPoint(450, 210)}) {
        Mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    Mouse(QEvent::MouseButtonPress, {340, 230}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {340, 230}, Qt::LeftButton, Qt::NoButton);
    Mouse(QEvent::MouseButtonDblClick, {340, 230}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {340, 230}, Qt::LeftButton, Qt::NoButton);
    s.frame()->ExecuteCommand(ID_MEASURE_ANGLE);
    for (QPoint p : {QPoint(420, 330), QPoint(300, 380), QPoint(440, 420)}) {
        Mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    ASSERT_EQ(Manager()->Objects().size(), 4u);
    s.frame()->ExecuteCommand(ID_MEASURE_TABLE);
    kxvm::ResultsTable* table = Manager()->Table();
    ASSERT_TRUE(table);
    // Four objects and the five summary rows.
    EXPECT_EQ(table->Table()->rowCount(), 4 + 5);
    EXPECT_EQ(table->Table()->item(0, 2)->text(), QStringLiteral("100.0000")); // the line, in µm
    EXPECT_EQ(table->Table()->horizontalHeaderItem(2)->text(), QStringLiteral("Länge (µm)"));
    // Only columns some object fills: length, width, height, area, perimeter,
    // angle, and the grey statistics of the rectangle and the polygon.
    EXPECT_EQ(table->Table()->columnCount(), 14);
    EXPECT_EQ(table->Table()->horizontalHeaderItem(8)->text(), QStringLiteral("Mittelwert"));
    EXPECT_FALSE(table->Table()->item(1, 8)->text().isEmpty()); // the rectangle's mean grey
    EXPECT_TRUE(table->Table()->item(0, 8)->text().isEmpty());  // a line has none
    EXPECT_EQ(table->Table()->item(8, 0)->text(), QStringLiteral("Anzahl"));
    EXPECT_EQ(table->Table()->item(8, 5)->text(), QStringLiteral("2")); // two areas
    // The polygon: 17500 square pixels by the shoelace formula, at 2 pixels per µm.
    EXPECT_EQ(table->Table()->horizontalHeaderItem(5)->text(), QStringLiteral("Fläche (µm²)"));
    EXPECT_EQ(table->Table()->item(2, 5)->text(), QStringLiteral("4375.0000"));
    EXPECT_DOUBLE_EQ(Manager()->ScaleBarLength(), 50); // a fifth of 640 pixels is 64 µm

    // The table docks beside the documents, names its picture and follows the active document.
    QDockWidget* pane = s.frame()->ResultsPane();
    ASSERT_TRUE(pane);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pane->isVisible());
    EXPECT_FALSE(pane->isFloating());
    EXPECT_EQ(s.frame()->dockWidgetArea(pane), Qt::RightDockWidgetArea);
    EXPECT_TRUE(pane->isAncestorOf(table));
    EXPECT_TRUE(table->isVisible());
    EXPECT_TRUE(pane->windowTitle().contains(QStringLiteral("cells.bmp"))) << pane->windowTitle().toStdString();

    const QString shots = QCoreApplication::applicationDirPath() + QStringLiteral("/../test-screenshots");
    QDir().mkpath(shots);
    EXPECT_TRUE(s.frame()->grab().save(shots + QStringLiteral("/measure-view.png")));
    EXPECT_TRUE(table->grab().save(shots + QStringLiteral("/measure-table.png")));

    // The line's grey profile, one sample per pixel of its 200 pixels, in a window of its own.
    s.frame()->ExecuteCommand(ID_MEASURE_PROFILE);
    kxvm::ProfilePlot* profile = Manager()->ProfileWindow();
    ASSERT_TRUE(profile);
    EXPECT_TRUE(profile->isVisible());
    const kxvm::MeasureObject& line = Manager()->Objects()[0];
    EXPECT_EQ(profile->Values(), kxvm::LineProfile(*doc->GetImage(), line.points[0], line.points[1]));
    EXPECT_EQ(profile->Values().size(), 201u);
    EXPECT_TRUE(profile->windowTitle().contains(QStringLiteral("Nr. 1")));
    EXPECT_TRUE(profile->grab().save(shots + QStringLiteral("/measure-profile.png")));

    kxvm::ResultsTable* first = table;
    OpenPicture(WriteGrey(dir, "second.bmp", 200, 150));
    QCoreApplication::processEvents();
    ASSERT_TRUE(Manager()->Table());
    EXPECT_NE(Manager()->Table(), first);
    EXPECT_TRUE(Manager()->Table()->isVisible());
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(pane->windowTitle().contains(QStringLiteral("second.bmp"))) << pane->windowTitle().toStdString();
}

TEST_F(MeasureViewTest, SaveKeepsThePictureAndPutsTheMeasurementsBesideIt) {
    // A calibrated still with a gradient, so any change to its pixels shows.
    vimg::Image still(120, 90, 24);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x)
            still.SetPixelColor(x, y, vimg::RGBQUAD{uint8_t(x + y), uint8_t(y), uint8_t(2 * x), 0});
    still.SetPixelSize(2.5);
    still.SetCameraName("Testkamera");
    const std::string path = dir.file("still.tif");
    ASSERT_TRUE(still.Save(path.c_str(), vimg::FORMAT_TIF));
    const std::vector<uint8_t> before = testsupport::ReadFile(path);
    const QString dataPath = kxvm::MeasureFile::PathForImage(QString::fromStdString(path));

    OpenPicture(QString::fromStdString(path));
    s.frame()->ExecuteCommand(ID_MEASURE_RECTANGLE);
    Drag({10, 10}, {50, 40});
    s.frame()->ExecuteCommand(ID_MEASURE_LINE);
    Drag({60, 20}, {100, 70});
    ASSERT_EQ(Manager()->Objects().size(), 2u);
    EXPECT_TRUE(doc->HasUnsavedChanges());
    for (int i = 0; i < 3; ++i) s.frame()->ExecuteCommand(ID_ZOOM_OUT);
    ASSERT_EQ(doc->FirstView()->m_zoomFactor, 0.25f);
    s.frame()->ExecuteCommand(ID_FILE_SAVE);
    // The picture is untouched by zoom, overlay and scale bar; the objects sit beside it.
    EXPECT_EQ(testsupport::ReadFile(path), before);
    EXPECT_FALSE(doc->HasUnsavedChanges());
    QString error;
    const auto data = kxvm::MeasureFile::Load(dataPath, &error);
    ASSERT_TRUE(data) << error.toStdString();
    EXPECT_EQ(data->objects, Manager()->Objects());

    // Opened again, the picture brings its objects back.
    s.app->CloseAllDocuments();
    OpenPicture(QString::fromStdString(path));
    EXPECT_EQ(Manager()->Objects(), data->objects);
    EXPECT_FALSE(doc->HasUnsavedChanges());

    // A changed picture is written at its own size with its calibration.
    ASSERT_TRUE(doc->SubmitUndo());
    doc->GetImage()->Negative();
    s.frame()->ExecuteCommand(ID_FILE_SAVE);
    vimg::Image back;
    ASSERT_TRUE(back.Load(path.c_str(), vimg::FORMAT_TIF));
    EXPECT_EQ(back.GetWidth(), 120u);
    EXPECT_EQ(back.GetBpp(), 24u);
    EXPECT_DOUBLE_EQ(back.GetPixelSize(), 2.5);
    EXPECT_STREQ(back.GetCameraName(), "Testkamera");
    EXPECT_EQ(back.GetPixelColor(7, 5, false), doc->GetImage()->GetPixelColor(7, 5, false));
    EXPECT_EQ(back.GetPixelColor(7, 5, false).rgbRed, 255 - 14);

    // Without objects no data file stays behind to bring old ones back.
    s.frame()->ExecuteCommand(ID_MEASURE_DELETE_ALL);
    ASSERT_TRUE(Manager()->Objects().empty());
    s.frame()->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_FALSE(QFileInfo::exists(dataPath));
}

TEST_F(MeasureViewTest, DeleteAndBackspaceRemoveTheSelectedMeasurement) {
    OpenPicture(WriteGrey(dir, "a.bmp", 200, 150));
    s.frame()->ExecuteCommand(ID_MEASURE_LINE);
    Drag({10, 10}, {60, 10});
    Drag({10, 50}, {60, 50});
    ASSERT_EQ(Manager()->Objects().size(), 2u);
    s.frame()->ExecuteCommand(ID_MEASURE_SELECT);
    const auto press = [this](Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    Drag({35, 10}, {35, 10}); // a click on the first line
    ASSERT_GE(Manager()->Selected(), 0);
    press(Qt::Key_Delete);
    ASSERT_EQ(Manager()->Objects().size(), 1u);
    EXPECT_EQ(Manager()->Objects()[0].points[0].y(), 50);
    Drag({35, 50}, {35, 50});
    press(Qt::Key_Backspace);
    EXPECT_TRUE(Manager()->Objects().empty());
}

TEST_F(MeasureViewTest, MeasurementsOfAnotherPictureSizeAreNotTaken) {
    const QString small = WriteGrey(dir, "small.bmp", 40, 30);
    kxvm::MeasureData data;
    data.imageSize = QSize(400, 300);
    kxvm::MeasureObject line;
    line.points = {{10, 10}, {300, 200}};
    data.objects = {line};
    QString error;
    ASSERT_TRUE(kxvm::MeasureFile::Save(kxvm::MeasureFile::PathForImage(small), data, &error));
    OpenPicture(small);
    EXPECT_TRUE(Manager()->Objects().empty());
}
