// The manager of one view: shapes made with the mouse at any zoom, editing
// with handles, its undo history, menu commands, the scale bar, the results
// table and the calibrations kept per camera and resolution.
#include <cstring>
#include <tuple>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTableWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include "CalibrationStore.h"
#include "KXVMeasure.h"
#include "MeasureManager.h"
#include "MeasureTestSupport.h"
#include "Profile.h"
#include "Resource.h"
#include "ResultsTable.h"
#include "TestSupport.h"

using namespace kxvm;

namespace {

class ManagerTest : public testing::Test {
protected:
    void SetUp() override { m.SetImage(QSize(400, 300), 0, QStringLiteral("Cam"), QString()); }
    void Drag(QPointF from, QPointF to) {
        m.MouseDown(from);
        m.MouseMove((from + to) / 2);
        m.MouseMove(to);
        m.MouseUp(to);
    }
    void Click(QPointF at) {
        m.MouseDown(at);
        m.MouseUp(at);
    }
    QWidget view;
    MeasureManager m{&view};
    measuretest::FakePrompts prompts;
};

} // namespace

TEST_F(ManagerTest, ShapesDrawnAtAZoomLieInImagePixels) {
    m.SetScale(2.0f);
    ASSERT_TRUE(m.MenuItem(ID_MEASURE_LINE));
    Drag({20, 40}, {220, 40});
    ASSERT_EQ(m.Objects().size(), 1u);
    EXPECT_EQ(m.Objects()[0].points, (std::vector<QPointF>{{10, 20}, {110, 20}}));
    m.MenuItem(ID_MEASURE_RECTANGLE);
    Drag({100, 100}, {160, 180});
    EXPECT_EQ(m.Objects()[1].points, (std::vector<QPointF>{{50, 50}, {80, 90}}));
    // A click without a drag makes nothing.
    Click({300, 300});
    EXPECT_EQ(m.Objects().size(), 2u);
    // Points beyond the picture are pulled onto its edge.
    m.MenuItem(ID_MEASURE_LINE);
    Drag({700, 500}, {900, 900});
    EXPECT_EQ(m.Objects().size(), 3u);
    EXPECT_EQ(m.Objects()[2].points[1], QPointF(400, 300));
}

TEST_F(ManagerTest, PolygonByClicksEndsWithADoubleClickAngleWithTheThirdPoint) {
    m.MenuItem(ID_MEASURE_POLYGON);
    for (QPointF p : {QPointF(0, 0), QPointF(30, 0)})
        Click(p);
    m.MouseMove({25, 35});
    EXPECT_TRUE(m.IsDrawing());
    // The double click's first press sets the last corner; the double click ends it.
    m.MouseDown({0, 40});
    m.MouseUp({0, 40});
    m.DoubleClick({0, 40});
    m.MouseUp({0, 40});
    ASSERT_EQ(m.Objects().size(), 1u);
    EXPECT_EQ(m.Objects()[0].points, (std::vector<QPointF>{{0, 0}, {30, 0}, {0, 40}}));
    EXPECT_DOUBLE_EQ(Measure(m.Objects()[0])[0].pixels, 600);
    // Two corners are no polygon.
    Click({100, 100});
    m.MouseDown({120, 100});
    m.DoubleClick({120, 100});
    EXPECT_EQ(m.Objects().size(), 1u);
    EXPECT_FALSE(m.IsDrawing());

    m.MenuItem(ID_MEASURE_ANGLE);
    Click({110, 10});
    Click({100, 10});
    EXPECT_TRUE(m.IsDrawing());
    Click({100, 0});
    ASSERT_EQ(m.Objects().size(), 2u);
    EXPECT_NEAR(Measure(m.Objects()[1])[0].pixels, 90, 1e-12);
    // The first arm may also be dragged.
    Drag({200, 100}, {150, 100});
    Click({150 + 50, 100 - 50});
    ASSERT_EQ(m.Objects().size(), 3u);
    EXPECT_NEAR(Measure(m.Objects()[2])[0].pixels, 45, 1e-12);
}

