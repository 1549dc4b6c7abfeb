#include "storage/cipher.h"
#include "storage/fields.h"
#include "storage/modules.h"
#include "util/fileutils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(Fields, ReadersFollowTheFirstOccurrence) {
    const std::string line = JoinFields({MakeField("N", "Introduction"), MakeField("T", "Intro <B>page</B>")}) + "+";
    EXPECT_EQ(line, "<<N:Introduction>>|<<T:Intro <B>page</B>>>+");
    EXPECT_EQ(FieldText(line, "<<N:", ">>"), "Introduction");
    EXPECT_EQ(FieldText(line, "|<<T:", ">>+"), "Intro <B>page</B>");
    // The first ">>" closes the N field, before "<<T:" starts.
    EXPECT_EQ(FieldText(line, "<<T:", ">>"), "");
    EXPECT_EQ(FieldText(line, "<<X:", ">>"), "");
    // A value holding the end marker is cut at its first occurrence.
    EXPECT_EQ(FieldText("<<D:a>>|<<b>>|<<E:c>>", "<<D:", ">>|<<"), "a");
    EXPECT_EQ(FieldText("<<D:a>>+b>>+", "<<D:", ">>+"), "a");
    EXPECT_EQ(LastFieldText("<<N:x>>|<<FONT:Verdana>>", "<<FONT:"), "Verdana");
    EXPECT_EQ(LastFieldText("<<N:x>>", "<<FONT:"), "");
    EXPECT_EQ(FieldText("<<N:>>|<<T:x>>", "<<N:", ">>|<<"), ""); // empty value
}

TEST(Fields, NumbersAndFlags) {
    EXPECT_EQ(FieldNumber("42", 7), 42);
    EXPECT_EQ(FieldNumber("-3", 7), -3);
    EXPECT_EQ(FieldNumber("", 7), 7);
    EXPECT_EQ(FieldNumber("4x", 7), 7);
    EXPECT_EQ(FieldNumber("99999999999", 7), 7);
    EXPECT_TRUE(FieldFlag("TRUE"));
    EXPECT_TRUE(FieldFlag(" true "));
    EXPECT_TRUE(FieldFlag("True"));
    EXPECT_FALSE(FieldFlag("yes"));
    EXPECT_FALSE(FieldFlag("TRUE1"));
    EXPECT_FALSE(FieldFlag(""));
}

TEST(Fields, TextFilesReadAndDecipherLineByLine) {
    // Lone LF, lone CR and CR LF endings give the same lines; the last line
    // without an ending counts.
    char tmpl[] = "/tmp/hvfieldsXXXXXX";
    std::string dir = mkdtemp(tmpl);
    TStringList plain{"<<N:a>>|<<T:b>>+", "", "third"};
    TStringList stored = plain;
    EncipherLines(stored);
    for (const char* ending : {"\r\n", "\n", "\r"}) {
        std::string bytes = stored[0] + ending + stored[1] + ending + stored[2];
        std::ofstream(dir + "/f.dbx", std::ios::binary) << bytes;
        TStringList lines;
        ASSERT_TRUE(ReadFileLines(dir + "/f.dbx", lines));
        ASSERT_EQ(lines.size(), 3u) << ending;
        DecipherLines(lines);
        EXPECT_EQ(lines, plain);
    }
    // Every line is deciphered under its own index.
    EXPECT_NE(DecipherText(stored[0], 1), plain[0]);
    TStringList none;
    EXPECT_FALSE(ReadFileLines(dir + "/missing.dbx", none));
    std::filesystem::remove_all(dir);
}
