#include "Common/ParameterFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class ParameterFileTest : public ::testing::Test {
protected:
    ParameterFile* open(const std::string& text)
    {
        reader.reset(new ParameterFile(dir.write("test.p", text)));
        return reader.get();
    }
    TempDir dir;
    std::unique_ptr<ParameterFile> reader;
};

TEST_F(ParameterFileTest, EmptyValueIsEmptyStringButNotANumber)
{
    ParameterFile* p = open("key=\nother=1\n");
    EXPECT_EQ(p->getString("key"), "");
    EXPECT_THROW(p->getInt("key"), BadValueException);
    EXPECT_THROW(p->getFloat("key"), BadValueException);
}

TEST_F(ParameterFileTest, BlankOnlyValueThrowsForNumbers)
{
    ParameterFile* p = open("key=   \n");
    EXPECT_EQ(p->getString("key"), "   ");
    EXPECT_THROW(p->getInt("key"), BadValueException);
}

TEST_F(ParameterFileTest, NothingIsTrimmed)
{
    ParameterFile* p = open("key=  42\nwaveScale =1\n");
    EXPECT_EQ(p->getString("key"), "  42");
    EXPECT_EQ(p->getInt("key"), 42);
    EXPECT_THROW(p->getString("waveScale"), BadValueException);
    EXPECT_EQ(p->getString("waveScale "), "1");
}

TEST_F(ParameterFileTest, NumberStopsAtFirstCharacterThatCannotContinueIt)
{
    ParameterFile* p = open("key=7 trailing words\nf=2.5xyz\n");
    EXPECT_EQ(p->getInt("key"), 7);
    EXPECT_FLOAT_EQ(p->getFloat("f"), 2.5f);
}

TEST_F(ParameterFileTest, ValueNotStartingWithANumberThrows)
{
    ParameterFile* p = open("key=abc\n");
    EXPECT_EQ(p->getString("key"), "abc");
    EXPECT_THROW(p->getInt("key"), BadValueException);
    EXPECT_THROW(p->getFloat("key"), BadValueException);
    int i4[4] = {9, 9, 9, 9};
    EXPECT_THROW(p->get4i("key", i4), BadValueException);
}

TEST_F(ParameterFileTest, Get4fLeavesUnreadElementsAlone)
{
    ParameterFile* p = open("key=1 2\n");
    float out[4] = {-1, -1, -3, -4};
    p->get4f("key", out);
    EXPECT_FLOAT_EQ(out[0], 1);
    EXPECT_FLOAT_EQ(out[1], 2);
    EXPECT_FLOAT_EQ(out[2], -3);
    EXPECT_FLOAT_EQ(out[3], -4);
    int full[4] = {};
    ParameterFile* q = open("k=1 2 3 4 5\n");
    q->get4i("k", full);
    EXPECT_EQ(full[3], 4);
}

TEST_F(ParameterFileTest, FirstDefinitionWins)
{
    ParameterFile* p = open("a=first\na=second\n");
    EXPECT_EQ(p->getString("a"), "first");
}

TEST_F(ParameterFileTest, OnlyColumnOneHashIsAComment)
{
    ParameterFile* p = open("#key=5\n #key=6\n");
    EXPECT_THROW(p->getString("#key"), BadValueException);
    EXPECT_THROW(p->getString("key"), BadValueException);
    EXPECT_EQ(p->getString(" #key"), "6");
}

TEST_F(ParameterFileTest, LeadingEqualsIgnoredLaterEqualsBelongToValue)
{
    ParameterFile* p = open("=5\na=b=c\nnoequals\n");
    EXPECT_THROW(p->getString(""), BadValueException);
    EXPECT_EQ(p->getString("a"), "b=c");
    EXPECT_THROW(p->getString("noequals"), BadValueException);
}

TEST_F(ParameterFileTest, KeysAreCaseSensitive)
{
    ParameterFile* p = open("Key=1\n");
    EXPECT_THROW(p->getString("key"), BadValueException);
    EXPECT_EQ(p->getInt("Key"), 1);
}

TEST_F(ParameterFileTest, CarriageReturnStaysInStringValues)
{
    ParameterFile* p = open("s=text\r\nn=12\r\nf=1.5\r\n");
    EXPECT_EQ(p->getString("s"), "text\r");
    EXPECT_EQ(p->getInt("n"), 12);
    EXPECT_FLOAT_EQ(p->getFloat("f"), 1.5f);
}

TEST_F(ParameterFileTest, LastLineWithoutNewlineIsFound)
{
    ParameterFile* p = open("a=1\nlast=99");
    EXPECT_EQ(p->getInt("last"), 99);
}

TEST_F(ParameterFileTest, ReaderStaysUsableAfterAMissingKey)
{
    ParameterFile* p = open("present=3\n");
    EXPECT_THROW(p->getInt("absent"), BadValueException);
    EXPECT_EQ(last_bad_value().key, "absent");
    EXPECT_EQ(p->getInt("present"), 3);
}

TEST_F(ParameterFileTest, MissingKeyIsReportedWithItsFile)
{
    ParameterFile* p = open("x=1\n");
    EXPECT_THROW(p->getFloat("screen_width"), BadValueException);
    EXPECT_EQ(last_bad_value().key, "screen_width");
    EXPECT_EQ(last_bad_value().file, dir.file("test.p"));
}

TEST_F(ParameterFileTest, TextIsFixedAtConstruction)
{
    ParameterFile* p = open("a=1\n");
    dir.write("test.p", "a=2\n");
    EXPECT_EQ(p->getInt("a"), 1);
}

TEST(TextFileTest, KeepsBytesExactlyAndAddsNul)
{
    TempDir dir;
    std::string bytes("a\r\nb\0c", 6);
    TextFile f(dir.write("raw.bin", bytes).c_str());
    ASSERT_EQ(f.length, 6u);
    EXPECT_EQ(std::string(f.text, f.length), bytes);
    EXPECT_EQ(f.text[6], '\0');
}

TEST(TextFileTest, BackslashPathsOpenOnThisPlatform)
{
    TempDir dir;
    dir.write("sub/file.p", "k=5\n");
    std::string path = dir.path.string() + "\\sub\\file.p";
    ParameterFile p(path);
    EXPECT_EQ(p.getInt("k"), 5);
}

TEST(TextFileDeathTest, MissingFileEndsProgramWithStatusOne)
{
    EXPECT_EXIT({ TextFile f("/nonexistent/dir/gfx.p"); }, ::testing::ExitedWithCode(1),
                "Unable to open file: /nonexistent/dir/gfx.p");
}

TEST(TextFileDeathTest, WhatCannotBeReadWholeIsRefusedLikeAMissingFile)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path / "gfx.p");
    EXPECT_EXIT({ TextFile f(dir.file("gfx.p").c_str()); }, ::testing::ExitedWithCode(1),
                "Unable to open file: " + dir.file("gfx.p"));
    EXPECT_EXIT({ ParameterFile p("/dev/zero"); }, ::testing::ExitedWithCode(1), "Unable to open file: /dev/zero");
}

} // namespace