TEST_F(ManagerTest, PointsAndTextAnnotations) {
    m.MenuItem(ID_MEASURE_POINT);
    Click({5, 6});
    Click({7, 8});
    EXPECT_EQ(m.Objects().size(), 2u);
    m.MenuItem(ID_MEASURE_TEXT);
    prompts.text = QStringLiteral("Kern");
    Drag({50, 50}, {90, 20});
    ASSERT_EQ(m.Objects().size(), 3u);
    EXPECT_EQ(m.Objects()[2].text, QStringLiteral("Kern"));
    EXPECT_EQ(m.Objects()[2].points, (std::vector<QPointF>{{50, 50}, {90, 20}}));
    prompts.text.reset(); // cancelled: nothing is added
    Drag({50, 50}, {90, 20});
    EXPECT_EQ(m.Objects().size(), 3u);
    // A double click on the annotation's leader edits its text, as one undo step.
    m.MenuItem(ID_MEASURE_SELECT);
    prompts.text = QStringLiteral("Zellkern");
    m.MouseDown({70, 35});
    m.MouseUp({70, 35});
    m.DoubleClick({70, 35});
    EXPECT_EQ(m.Objects()[2].text, QStringLiteral("Zellkern"));
    EXPECT_TRUE(m.Undo());
    EXPECT_EQ(m.Objects()[2].text, QStringLiteral("Kern"));
}

TEST_F(ManagerTest, SelectMoveAndHandleDragsAreEachOneUndoStep) {
    m.MenuItem(ID_MEASURE_RECTANGLE);
    Drag({10, 10}, {50, 30});
    m.MenuItem(ID_MEASURE_SELECT);
    // Drag the body: the whole rectangle moves.
    Drag({30, 20}, {40, 25});
    EXPECT_EQ(m.Selected(), 0);
    EXPECT_EQ(m.Objects()[0].points, (std::vector<QPointF>{{20, 15}, {60, 35}}));
    // Drag the upper right handle.
    Drag({60, 15}, {70, 5});
    EXPECT_EQ(m.Objects()[0].points, (std::vector<QPointF>{{20, 5}, {70, 35}}));
    // A move never pushes the object off the picture.
    Drag({40, 20}, {1000, 20});
    EXPECT_EQ(m.Objects()[0].points, (std::vector<QPointF>{{350, 5}, {400, 35}}));
    EXPECT_TRUE(m.Undo());
    EXPECT_EQ(m.Objects()[0].points, (std::vector<QPointF>{{20, 5}, {70, 35}}));
    EXPECT_TRUE(m.Undo());
    EXPECT_EQ(m.Objects()[0].points, (std::vector<QPointF>{{20, 15}, {60, 35}}));
    EXPECT_TRUE(m.Undo());
    EXPECT_EQ(m.Objects()[0].points, (std::vector<QPointF>{{10, 10}, {50, 30}}));
    EXPECT_TRUE(m.Undo()); // the add
    EXPECT_TRUE(m.Objects().empty());
    EXPECT_FALSE(m.Undo());
    EXPECT_TRUE(m.Redo());
    EXPECT_TRUE(m.Redo());
    EXPECT_EQ(m.Objects()[0].points, (std::vector<QPointF>{{20, 15}, {60, 35}}));
    // A click on nothing deselects and changes nothing.
    Click({200, 200});
    EXPECT_EQ(m.Selected(), -1);
    EXPECT_TRUE(m.Redo());
}

TEST_F(ManagerTest, DeleteAndDeleteAllGoThroughTheUndoHistoryAndANewChangeDropsTheRedo) {
    m.MenuItem(ID_MEASURE_LINE);
    Drag({0, 0}, {10, 0});
    Drag({0, 5}, {10, 5});
    m.MenuItem(ID_MEASURE_SELECT);
    EXPECT_FALSE(m.MenuItemEnabled(ID_MEASURE_DELETE));
    Click({5, 5});
    ASSERT_EQ(m.Selected(), 1);
    EXPECT_TRUE(m.MenuItem(ID_MEASURE_DELETE));
    ASSERT_EQ(m.Objects().size(), 1u);
    EXPECT_EQ(m.Objects()[0].points[0], QPointF(0, 0));
    EXPECT_TRUE(m.MenuItem(ID_MEASURE_DELETE_ALL));
    EXPECT_TRUE(m.Objects().empty());
    EXPECT_TRUE(m.Undo());
    EXPECT_TRUE(m.Undo());
    EXPECT_EQ(m.Objects().size(), 2u);
    m.MenuItem(ID_MEASURE_POINT);
    Click({3, 3});
    EXPECT_FALSE(m.Redo());
    EXPECT_EQ(m.Objects().size(), 3u);
}

