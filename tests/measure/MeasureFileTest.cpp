// The measurement data file: what is written comes back the same, and a
// damaged or hostile file is refused with a reason, never half read.
#include <filesystem>
#include <fstream>

#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

#include "Calibration.h"
#include "MeasureFile.h"
#include "TestSupport.h"

using namespace kxvm;

namespace {

MeasureData Sample() {
    MeasureData data;
    data.imageSize = QSize(640, 480);
    data.calibration = Calibration{QStringLiteral("10x Objektiv"), 2.5, LengthUnit::Micrometre};
    data.scaleBar = false;
    MeasureObject line;
    line.points = {{10.5, 20.25}, {110, 20}};
    MeasureObject poly;
    poly.kind = ShapeKind::Polygon;
    poly.points = {{0, 0}, {30, 0}, {30, 40}, {0, 40.75}};
    poly.lineColour = QColor(10, 200, 30);
    poly.fillColour = QColor(1, 2, 3, 40);
    poly.lineWidth = 5;
    MeasureObject text;
    text.kind = ShapeKind::Text;
    text.points = {{5, 5}, {50, 60}};
    text.text = QStringLiteral("Zelle \"A\", Kern\nzweite Zeile");
    MeasureObject angle;
    angle.kind = ShapeKind::Angle;
    angle.points = {{1, 2}, {3, 4}, {5, 1}};
    data.objects = {line, poly, text, angle};
    return data;
}

void ExpectSame(const MeasureData& a, const MeasureData& b) {
    EXPECT_EQ(a.imageSize, b.imageSize);
    EXPECT_EQ(a.calibration, b.calibration);
    EXPECT_EQ(a.scaleBar, b.scaleBar);
    EXPECT_EQ(a.objects, b.objects);
}

QByteArray Replace(QByteArray bytes, const char* from, const char* to) {
    EXPECT_TRUE(bytes.contains(from)) << from;
    return bytes.replace(from, to);
}

} // namespace

TEST(MeasureFile, WhatIsSavedLoadsBackTheSame) {
    testsupport::TempDir dir;
    const QString path = QString::fromStdString(dir.file("a.bmp.measure.json"));
    const MeasureData data = Sample();
    QString error;
    ASSERT_TRUE(MeasureFile::Save(path, data, &error)) << error.toStdString();
    const std::optional<MeasureData> back = MeasureFile::Load(path, &error);
    ASSERT_TRUE(back) << error.toStdString();
    ExpectSame(data, *back);
    // Without a calibration the file says null, and it stays uncalibrated.
    MeasureData plain = data;
    plain.calibration.reset();
    const auto again = MeasureFile::Parse(MeasureFile::Serialize(plain), &error);
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->calibration);
    // Nothing but the file is left in the folder.
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
        1);
    EXPECT_EQ(MeasureFile::PathForImage("/x/b.jpg"), QStringLiteral("/x/b.jpg.measure.json"));
}

TEST(MeasureFile, DamagedFilesAreRefusedWithAReason) {
    const QByteArray good = MeasureFile::Serialize(Sample());
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {QByteArray(), "not a JSON object"},
        {"[1, 2]", "not a JSON object"},
        {Replace(good, "vistorel-measurements", "something-else"), "not a Vistorel measurement file"},
        {Replace(good, "\"version\": 1", "\"version\": 2"), "unsupported format version"},
        {Replace(good, "\"version\": 1", "\"version\": \"1\""), "unsupported format version"},
        {Replace(good, "\"type\": \"polygon\"", "\"type\": \"hexagon\""), "object 2: unknown type"},
        {Replace(good, "\"unit\": \"µm\"", "\"unit\": \"inch\""), "invalid calibration"},
        {Replace(good, "\"pixelsPerUnit\": 2.5", "\"pixelsPerUnit\": -2.5"), "invalid calibration"},
        {Replace(good, "\"lineWidth\": 5", "\"lineWidth\": 0"), "object 2: line width"},
        {Replace(good, "\"lineWidth\": 5", "\"lineWidth\": 2.5"), "object 2: line width"},
        {Replace(good, "\"#0ac81e\"", "\"not a colour\""), "object 2: invalid colour"},
        {Replace(good, "110,", "1e300,"), "object 1: a point lies far outside"},
        {Replace(good, "110,", "\"110\","), "object 1: a point is not [x, y]"},
        {Replace(good, "\"objects\"", "\"things\""), "no object list"},
    };
    for (const auto& [bytes, reason] : cases) {
        QString error;
        EXPECT_FALSE(MeasureFile::Parse(bytes, &error)) << reason.toStdString();
        EXPECT_TRUE(error.startsWith(reason)) << error.toStdString() << " / " << reason.toStdString();
    }
    // Point counts that do not fit the type.
    const QByteArray head = R"({"format": "vistorel-measurements", "version": 1, "objects": [)";
    QString error;
    EXPECT_FALSE(
        MeasureFile::Parse(head + R"({"type": "line", "points": [[0, 0], [1, 1], [2, 2]]}]})", &error));
    EXPECT_EQ(error, QStringLiteral("object 1: 3 points for a line"));
    EXPECT_FALSE(MeasureFile::Parse(head + R"({"type": "polygon", "points": [[0, 0], [1, 1]]}]})", &error));
    EXPECT_EQ(error, QStringLiteral("object 1: 2 points for a polygon"));
    EXPECT_TRUE(MeasureFile::Parse(head + R"({"type": "point", "points": [[3, 4]]}]})", &error));
}

