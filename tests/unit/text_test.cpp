#include "core/text.h"

#include <gtest/gtest.h>

#include <limits>

namespace pbz {
namespace {

TEST(TextToInteger, FollowsTheRule) {
  struct Case {
    const char* text;
    std::int64_t want;
  } cases[] = {
      {"", 0},
      {"abc", 0},
      {"12", 12},
      {"  \t 12x", 12},
      {"-7", -7},
      {"+7", 7},
      {"$ff", 255},
      {"$FFg", 255},
      {"%101", 5},
      {"%102", 2},
      {"-$10", -16},
      {"1 2", 1},
      {"$", 0},
      {"-", 0},
      {" - 5", 0},
      {"007", 7},
      {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
      {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
      {"99999999999999999999999", std::numeric_limits<std::int64_t>::max()},
      {"-99999999999999999999999", std::numeric_limits<std::int64_t>::min()},
  };
  for (const Case& c : cases) EXPECT_EQ(TextToInteger(c.text), c.want) << '"' << c.text << '"';
}

TEST(PathParts, SplitAtTheLastSlash) {
  EXPECT_EQ(FileNamePart("/src/inc/util.pbi"), "util.pbi");
  EXPECT_EQ(FileNamePart("main.pb"), "main.pb");
  EXPECT_EQ(FileNamePart("/src/"), "");
  EXPECT_EQ(FolderPart("/src/inc/util.pbi"), "/src/inc/");
  EXPECT_EQ(FolderPart("main.pb"), "");
}

TEST(PadLineNumber, PadsToSixAndNeverCuts) {
  EXPECT_EQ(PadLineNumber(12), "    12");
  EXPECT_EQ(PadLineNumber(123456), "123456");
  EXPECT_EQ(PadLineNumber(1234567), "1234567");
}

TEST(ToDisplay, KeepsUtf8AndConvertsLatin9) {
  EXPECT_EQ(ToDisplay("plain"), "plain");
  EXPECT_EQ(ToDisplay("Gr\xC3\xBC\xC3\x9F"), "Gr\xC3\xBC\xC3\x9F");  // valid UTF-8 stays
  EXPECT_EQ(ToDisplay("Gr\xFC\xDF"), "Gr\xC3\xBC\xC3\x9F");          // Latin-9 converted
  EXPECT_EQ(ToDisplay("\xA4"), "\xE2\x82\xAC");                      // euro sign of Latin-9
  EXPECT_EQ(ToDisplay("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");  // surrogate: not UTF-8
  EXPECT_EQ(ToDisplay("\xC3"), "\xC3\x83");                          // truncated sequence
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));                             // overlong
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
}

TEST(ToDisplayByLine, ConvertsEachLineOnItsOwn) {
  // One UTF-8 line and one Latin-9 line: converting the whole text at once
  // would garble the UTF-8 one.
  EXPECT_EQ(ToDisplayByLine("Gr\xC3\xBC\xC3\x9F\r\nGr\xFC\xDF\r\n"),
            "Gr\xC3\xBC\xC3\x9F\r\nGr\xC3\xBC\xC3\x9F\r\n");
  EXPECT_EQ(ToDisplayByLine(""), "");
  EXPECT_EQ(ToDisplayByLine("\xA4"), "\xE2\x82\xAC");
}

TEST(ReplaceAll, LeftToRightWithoutRescan) {
  EXPECT_EQ(ReplaceAll("a  (b  (c", " (", "("), "a (b (c");
  EXPECT_EQ(ReplaceAll("x", "", "y"), "x");
}

}  // namespace
}  // namespace pbz