TEST_F(ManagerTest, ColoursAndThicknessGoToNewObjectsAndTheSelectedOne) {
    m.MenuItem(ID_MEASURE_WIDTH_1 + 3); // 5 points
    EXPECT_TRUE(m.MenuItemChecked(ID_MEASURE_WIDTH_1 + 3));
    EXPECT_FALSE(m.MenuItemChecked(ID_MEASURE_WIDTH_1 + 1));
    prompts.colour = QColor(255, 0, 0);
    EXPECT_TRUE(m.MenuItem(ID_MEASURE_LINE_COLOUR));
    m.MenuItem(ID_MEASURE_LINE);
    Drag({0, 0}, {100, 0});
    EXPECT_EQ(m.Objects()[0].lineWidth, 5);
    EXPECT_EQ(m.Objects()[0].lineColour, QColor(255, 0, 0));
    prompts.colour.reset();
    EXPECT_FALSE(m.MenuItem(ID_MEASURE_TEXT_COLOUR)); // cancelled
    m.MenuItem(ID_MEASURE_ZOOM_50 + 4);
    EXPECT_EQ(m.LabelZoom(), 2.0);
}

TEST_F(ManagerTest, ThePixelSizeOfThePictureIsTheActiveCalibrationUntilTheUserChooses) {
    m.SetImage(QSize(400, 300), 0.5, QStringLiteral("Cam"), QString());
    EXPECT_TRUE(m.ActiveCalibration().IsCalibrated());
    EXPECT_DOUBLE_EQ(m.ActiveCalibration().MicronsPerPixel(), 0.5);
    m.MenuItem(ID_MEASURE_LINE);
    Drag({0, 0}, {100, 0});
    EXPECT_EQ(Measure(m.Objects()[0])[0].Text(m.ActiveCalibration()), QStringLiteral("50.00 µm"));
    // The user's choice stays, whatever the picture says afterwards.
    m.ChooseCalibration(Calibration{QStringLiteral("mm"), 10, LengthUnit::Millimetre});
    m.SetImage(QSize(400, 300), 0.25, QStringLiteral("Cam"), QString());
    EXPECT_EQ(m.ActiveCalibration().unit, LengthUnit::Millimetre);
}

TEST_F(ManagerTest, TheCalibrationCommandOffersTheLastLineAndAppliesTheAnswer) {
    m.MenuItem(ID_MEASURE_LINE);
    Drag({0, 0}, {120, 0});
    Drag({0, 10}, {50, 10});
    prompts.calibration =
        CalibrationAnswer{Calibration::FromLine("L", 50, 20, LengthUnit::Micrometre), true, {}};
    EXPECT_TRUE(m.MenuItem(ID_MEASURE_CALIBRATE));
    EXPECT_DOUBLE_EQ(prompts.request.linePixels, 50);
    EXPECT_EQ(prompts.request.resolution, QSize(400, 300));
    EXPECT_EQ(prompts.request.camera, QStringLiteral("Cam"));
    EXPECT_DOUBLE_EQ(m.ActiveCalibration().pixelsPerUnit, 2.5);
    EXPECT_DOUBLE_EQ(Measure(m.Objects()[0])[0].In(m.ActiveCalibration()), 48);
}

TEST_F(ManagerTest, TheScaleBarHasARoundLengthAndTheMatchingSize) {
    m.SetScale(1.5f);
    m.ChooseCalibration(Calibration{QStringLiteral("c"), 3.7, LengthUnit::Micrometre});
    // A fifth of 400 pixels is 21.6 µm: the bar shows 20 µm, 74 pixels, 111 on the screen.
    EXPECT_DOUBLE_EQ(m.ScaleBarLength(), 20);
    EXPECT_NEAR(m.ScaleBarLogical(), 20 * 3.7 * 1.5, 1e-9);
    m.ChooseCalibration(std::nullopt);
    EXPECT_DOUBLE_EQ(m.ScaleBarLength(), 50); // 80 pixels -> 50 px
    m.MenuItem(ID_MEASURE_SCALE_BAR);
    EXPECT_EQ(m.ScaleBarLength(), 0);
    // The bar sits in the lower right corner of the zoomed picture.
    m.MenuItem(ID_MEASURE_SCALE_BAR);
    QImage canvas(600, 450, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter p(&canvas);
        m.Draw(p);
    }
    const int y = 450 - 12 - 3;
    EXPECT_EQ(canvas.pixel(600 - 12 - 2, y), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(static_cast<int>(600 - 12 - 50 * 1.5 + 2), y), qRgb(255, 255, 255));
    EXPECT_NE(canvas.pixel(static_cast<int>(600 - 12 - 50 * 1.5 - 8), y), qRgb(255, 255, 255));
}