TEST(MeasureFile, EveryTruncationOrByteFlipReadsWholeOrNotAtAll) {
    const QByteArray good = MeasureFile::Serialize(Sample());
    for (qsizetype n = 0; n < good.size(); ++n) {
        QString error;
        const auto data = MeasureFile::Parse(good.left(n), &error);
        if (!data) {
            EXPECT_FALSE(error.isEmpty());
        }
    }
    for (qsizetype i = 0; i < good.size(); i += 3) {
        QByteArray bad = good;
        bad[i] = static_cast<char>(bad[i] ^ 0x5a);
        QString error;
        const auto data = MeasureFile::Parse(bad, &error);
        if (data) {
            // What was accepted is whole: every object has its points.
            for (const MeasureObject& o : data->objects)
                EXPECT_GE(static_cast<int>(o.points.size()), PointsNeeded(o.kind));
        } else {
            EXPECT_FALSE(error.isEmpty());
        }
    }
}

TEST(MeasureFile, FuzzSeedsReadAndInputsThatOnceFailedAreHandled) {
    const std::filesystem::path fuzz(VISTOREL_FUZZ_DATA);
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fuzz / "measure-seeds")) {
        QFile file(QString::fromStdString(entry.path().string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString error;
        EXPECT_TRUE(MeasureFile::Parse(file.readAll(), &error))
            << entry.path() << ": " << error.toStdString();
        ++seeds;
    }
    EXPECT_GE(seeds, 3);
    const std::filesystem::path regressions = fuzz / "measure-regressions";
    if (!std::filesystem::is_directory(regressions)) return;
    for (const auto& entry : std::filesystem::directory_iterator(regressions)) {
        QFile file(QString::fromStdString(entry.path().string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString error;
        if (const auto data = MeasureFile::Parse(file.readAll(), &error)) {
            const auto again = MeasureFile::Parse(MeasureFile::Serialize(*data), &error);
            ASSERT_TRUE(again) << entry.path();
            EXPECT_EQ(again->objects, data->objects) << entry.path();
        }
    }
}

TEST(MeasureFile, OversizedAndMissingFilesAreRefused) {
    testsupport::TempDir dir;
    QString error;
    EXPECT_FALSE(MeasureFile::Load(QString::fromStdString(dir.file("none.json")), &error));
    EXPECT_TRUE(error.startsWith("cannot open")) << error.toStdString();
    const std::string big = dir.file("big.json");
    { std::ofstream create(big); }
    std::filesystem::resize_file(big, MeasureFile::kMaxFileBytes + 1); // sparse: no disk space used
    EXPECT_FALSE(MeasureFile::Load(QString::fromStdString(big), &error));
    EXPECT_EQ(error, QStringLiteral("file too large"));
    EXPECT_FALSE(
        MeasureFile::Save(QString::fromStdString(dir.file("no/such/folder/x.json")), Sample(), &error));
}

// The labels on the picture read in the user's language, the file does not:
// written under German it holds points (Python's json reads the numbers) and
// comes back the same.
TEST(MeasureFile, GermanNumbersStayOutOfTheFile) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatValue(12.5), QStringLiteral("12,50"));
    EXPECT_EQ(FormatValue(0.25), QStringLiteral("0,250"));
    testsupport::TempDir dir;
    const QString path = QString::fromStdString(dir.file("a.bmp.measure.json"));
    const MeasureData data = Sample();
    QString error;
    const bool saved = MeasureFile::Save(path, data, &error);
    const std::optional<MeasureData> back = MeasureFile::Load(path, &error);
    QLocale::setDefault(before);
    ASSERT_TRUE(saved && back) << error.toStdString();
    ExpectSame(data, *back);
    std::string numbers;
    ASSERT_EQ(testsupport::Run("/usr/bin/python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); "
                               "print(d[\"calibration\"][\"pixelsPerUnit\"], d[\"objects\"][0][\"points\"], "
                               "d[\"objects\"][1][\"points\"][3])' " +
                                   testsupport::Quote(path.toStdString()),
                               &numbers),
              0);
    EXPECT_EQ(numbers, "2.5 [[10.5, 20.25], [110, 20]] [0, 40.75]\n");
}
