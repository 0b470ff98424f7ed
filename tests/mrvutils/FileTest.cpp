#include "mrvutils/File.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

class FileTest : public ::testing::Test
{
protected:
    std::string path(const std::string& name) { return ::testing::TempDir() + "mrvfile_" + name; }

    std::string writeBytes(const std::string& name, const std::vector<unsigned char>& bytes)
    {
        const std::string p = path(name);
        std::ofstream out(p, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return p;
    }

    std::vector<unsigned char> readBytes(const std::string& p)
    {
        std::ifstream in(p, std::ios::binary);
        return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
    }
};

} // namespace

TEST_F(FileTest, MissingAndEmptyFiles)
{
    File missing(path("does_not_exist"), File::READ);
    EXPECT_FALSE(missing.exists());
    EXPECT_EQ(missing.getAsString(), "");
    EXPECT_EQ(missing.readInt(), 0);
    EXPECT_TRUE(missing.hasOverrun());

    File empty(writeBytes("empty", {}), File::READ);
    EXPECT_TRUE(empty.exists());
    EXPECT_EQ(empty.getAsString(), "");
    EXPECT_EQ(empty.getSize(), 0);
}

TEST_F(FileTest, WholeContentKeepsEveryByte)
{
    const std::vector<unsigned char> bytes = { 'a', 0, 'b', 255, '\n' };
    File f(writeBytes("bytes", bytes), File::READ);
    ASSERT_TRUE(f.exists());
    EXPECT_EQ(f.getAsString(), std::string("a\0b\xff\n", 5));
    EXPECT_EQ(f.getUnsigned(), bytes);
}

TEST_F(FileTest, CursorReadsLittleEndianValues)
{
    // 0x04030201, -2, 1.5f, 'Z'
    File f(writeBytes("values", { 1, 2, 3, 4, 0xfe, 0xff, 0xff, 0xff, 0x00, 0x00, 0xc0, 0x3f, 'Z' }), File::READ);
    EXPECT_EQ(f.readInt(), 0x04030201);
    EXPECT_EQ(f.readInt(), -2);
    EXPECT_FLOAT_EQ(f.readFloat(), 1.5f);
    EXPECT_EQ(f.readChar(), 'Z');
    EXPECT_FALSE(f.hasOverrun());
    EXPECT_EQ(f.bytesLeft(), 0);
}

TEST_F(FileTest, StringsEndAtZeroBytes)
{
    File f(writeBytes("strings", { 'a', 'b', 'c', 0, 'd', 0, 0, 'e' }), File::READ);
    EXPECT_EQ(f.readString(), "abc");
    EXPECT_EQ(f.readChar(), 'd');
    const int before = f.getPosition();
    EXPECT_EQ(f.readString(), "Object") << "an empty string reads as the default object name";
    EXPECT_EQ(f.getPosition(), before + 1);
    EXPECT_EQ(f.readString(), "Object");
    EXPECT_FALSE(f.hasOverrun());
    EXPECT_EQ(f.readChar(), 'e');
}

TEST_F(FileTest, ReadsPastTheEndSetAStickyOverrunFlag)
{
    File f(writeBytes("short", { 1, 2, 3 }), File::READ);
    EXPECT_EQ(f.readInt(), 0) << "three bytes cannot make an int";
    EXPECT_TRUE(f.hasOverrun());
    EXPECT_EQ(f.readChar(), 0) << "the flag is sticky and the cursor stays at the end";
    EXPECT_EQ(f.readFloat(), 0.0f);

    File unterminated(writeBytes("unterminated", { 'a', 'b' }), File::READ);
    EXPECT_EQ(unterminated.readString(), "");
    EXPECT_TRUE(unterminated.hasOverrun());

    File exact(writeBytes("exact", { 1, 0, 0, 0 }), File::READ);
    EXPECT_EQ(exact.readInt(), 1);
    EXPECT_FALSE(exact.hasOverrun());
    EXPECT_EQ(exact.readChar(), 0);
    EXPECT_TRUE(exact.hasOverrun());
}

TEST_F(FileTest, WritingCollectsBytesAndStoresThemOnce)
{
    const std::string p = path("written");
    {
        File out(p, File::WRITE_TRUNCATE);
        ASSERT_TRUE(out.exists());
        out.put(1);
        out.put(static_cast<unsigned char>(255));
        EXPECT_EQ(readBytes(p).size(), 0u) << "nothing reaches the disk before write()";
        EXPECT_TRUE(out.write());
    }
    EXPECT_EQ(readBytes(p), (std::vector<unsigned char>{ 1, 0, 0, 0, 0xff }));

    {
        File append(p, File::APPEND);
        append.put(std::string("ok"));
        append.put(0.5f);
        append.put(0x80000000u);
        EXPECT_TRUE(append.write());
    }
    EXPECT_EQ(readBytes(p), (std::vector<unsigned char>{ 1, 0, 0, 0, 0xff, 'o', 'k', 0, 0, 0, 0x3f, 0, 0, 0, 0x80 }));

    File back(p, File::READ);
    back.readInt();
    back.readChar();
    back.readChar();
    back.readChar();
    EXPECT_FLOAT_EQ(back.readFloat(), 0.5f);
}

TEST_F(FileTest, WriteWithoutAStreamFails)
{
    File bad(path("no_such_dir/x/y.bin"), File::WRITE);
    EXPECT_FALSE(bad.exists());
    bad.put(7);
    EXPECT_FALSE(bad.write());
}
