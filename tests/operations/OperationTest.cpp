// The operation layer as the worker thread and the dialogs use it: typed
// arguments checked without running, errors that name the operation and the
// argument, and runs that give what the library call gives.
#include "OperationRegistry.h"
#include "ReduceBitDepth.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>

using vimg::Image;
using vops::BuiltinOperations;
using vops::Outcome;
using vops::Value;

namespace {

const vops::Operation& Op(const char* name) {
    const vops::Operation* op = BuiltinOperations().Find(name);
    if (!op) throw std::runtime_error(std::string("no operation ") + name);
    return *op;
}

// A 24-bit picture with a different colour in every pixel.
Image Gradient(uint32_t w = 40, uint32_t h = 30) {
    Image img(w, h, 24, 0);
    for (int32_t y = 0; y < static_cast<int32_t>(h); ++y)
        for (int32_t x = 0; x < static_cast<int32_t>(w); ++x)
            img.SetPixelColor(x, y,
                              vimg::RGBQUAD{static_cast<uint8_t>(x * 6), static_cast<uint8_t>(y * 8),
                                            static_cast<uint8_t>((x * y) % 256), 0});
    return img;
}

bool SamePixels(const Image& a, const Image& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() || a.GetBpp() != b.GetBpp())
        return false;
    return std::memcmp(a.GetBits(), b.GetBits(), a.GetEffWidth() * a.GetHeight()) == 0;
}

std::string ParseError(const char* name, std::vector<std::string> texts) {
    return Op(name).Parse(texts).error;
}

} // namespace

TEST(OperationCheck, ErrorsNameTheOperationAndTheArgument) {
    EXPECT_EQ(ParseError("Gamma", {"0"}), "Gamma: argument 1 (gamma) must lie in 0.001..1000, got 0");
    EXPECT_EQ(ParseError("SwapIndex", {"1", "x"}),
              "SwapIndex: argument 2 (b) must be a whole number, not 'x'");
    EXPECT_EQ(ParseError("Rotate2", {"abc"}), "Rotate2: argument 1 (degrees) must be a number, not 'abc'");
    EXPECT_EQ(ParseError("Resample", {"", "5"}), "Resample: argument 1 (width) is missing");
    EXPECT_EQ(ParseError("Resample", {"5"}), "Resample: takes width,height[,mode], got 1 argument");
    EXPECT_EQ(ParseError("Mirror", {"1"}), "Mirror: takes no arguments, got 1 argument");
    EXPECT_EQ(ParseError("Expand", {"1", "2", "3", "#ff0000"}),
              "Expand: takes width,height,colour or left,top,right,bottom,colour, got 4 arguments");
    EXPECT_EQ(ParseError("SetTransColor", {"#12g456"}),
              "SetTransColor: argument 1 (colour) must be a colour #rrggbb[aa], not '#12g456'");
    EXPECT_EQ(ParseError("DecreaseBpp", {"1", "2"}),
              "DecreaseBpp: argument 2 (errordiffusion) must be 0 or 1, got 2");
    EXPECT_EQ(ParseError("DecreaseBpp", {"3"}), "DecreaseBpp: bits must be 1, 4 or 8");
    EXPECT_EQ(ParseError("Filter", {"3", "9", "0", "1"}), "Filter: a kernel of size 3 needs 9 weights");
    EXPECT_EQ(ParseError("FFT2", {"", "0"}), "FFT2: direction must be 1 (forward) or -1 (inverse)");
    EXPECT_EQ(ParseError("Mix", {"/no/such/file.bmp", "1"}),
              "Mix: argument 1 (file): cannot read '/no/such/file.bmp'");
    EXPECT_EQ(ParseError("Lut", {"/tmp"}), "Lut: argument 1 (tablefile): '/tmp' is a folder, not a file");
    // Text that is fine: colours with alpha, signed numbers, left-out optional positions.
    EXPECT_EQ(ParseError("Rotate2", {"-12.5", "", "", "#0a0B0c80"}), "");
    EXPECT_EQ(ParseError("Filter", {"1", "1", "0", "-3"}), "");
}

