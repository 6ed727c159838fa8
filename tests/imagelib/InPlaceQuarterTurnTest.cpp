// The in-place quarter turn against the per-pixel definition of a turn, over
// sizes whose greatest common divisor is 1, small or the whole side, single
// rows and columns, column blocks cut short, one and two threads.
#include "InPlaceQuarterTurn.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

using vimg::InPlaceQuarterTurn;
using vimg::RowRunner;

namespace {

// new(x, y) = old(cols - 1 - y, x) turning clockwise, old(y, rows - 1 - x) otherwise.
std::vector<uint8_t> TurnedByPixel(const std::vector<uint8_t>& old, int rows, int cols, size_t bytes,
                                   bool clockwise) {
    std::vector<uint8_t> turned(old.size());
    for (int y = 0; y < cols; ++y)
        for (int x = 0; x < rows; ++x) {
            const int fromRow = clockwise ? x : rows - 1 - x, fromCol = clockwise ? cols - 1 - y : y;
            std::memcpy(&turned[(static_cast<size_t>(y) * rows + x) * bytes],
                        &old[(static_cast<size_t>(fromRow) * cols + fromCol) * bytes], bytes);
        }
    return turned;
}

} // namespace

TEST(InPlaceQuarterTurn, MatchesThePerPixelTurn) {
    struct Size {
        int rows, cols;
    };
    // 3000 x 20 at 4 bytes: column blocks of 43 columns, the last one short.
    const Size sizes[] = {{1, 1}, {1, 9}, {9, 1}, {2, 3}, {5, 5},   {6, 4},     {12, 18},
                          {35, 21}, {61, 97}, {64, 48}, {300, 200}, {129, 257}, {3000, 20}};
    std::mt19937 rng(7);
    for (const unsigned threads : {1u, 2u}) {
        RowRunner::SetThreadCount(threads);
        for (const Size s : sizes)
            for (const size_t bytes : {1u, 3u, 4u})
                for (const bool clockwise : {true, false}) {
                    std::vector<uint8_t> pixels(static_cast<size_t>(s.rows) * s.cols * bytes);
                    for (uint8_t& b : pixels) b = static_cast<uint8_t>(rng());
                    const std::vector<uint8_t> want = TurnedByPixel(pixels, s.rows, s.cols, bytes, clockwise);
                    InPlaceQuarterTurn turn(s.rows, s.cols, bytes, clockwise);
                    ASSERT_TRUE(turn.Reserve());
                    turn.Run(pixels.data(), vimg::RowProgress{});
                    EXPECT_EQ(pixels, want) << s.rows << " x " << s.cols << ", " << bytes << " bytes, "
                                            << (clockwise ? "clockwise" : "anticlockwise") << ", " << threads
                                            << " threads";
                }
    }
    RowRunner::SetThreadCount(0);
    EXPECT_FALSE(InPlaceQuarterTurn(4, 4, 2, true).Reserve());
    EXPECT_FALSE(InPlaceQuarterTurn(0, 4, 3, true).Reserve());
}