TEST_F(ManagerTest, OnTheScreenTheBarKeepsToTheVisibleCornerAndLabelsStayOnThePicture) {
    // Scrolled to the top left of the picture, zoom 1.
    m.SetVisibleArea(QRectF(0, 0, 300, 250));
    QImage canvas(400, 300, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter p(&canvas);
        m.Draw(p);
    }
    EXPECT_EQ(canvas.pixel(300 - 12 - 2, 250 - 12 - 3), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(400 - 12 - 2, 300 - 12 - 3), qRgb(0, 0, 0));
    // A rendering for a save: the picture's own corner.
    m.SetVisibleArea(QRectF());
    canvas.fill(Qt::black);
    {
        QPainter p(&canvas);
        m.Draw(p);
    }
    EXPECT_EQ(canvas.pixel(400 - 12 - 2, 300 - 12 - 3), qRgb(255, 255, 255));
    // A small picture: the bar shrinks with it (half the margin on 120 rows);
    // one too small even for that has none.
    m.SetImage(QSize(160, 120), 0, QStringLiteral("Cam"), QString());
    QImage small(160, 120, QImage::Format_RGB32);
    small.fill(Qt::black);
    {
        QPainter p(&small);
        m.Draw(p);
    }
    EXPECT_EQ(small.pixel(160 - 6 - 2, 120 - 6 - 2), qRgb(255, 255, 255));
    m.SetImage(QSize(16, 12), 0, QStringLiteral("Cam"), QString());
    QImage tiny(16, 12, QImage::Format_RGB32);
    tiny.fill(Qt::black);
    {
        QPainter p(&tiny);
        m.Draw(p);
    }
    EXPECT_EQ(tiny, [] {
        QImage black(16, 12, QImage::Format_RGB32);
        black.fill(Qt::black);
        return black;
    }());
    m.SetImage(QSize(400, 300), 0, QStringLiteral("Cam"), QString());

    // A rectangle in the lower right corner: its label would hang below the
    // picture and moves up onto it.
    m.MenuItem(ID_MEASURE_SCALE_BAR);
    m.MenuItem(ID_MEASURE_RECTANGLE);
    Drag({330, 230}, {395, 295});
    QImage wide(500, 400, QImage::Format_RGB32);
    wide.fill(Qt::white);
    {
        QPainter p(&wide);
        m.Draw(p);
    }
    int outside = 0, inside = 0;
    for (int yy = 0; yy < 400; ++yy)
        for (int xx = 0; xx < 500; ++xx) {
            if (wide.pixel(xx, yy) == qRgb(255, 255, 255)) continue;
            (xx < 400 && yy < 300 ? inside : outside)++;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inside, 1000); // the outline and a label of four lines
}