TEST(OperationCheck, TypedValuesFromADialogAreCheckedAndFilledIn) {
    // Whole numbers are accepted where a number is wanted; other types are not.
    EXPECT_TRUE(Op("Gamma").Check({Value{2LL}}));
    EXPECT_EQ(Op("Resample").Check({Value{std::string("10")}, Value{5LL}}).error,
              "Resample: argument 1 (width) must be a whole number, not '10'");
    EXPECT_EQ(Op("Resample").Check({Value{1.5}, Value{5LL}}).error,
              "Resample: argument 1 (width) must be a whole number");
    EXPECT_EQ(Op("Resample2").Check({Value{8LL}, Value{8LL}, Value{99LL}}).error,
              "Resample2: argument 3 (method) must lie in 1..16, got 99");

    const auto erode = Op("Erode").Check({});
    ASSERT_TRUE(erode) << erode.error;
    EXPECT_EQ(erode.arguments.Integer(0), 2);
    const auto rotate = Op("Rotate2").Check({Value{30.0}});
    ASSERT_TRUE(rotate) << rotate.error;
    EXPECT_FALSE(rotate.arguments.Given(3));
    EXPECT_TRUE(rotate.arguments.Flag(4));
    EXPECT_FALSE(rotate.arguments.Flag(5));
    EXPECT_EQ(rotate.arguments.Integer(1), Image::IM_BILINEAR);

    Image img = Gradient();
    const auto dpi = Op("SetDPI").Check({Value{300LL}});
    ASSERT_TRUE(dpi);
    ASSERT_TRUE(Op("SetDPI").Run(img, dpi.arguments).Ok());
    EXPECT_EQ(img.GetYDPI(), 300);

    // Arguments checked for one operation are refused by another.
    const Outcome wrong = Op("Median").Run(img, erode.arguments);
    EXPECT_EQ(wrong.status, Outcome::Status::Refused);
    EXPECT_EQ(wrong.error, "Median: the arguments were not checked for this operation");
}

TEST(OperationRun, GivesWhatTheLibraryCallGives) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::function<bool(Image&)> direct;
    };
    const std::vector<Case> cases = {
        {"UnsharpMask", {"2", "0.8", "3"}, [](Image& i) { return i.UnsharpMask(2.0f, 0.8f, 3); }},
        {"Light", {"20", "-30"}, [](Image& i) { return i.Light(20, -30); }},
        {"Colorize", {"12", "50", "0.5"}, [](Image& i) { return i.Colorize(12, 50, 0.5f); }},
        {"ShiftRGB", {"5", "-6", "7"}, [](Image& i) { return i.ShiftRGB(5, -6, 7); }},
        {"Repair", {"0.5", "2", "1"}, [](Image& i) { return i.Repair(0.5f, 2, 1); }},
        {"Skew", {"0.1", "-0.05", "3", "4", "1"}, [](Image& i) { return i.Skew(0.1f, -0.05f, 3, 4, true); }},
        {"Resample2",
         {"23", "17", "5", "2", "1"},
         [](Image& i) {
             return i.Resample2(23, 17, Image::InterpolationMethod(5), Image::OverflowMethod(2), nullptr,
                                true);
         }},
        {"Rotate2",
         {"33", "2", "5", "#102030", "0", "1"},
         [](Image& i) {
             const vimg::RGBQUAD c{0x30, 0x20, 0x10, 0};
             return i.Rotate2(33, nullptr, Image::InterpolationMethod(2), Image::OverflowMethod(5), &c, false,
                              true);
         }},
        {"Expand",
         {"1", "2", "3", "4", "#ff0000"},
         [](Image& i) {
             return i.Expand(1, 2, 3, 4, vimg::RGBQUAD{0, 0, 0xFF, 0});
         }},
        {"CropRotatedRectangle",
         {"3", "4", "20", "10", "0.3"},
         [](Image& i) { return i.CropRotatedRectangle(3, 4, 20, 10, 0.3f); }},
        {"DecreaseBpp",
         {"4", "1", "0", "16"},
         [](Image& i) { return vimg::ReduceBitDepth(i, 4, true, false, 16); }},
    };
    for (const Case& c : cases) {
        const auto checked = Op(c.name).Parse(c.args);
        ASSERT_TRUE(checked) << checked.error;
        Image viaLayer = Gradient(), direct = Gradient();
        const Outcome outcome = Op(c.name).Run(viaLayer, checked.arguments);
        ASSERT_TRUE(outcome.Ok()) << outcome.error;
        ASSERT_TRUE(c.direct(direct)) << c.name;
        EXPECT_TRUE(SamePixels(viaLayer, direct)) << c.name;
    }
}

