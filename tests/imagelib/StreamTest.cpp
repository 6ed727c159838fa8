#include "IOFile.h"
#include "MemFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace vimg;

TEST(MemFileTest, GrowsInStepsOf4096) {
    MemFile f;
    ASSERT_TRUE(f.Open());
    EXPECT_FALSE(f.Open()); // already has a buffer
    for (int i = 0; i < 5000; ++i) ASSERT_TRUE(f.PutC(static_cast<uint8_t>(i)));
    EXPECT_EQ(f.Capacity(), 8192u);
    EXPECT_EQ(f.Size(), 5000);
    EXPECT_EQ(f.Tell(), 5000);
    const uint8_t block[4096] = {};
    ASSERT_EQ(f.Write(block, 1, 3192), 3192u); // ends exactly at 8192
    EXPECT_EQ(f.Capacity(), 8192u);
    ASSERT_EQ(f.Write(block, 1, 1), 1u);
    EXPECT_EQ(f.Capacity(), 12288u);
}

TEST(MemFileTest, ReadSeekAndEndRules) {
    uint8_t data[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    MemFile f(data, 10);
    uint16_t pairs[4];
    EXPECT_EQ(f.Read(pairs, 2, 4), 4u);
    EXPECT_EQ(f.Read(pairs, 4, 1), 0u); // only 2 bytes left: no whole item
    EXPECT_TRUE(f.Eof());
    EXPECT_TRUE(f.Seek(-10, 0));
    EXPECT_EQ(f.Tell(), 0);
    EXPECT_FALSE(f.Seek(0, 3));
    EXPECT_TRUE(f.Seek(-3, 2));
    EXPECT_EQ(f.GetC(), 7);
    EXPECT_TRUE(f.Seek(100, 0)); // beyond the end is allowed
    EXPECT_EQ(f.GetC(), -1);
    EXPECT_EQ(f.Error(), 1);
    EXPECT_EQ(f.Read(pairs, 1, 1), 0u);
    EXPECT_EQ(f.Read(nullptr, 1, 1), 0u);

    MemFile none;
    EXPECT_EQ(none.Tell(), -1);
    EXPECT_EQ(none.Size(), -1);
    EXPECT_EQ(none.Error(), -1);
    EXPECT_TRUE(none.Eof());
    EXPECT_FALSE(none.Flush());
}

TEST(MemFileTest, WritingIntoCallerMemoryNeverReallocatesIt) {
    uint8_t data[4] = {1, 2, 3, 4};
    {
        MemFile f(data, 4);
        ASSERT_TRUE(f.Seek(0, 2));
        ASSERT_EQ(f.Write("xyz", 1, 3), 3u); // grows into a buffer of the stream's own
        EXPECT_EQ(f.Size(), 7);
        uint8_t* buf = f.GetBuffer(false);
        EXPECT_NE(buf, data);
        EXPECT_EQ(std::memcmp(buf, "\x01\x02\x03\x04xyz", 7), 0);
    }
    EXPECT_EQ(data[0], 1); // the caller's memory is untouched
}

TEST(MemFileTest, GapAfterSeekPastEndReadsAsZero) {
    MemFile f;
    ASSERT_TRUE(f.Open());
    ASSERT_TRUE(f.Seek(100, 0));
    ASSERT_TRUE(f.PutC(7));
    EXPECT_EQ(f.Size(), 101);
    f.Seek(0, 0);
    uint8_t buf[101];
    ASSERT_EQ(f.Read(buf, 1, 101), 101u);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(buf[i], 0);
    EXPECT_EQ(buf[100], 7);
}

TEST(MemFileTest, FailedGrowthKeepsOldBufferAndFailsWrites) {
    MemFile f;
    ASSERT_TRUE(f.Open());
    MemFile::SetMaxCapacity(8192);
    const std::vector<uint8_t> block(6000, 0xAB);
    EXPECT_EQ(f.Write(block.data(), 1, block.size()), block.size());
    uint8_t* before = f.GetBuffer(false);
    EXPECT_EQ(f.Write(block.data(), 1, block.size()), 0u);
    f.Seek(0, 2);
    for (int i = 6000; i < 8192; ++i) ASSERT_TRUE(f.PutC(1));
    EXPECT_FALSE(f.PutC(1));
    MemFile::SetMaxCapacity(0x7FFFFFFF);
    EXPECT_EQ(f.GetBuffer(false), before);
    EXPECT_EQ(f.Size(), 8192);
    EXPECT_EQ(f.GetBuffer(false)[5999], 0xAB);
}

TEST(MemFileTest, DetachedBufferOutlivesTheStream) {
    uint8_t* kept = nullptr;
    {
        MemFile f;
        ASSERT_TRUE(f.Open());
        f.Write("abc", 1, 3);
        kept = f.GetBuffer(true);
    }
    EXPECT_EQ(std::memcmp(kept, "abc", 3), 0);
    std::free(kept);
}

TEST(IOFileTest, OwnershipAndForwarding) {
    testsupport::TempDir dir;
    const std::string path = dir.file("a.bin");
    {
        IOFile f;
        EXPECT_EQ(f.Tell(), -1);
        EXPECT_TRUE(f.Eof());
        ASSERT_TRUE(f.Open(path.c_str(), "wb"));
        EXPECT_FALSE(f.Open(path.c_str(), "wb"));
        EXPECT_TRUE(f.PutC(0xFF));
        EXPECT_EQ(f.Write("hello", 1, 5), 5u);
        EXPECT_EQ(f.Size(), 6);
        EXPECT_EQ(f.Tell(), 6);
    } // owned: closed and flushed here
    FILE* fp = std::fopen(path.c_str(), "rb");
    ASSERT_NE(fp, nullptr);
    {
        IOFile borrowed(fp);
        EXPECT_EQ(borrowed.GetC(), 0xFF);
        EXPECT_TRUE(borrowed.Close()); // borrowed: reports success, closes nothing
    }
    EXPECT_EQ(std::fgetc(fp), 'h'); // still open after the wrapper is gone
    std::fclose(fp);
    IOFile missing;
    EXPECT_FALSE(missing.Open(dir.file("nope/x").c_str(), "rb"));
}