TEST_F(ManagerTest, TheResultsTableListsEveryObjectInCalibratedUnits) {
    m.MenuItem(ID_MEASURE_RECTANGLE);
    Drag({0, 0}, {30, 40});
    m.MenuItem(ID_MEASURE_TEXT);
    prompts.text = QStringLiteral("a, \"b\"");
    Drag({5, 5}, {50, 50});
    m.ChooseCalibration(Calibration{QStringLiteral("c"), 10, LengthUnit::Millimetre});
    m.MenuItem(ID_MEASURE_TABLE);
    ResultsTable* table = m.Table();
    ASSERT_TRUE(table);
    // Two objects, then mean, standard deviation, minimum, maximum and count.
    ASSERT_EQ(table->Table()->rowCount(), 7);
    // The window shows only the columns some object fills.
    QStringList shown;
    for (int c = 0; c < table->Table()->columnCount(); ++c)
        shown << table->Table()->horizontalHeaderItem(c)->text();
    EXPECT_EQ(shown, (QStringList{"Nr", "Typ", "Breite (mm)", "Höhe (mm)", QStringLiteral("Fläche (mm²)"),
                                  "Umfang (mm)", "Text"}));
    EXPECT_EQ(table->Table()->item(0, 4)->text(), QStringLiteral("12.0000"));
    EXPECT_EQ(table->Table()->item(2, 0)->text(), QStringLiteral("Mittelwert"));
    EXPECT_EQ(table->Table()->item(6, 0)->text(), QStringLiteral("Anzahl"));
    EXPECT_EQ(table->Table()->item(6, 4)->text(), QStringLiteral("1"));
    const QStringList header = ResultsTable::Header(m.ActiveCalibration());
    // The exported columns, texts and order are a file format: pinned whole.
    EXPECT_EQ(header, (QStringList{"Nr", "Typ", QStringLiteral("Länge (mm)"), "Breite (mm)",
                                   QStringLiteral("Höhe (mm)"), "Durchmesser (mm)", "Durchmesser X (mm)",
                                   "Durchmesser Y (mm)", QStringLiteral("Fläche (mm²)"), "Umfang (mm)",
                                   QStringLiteral("Winkel (°)"), "X (mm)", "Y (mm)", "Mittelwert",
                                   "Standardabweichung", "Min", "Max", QStringLiteral("IntDen (mm²)"), "RawIntDen",
                                   "Text"}));
    const auto rows = ResultsTable::Rows(m.Objects(), m.ActiveCalibration());
    EXPECT_EQ(rows[0][header.indexOf(QStringLiteral("Breite (mm)"))], QStringLiteral("3.0000"));
    EXPECT_EQ(rows[0][header.indexOf(QStringLiteral("Umfang (mm)"))], QStringLiteral("14.0000"));
    const QString csv = ResultsTable::ToCsv(header, rows);
    EXPECT_TRUE(csv.endsWith("Beschriftung,,,,,,,,,,,,,,,,,,\"a, \"\"b\"\"\"\r\n")) << csv.toStdString();
    table->SetPictureName(QStringLiteral("zellen.tif"));
    table->CopyToClipboard();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral(
        "Bild\tzellen.tif\nKalibrierung\tc\t10 Pixel/mm\n\nNr\tTyp\tBreite (mm)\tHöhe (mm)\tFläche (mm²)\t"
        "Umfang (mm)\tText\n1\tRechteck\t3.0000\t")))
        << QApplication::clipboard()->text().toStdString();

    // The CSV file as Python's csv module reads it: ";" and decimal commas in
    // German, "," and points in English, picture and calibration first.
    testsupport::TempDir dir;
    const std::string script = dir.file("read.py");
    const char* reader = "import csv, sys\n"
                         "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                         "    rows = list(csv.reader(f, delimiter=sys.argv[2]))\n"
                         "print(rows[0][1], rows[1][2], rows[3][2], rows[4][2], rows[4][4], rows[5][6], sep='|')\n";
    testsupport::WriteFile(script, std::vector<uint8_t>(reader, reader + std::strlen(reader)));
    for (const auto& [language, separator, expected] :
         {std::tuple{QLocale::German, ";", "zellen.tif|10 Pixel/mm|Breite (mm)|3,0000|12,0000|a, \"b\""},
          std::tuple{QLocale::English, ",", "zellen.tif|10 Pixel/mm|Breite (mm)|3.0000|12.0000|a, \"b\""}}) {
        QLocale::setDefault(QLocale(language));
        m.RefreshTable();
        const std::string file = dir.file(separator[0] == ';' ? "de.csv" : "en.csv");
        QString error;
        ASSERT_TRUE(table->ExportCsv(QString::fromStdString(file), &error)) << error.toStdString();
        std::string out;
        EXPECT_EQ(testsupport::Run("/usr/bin/python3 " + testsupport::Quote(script) + " " + testsupport::Quote(file) +
                                       " '" + separator + "'",
                                   &out),
                  0);
        EXPECT_EQ(out, std::string(expected) + "\n") << separator;
    }
    QLocale::setDefault(QLocale::c());
    // The table follows later changes.
    m.DeleteAll();
    EXPECT_EQ(table->Table()->rowCount(), 0);
}

TEST_F(ManagerTest, DataFileRoundTripAndADamagedFileChangesNothing) {
    testsupport::TempDir dir;
    m.MenuItem(ID_MEASURE_ELLIPSE);
    Drag({10, 10}, {30, 30});
    m.ChooseCalibration(Calibration{QStringLiteral("c"), 4, LengthUnit::Nanometre});
    prompts.path = QString::fromStdString(dir.file("m.json"));
    EXPECT_TRUE(m.MenuItem(ID_MEASURE_SAVE_DATA));
    EXPECT_TRUE(prompts.errors.isEmpty());

    MeasureManager other(nullptr);
    QString error;
    ASSERT_TRUE(other.LoadData(prompts.path, &error)) << error.toStdString();
    EXPECT_EQ(other.Objects(), m.Objects());
    EXPECT_EQ(other.ActiveCalibration(), m.ActiveCalibration());
    EXPECT_TRUE(other.Undo()); // loading is one undo step
    EXPECT_TRUE(other.Objects().empty());

    {
        QFile f(prompts.path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\"format\": \"vistorel-measurements\", \"version\": 1, \"objects\": [{\"type\": \"line\"");
    }
    EXPECT_TRUE(m.MenuItem(ID_MEASURE_OPEN_DATA));
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(m.Objects().size(), 1u);
    EXPECT_EQ(m.ActiveCalibration().unit, LengthUnit::Nanometre);
}