TEST(OperationRun, OutcomesCarryImagesReportsFailuresAndRefusals) {
    Image img = Gradient();
    const Image before = img;
    const Outcome split = Op("SplitCMYK").Run(img, Op("SplitCMYK").Check({}).arguments);
    ASSERT_TRUE(split.Ok()) << split.error;
    ASSERT_EQ(split.images.size(), 4u);
    EXPECT_EQ(Op("SplitCMYK").imagesMade, 4);
    EXPECT_EQ(split.images[0]->GetWidth(), 40u);
    EXPECT_TRUE(SamePixels(img, before));
    const Outcome fft = Op("FFT2").Run(img, Op("FFT2").Check({}).arguments);
    ASSERT_TRUE(fft.Ok()) << fft.error;
    EXPECT_EQ(fft.images.size(), 2u);

    const Outcome mean = Op("Mean").Run(img, Op("Mean").Check({}).arguments);
    ASSERT_TRUE(mean.Ok());
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.3f\n", static_cast<double>(img.Mean()));
    EXPECT_EQ(mean.report, expected);

    const Outcome enlarge = Op("QIShrink").Run(img, Op("QIShrink").Parse({"100", "10"}).arguments);
    EXPECT_EQ(enlarge.status, Outcome::Status::Failed);
    EXPECT_EQ(enlarge.error, "QIShrink: QIShrink can't enlarge image");
    const Outcome noPalette = Op("SetGrayPalette").Run(img, Op("SetGrayPalette").Check({}).arguments);
    EXPECT_EQ(noPalette.status, Outcome::Status::Refused);
    EXPECT_EQ(noPalette.error, "SetGrayPalette: the image has no palette");

    // A file that was there when checked and is gone (or damaged) when the step runs.
    testsupport::TempDir dir;
    const std::string other = dir.file("other.bmp");
    testsupport::WriteFile(other, std::vector<uint8_t>(64, 0x42));
    const auto mix = Op("Mix").Parse({other, "7"});
    ASSERT_TRUE(mix) << mix.error;
    const Outcome damaged = Op("Mix").Run(img, mix.arguments);
    EXPECT_EQ(damaged.status, Outcome::Status::Refused);
    EXPECT_EQ(damaged.error.rfind("Mix: cannot read '" + other + "': ", 0), 0u) << damaged.error;
    std::filesystem::remove(other);
    EXPECT_EQ(Op("Mix").Run(img, mix.arguments).status, Outcome::Status::Refused);
    EXPECT_TRUE(SamePixels(img, before));
}

TEST(OperationRun, EscapeSetByAnotherThreadStopsTheStep) {
    Image img = Gradient(400, 300);
    const Image before = img;
    img.SetEscape(1);
    const Outcome stopped = Op("GrayScale").Run(img, Op("GrayScale").Check({}).arguments);
    EXPECT_EQ(stopped.status, Outcome::Status::Failed);
    EXPECT_TRUE(SamePixels(img, before));
}

TEST(OperationRegistry, EveryOperationChecksAndRunsWithItsOwnArguments) {
    // Each parameter's fallback, else a value inside its range: every table
    // entry must accept it and its call must read the types it declared.
    testsupport::TempDir dir;
    const std::string file = dir.file("arg.bmp");
    ASSERT_TRUE(Gradient().Save(file.c_str(), vimg::FORMAT_BMP));
    const auto names = BuiltinOperations().Names();
    EXPECT_EQ(names.size(), 63u);
    for (const std::string& name : names) {
        const vops::Operation& op = *BuiltinOperations().Find(name);
        if (name == "Lut" || name == "Filter") continue; // need a table file / a whole kernel
        const vops::Signature form = op.forms.empty() ? vops::Signature{} : op.forms.back();
        std::vector<Value> values;
        for (const vops::Parameter& p : form.parameters) {
            if (p.MayBeOmitted()) {
                values.emplace_back();
            } else if (p.type == vops::ArgType::File) {
                values.emplace_back(file);
            } else if (p.type == vops::ArgType::Colour) {
                values.emplace_back(vimg::RGBQUAD{1, 2, 3, 0});
            } else if (p.type == vops::ArgType::Number) {
                values.emplace_back(p.min > 0 ? p.min : std::min(p.max, 1.0));
            } else {
                values.emplace_back(static_cast<long long>(p.min > 0 ? p.min : std::min(p.max, 1.0)));
            }
        }
        const auto checked = op.Check(values);
        ASSERT_TRUE(checked) << checked.error;
        Image img = Gradient();
        const Outcome outcome = op.Run(img, checked.arguments);
        EXPECT_EQ(outcome.error.find("variant"), std::string::npos) << outcome.error;
        if (outcome.Ok()) {
            EXPECT_EQ(outcome.images.size(), static_cast<size_t>(op.imagesMade)) << name;
        }
    }
    vops::OperationRegistry twice;
    vops::RegisterGeometryOperations(twice);
    EXPECT_THROW(vops::RegisterGeometryOperations(twice), std::logic_error);
}