TEST_F(ManagerTest, OpeningDataOfAPictureOfAnotherSizeWarnsFirst) {
    testsupport::TempDir dir;
    m.MenuItem(ID_MEASURE_LINE);
    Drag({10, 10}, {90, 10});
    prompts.path = QString::fromStdString(dir.file("m.json"));
    ASSERT_TRUE(m.MenuItem(ID_MEASURE_SAVE_DATA));
    m.DeleteAll();
    // The same size: no question.
    m.MenuItem(ID_MEASURE_OPEN_DATA);
    EXPECT_TRUE(prompts.warnings.isEmpty());
    EXPECT_EQ(m.Objects().size(), 1u);
    m.DeleteAll();
    m.SetImage(QSize(200, 150), 0, QStringLiteral("Cam"), QString());
    m.MenuItem(ID_MEASURE_OPEN_DATA); // declined
    ASSERT_EQ(prompts.warnings.size(), 1);
    EXPECT_TRUE(prompts.warnings[0].contains("400 x 300")) << prompts.warnings[0].toStdString();
    EXPECT_TRUE(prompts.warnings[0].contains("200 x 150"));
    EXPECT_TRUE(m.Objects().empty());
    prompts.proceed = true;
    m.MenuItem(ID_MEASURE_OPEN_DATA);
    EXPECT_EQ(prompts.warnings.size(), 2);
    EXPECT_EQ(m.Objects().size(), 1u);
}

TEST(CalibrationStore, NamedCalibrationsPerCameraAndResolution) {
    testsupport::TempDir dir;
    CProfile profile(QString::fromStdString(dir.file("p.ini")));
    CalibrationStore store(profile);
    const Calibration a{QStringLiteral("10x"), 2.5, LengthUnit::Micrometre};
    const Calibration b{QStringLiteral("40x"), 10, LengthUnit::Micrometre};
    store.Put("Cam A", 1280, 960, a, true);
    store.Put("Cam A", 1280, 960, b, false);
    store.Put("Cam A", 640, 480, Calibration{QStringLiteral("10x"), 1.25, LengthUnit::Micrometre}, true);
    EXPECT_EQ(store.List("Cam A", 1280, 960).size(), 2u);
    EXPECT_EQ(store.Active("Cam A", 1280, 960), a);
    EXPECT_DOUBLE_EQ(store.Active("Cam A", 640, 480)->pixelsPerUnit, 1.25);
    EXPECT_FALSE(store.Active("Cam B", 1280, 960));
    store.SetActive("Cam A", 1280, 960, "40x");
    EXPECT_EQ(store.Active("Cam A", 1280, 960), b);
    // A second profile object on the same file sees the same.
    CProfile again(QString::fromStdString(dir.file("p.ini")));
    EXPECT_EQ(CalibrationStore(again).Active("Cam A", 1280, 960), b);
    store.Remove("Cam A", 1280, 960, "40x");
    EXPECT_FALSE(store.Active("Cam A", 1280, 960));
    EXPECT_EQ(store.List("Cam A", 1280, 960), std::vector<Calibration>{a});
}

TEST(KXVMeasureFunctions, UnknownHandlesAreIgnored) {
    EXPECT_EQ(KXVM_MenuItemEvent(ID_MEASURE_LINE, 987654), 0);
    EXPECT_EQ(KXVM_Undo(987654), 0);
    KXVM_OnLButtonDown(987654, 1, 1);
    const uint32_t h = KXVM_NewKXMeasureManager(nullptr);
    EXPECT_NE(h, 0u);
    EXPECT_EQ(KXVM_MenuItemEvent(ID_MEASURE_LINE, h), 1);
    KXVM_OnLButtonDown(h, 0, 0);
    KXVM_OnLButtonUp(h, 20, 0);
    EXPECT_EQ(KXVM_Manager(h)->Objects().size(), 1u);
    EXPECT_EQ(KXVM_Undo(h), 1);
    KXVM_DeleteKXMeasureManager(h);
    EXPECT_EQ(KXVM_Manager(h), nullptr);
}
