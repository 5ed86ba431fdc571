#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scan/source_set.h"
#include "scratch_folder.h"

namespace pbz {
namespace {

class SourceSetTest : public testing::Test {
 protected:
  // Writes a fixture file (folders made as needed) and returns its path.
  std::string Write(const std::string& name, const std::string& content) {
    return scratch_.Write(name, content);
  }

  // Each entry as "path-relative-to-the-fixture by line @parent".
  std::vector<std::string> Describe(const SourceSet& set) {
    std::vector<std::string> out;
    for (const SourceFileEntry& e : set) {
      std::string path = e.Path;
      if (path.compare(0, dir_.size() + 1, dir_ + "/") == 0)
        path = "$/" + path.substr(dir_.size() + 1);
      std::string text = path;
      if (e.Parent != kNoParent) {
        text += " " + e.IncludedBy + ":" + std::to_string(e.IncludeLine) + " @" +
                std::to_string(e.Parent);
      }
      out.push_back(text);
    }
    return out;
  }

  SourceSet Collect(const std::string& main) { return CollectSourceSet(main, options_); }

  ScratchFolder scratch_;
  const std::string dir_ = scratch_.Root();
  SourceSetOptions options_{"/opt/pb/"};
};

using Entries = std::vector<std::string>;

TEST_F(SourceSetTest, BreadthFirstWithNestedIncludes) {
  const std::string main = Write("main.pb",
                                 "\xEF\xBB\xBFXIncludeFile \"a.pbi\"\n"
                                 "\t  IncludeFile \"b.pbi\" ; helpers\r\n");
  Write("a.pbi", "x = 1\nIncludeFile \"c.pbi\"");
  Write("b.pbi", "\rIncludeFile \"d.pbi\"\n");
  Write("c.pbi", "");
  Write("d.pbi", "; IncludeFile \"e.pbi\"\n");
  EXPECT_EQ(Describe(Collect(main)),
            (Entries{"$/main.pb", "$/a.pbi main.pb:1 @0", "$/b.pbi main.pb:2 @0",
                     "$/c.pbi a.pbi:2 @1", "$/d.pbi b.pbi:2 @2"}));
}

TEST_F(SourceSetTest, AFileIncludedTwiceIsScannedTwice) {
  const std::string main = Write("main.pb", "IncludeFile \"a.pbi\"\nIncludeFile \"a.pbi\"\n");
  Write("a.pbi", "XIncludeFile \"c.pbi\"\n");
  Write("c.pbi", "Procedure C()\nEndProcedure\n");
  EXPECT_EQ(Describe(Collect(main)),
            (Entries{"$/main.pb", "$/a.pbi main.pb:1 @0", "$/a.pbi main.pb:2 @0",
                     "$/c.pbi a.pbi:1 @1", "$/c.pbi a.pbi:1 @2"}));
}

TEST_F(SourceSetTest, RelativeNamesFollowTheIncludingFile) {
  const std::string main = Write("main.pb",
                                 "IncludeFile \"sub/x.pbi\"\n"
                                 "IncludeFile \"/abs/none.pbi\"\n");
  Write("sub/x.pbi",
        "IncludeFile \"y.pbi\"\n"
        "IncludeFile \"deep/z.pbi\"\n"
        "IncludeFile #PB_Compiler_FilePath + \"w.pbi\"\n"
        "IncludeFile #PB_Compiler_Home + \"Include/h.pbi\"\n");
  Write("sub/y.pbi", "");
  Write("sub/deep/z.pbi", "IncludeFile \"../y.pbi\"\n");
  EXPECT_EQ(
      Describe(Collect(main)),
      (Entries{"$/main.pb", "$/sub/x.pbi main.pb:1 @0", "/abs/none.pbi main.pb:2 @0",
               "$/sub/y.pbi x.pbi:1 @1", "$/sub/deep/z.pbi x.pbi:2 @1", "$/sub/w.pbi x.pbi:3 @1",
               "/opt/pb/Include/h.pbi x.pbi:4 @1", "$/sub/deep/../y.pbi z.pbi:1 @4"}));
}

TEST_F(SourceSetTest, AMainFileWithoutFolderGivesBareNames) {
  Write("main.pb", "IncludeFile \"a.pbi\"\nIncludePath \"inc\"\nIncludeFile \"b.pbi\"\n");
  const std::string cwd = std::filesystem::current_path();
  ASSERT_EQ(::chdir(dir_.c_str()), 0);
  const SourceSet set = Collect("main.pb");
  ASSERT_EQ(::chdir(cwd.c_str()), 0);
  EXPECT_EQ(Describe(set), (Entries{"main.pb", "a.pbi main.pb:1 @0", "inc/b.pbi main.pb:3 @0"}));
}

TEST_F(SourceSetTest, IncludePathFolders) {
  const std::string main = Write("main.pb",
                                 "IncludePath \"inc/\" : XIncludeFile \"a.pbi\"\n"
                                 "IncludePath \"\"\n"
                                 "IncludeFile \"b.pbi\"\n"
                                 "IncludePath \"My Includes/\"\n"
                                 "IncludeFile \"c.pbi\"\n"
                                 "IncludePath #PB_Compiler_Home + \"Include/\"\n"
                                 "IncludeFile \"d.pbi\"\n"
                                 "IncludePath \"/abs\"\n"
                                 "IncludeFile \"e.pbi\"\n"
                                 "IncludeFile \"/x/f.pbi\"\n"
                                 "IncludePath \"sub\"\n");
  // The folder stays set for the files scanned later, and a relative folder
  // there is taken from that file's own folder.
  Write("inc/a.pbi", "IncludeFile \"g.pbi\"\nIncludePath \"more/\"\n");
  Write("b.pbi", "IncludeFile \"h.pbi\"\n");
  EXPECT_EQ(Describe(Collect(main)),
            (Entries{"$/main.pb", "$/inc//a.pbi main.pb:1 @0", "$/b.pbi main.pb:3 @0",
                     "$/My Includes//c.pbi main.pb:5 @0", "/opt/pb/Include//d.pbi main.pb:7 @0",
                     "/abs/e.pbi main.pb:9 @0", "/x/f.pbi main.pb:10 @0", "$/sub/g.pbi a.pbi:1 @1",
                     "$/inc//more//h.pbi b.pbi:1 @2"}));
}

TEST_F(SourceSetTest, UnreadableFilesAreSkippedAndTheRestCollected) {
  const std::string main = Write("main.pb",
                                 "IncludeFile \"missing.pbi\"\n"
                                 "IncludeFile \"fifo.pbi\"\n"
                                 "IncludeFile \"folder.pbi\"\n"
                                 "IncludeFile \"/dev/zero\"\n"
                                 "IncludeFile \"b.pbi\"\n");
  ASSERT_EQ(::mkfifo((dir_ + "/fifo.pbi").c_str(), 0600), 0);
  ASSERT_EQ(::mkdir((dir_ + "/folder.pbi").c_str(), 0700), 0);
  Write("b.pbi", "IncludeFile \"c.pbi\"\n");
  EXPECT_EQ(Describe(Collect(main)),
            (Entries{"$/main.pb", "$/missing.pbi main.pb:1 @0", "$/fifo.pbi main.pb:2 @0",
                     "$/folder.pbi main.pb:3 @0", "/dev/zero main.pb:4 @0", "$/b.pbi main.pb:5 @0",
                     "$/c.pbi b.pbi:1 @5"}));
}

TEST_F(SourceSetTest, AnUnreadableMainFileIsTheOnlyEntry) {
  EXPECT_EQ(Describe(Collect(dir_ + "/none.pb")), (Entries{"$/none.pb"}));
  const SourceSet folder = Collect(dir_);
  ASSERT_EQ(folder.size(), 1u);
  EXPECT_EQ(folder[0].Path, dir_);
  EXPECT_EQ(Describe(Collect("")), (Entries{""}));
}

TEST_F(SourceSetTest, CyclesAreListedButNotFollowed) {
  // Direct: a file including itself.
  const std::string self = Write("self.pb", "IncludeFile \"self.pb\"\nIncludeFile \"x.pbi\"\n");
  Write("x.pbi", "");
  EXPECT_EQ(Describe(Collect(self)),
            (Entries{"$/self.pb", "$/self.pb self.pb:1 @0", "$/x.pbi self.pb:2 @0"}));

  // Indirect, through other spellings of the same path.
  const std::string main = Write("main.pb", "IncludeFile \"dir/a.pbi\"\n");
  Write("dir/a.pbi", "IncludeFile \"../dir/b.pbi\"\n");
  Write("dir/b.pbi", "IncludeFile \"./a.pbi\"\nIncludeFile \"../main.pb\"\n");
  EXPECT_EQ(Describe(Collect(main)),
            (Entries{"$/main.pb", "$/dir/a.pbi main.pb:1 @0", "$/dir/../dir/b.pbi a.pbi:1 @1",
                     "$/dir/../dir/./a.pbi b.pbi:1 @2", "$/dir/../dir/../main.pb b.pbi:2 @2"}));

  // Through a symbolic link; main.pb is no ancestor here, so it is followed.
  ASSERT_EQ(::symlink((dir_ + "/dir").c_str(), (dir_ + "/link").c_str()), 0);
  const std::string viaLink = Write("l.pb", "IncludeFile \"link/a.pbi\"\n");
  EXPECT_EQ(Describe(Collect(viaLink)),
            (Entries{"$/l.pb", "$/link/a.pbi l.pb:1 @0", "$/link/../dir/b.pbi a.pbi:1 @1",
                     "$/link/../dir/./a.pbi b.pbi:1 @2", "$/link/../dir/../main.pb b.pbi:2 @2",
                     "$/link/../dir/../dir/a.pbi main.pb:1 @4"}));
}

TEST_F(SourceSetTest, SiblingsIncludingTheSameFileAreNoCycle) {
  const std::string main = Write("main.pb", "IncludeFile \"a.pbi\"\nIncludeFile \"b.pbi\"\n");
  Write("a.pbi", "IncludeFile \"c.pbi\"\n");
  Write("b.pbi", "IncludeFile \"c.pbi\"\n");
  Write("c.pbi", "IncludeFile \"d.pbi\"\n");
  Write("d.pbi", "");
  EXPECT_EQ(
      Describe(Collect(main)),
      (Entries{"$/main.pb", "$/a.pbi main.pb:1 @0", "$/b.pbi main.pb:2 @0", "$/c.pbi a.pbi:1 @1",
               "$/c.pbi b.pbi:1 @2", "$/d.pbi c.pbi:1 @3", "$/d.pbi c.pbi:1 @4"}));
}

TEST_F(SourceSetTest, AMultiplyingSetIsCutAtTheBound) {
  // Thirty files, each including the next one twice: 2^31 - 1 entries as
  // described, cut at the bound.
  for (int i = 0; i < 30; ++i) {
    const std::string next = "f" + std::to_string(i + 1) + ".pbi";
    Write("f" + std::to_string(i) + ".pbi", "Procedure P" + std::to_string(i) +
                                                "()\nEndProcedure\nXIncludeFile \"" + next +
                                                "\"\nXIncludeFile \"" + next + "\"\n");
  }
  const SourceSet set = Collect(dir_ + "/f0.pbi");
  ASSERT_EQ(set.size(), kMaxSourceSetEntries);
  // Still breadth-first up to the cut: level k holds 2^k entries of file k.
  for (std::size_t i = 0; i < set.size(); i += 997) {
    std::size_t level = 0;
    while ((std::size_t{2} << level) - 1 <= i) ++level;
    ASSERT_EQ(set[i].Path, dir_ + "/f" + std::to_string(level) + ".pbi") << i;
    if (i > 0) {
      ASSERT_EQ(set[i].Parent, (i - 1) / 2) << i;
      ASSERT_EQ(set[i].IncludeLine, i % 2 == 1 ? 3 : 4) << i;
    }
  }
}

TEST(FindSourceByFileName, FirstEntryWithTheNameLettersWithoutCase) {
  const SourceSet set{{"/src/Main.pb", "", 0, kNoParent},
                      {"/src/inc/Util.pbi", "Main.pb", 3, 0},
                      {"/src/other/util.PBI", "Main.pb", 4, 0},
                      {"/src/inc/\xC4rger.pbi", "Main.pb", 5, 0},
                      {"noslash.pbi", "Main.pb", 6, 0}};
  struct Case {
    const char* name;
    std::optional<std::string> want;
  } cases[] = {
      {"main.pb", "/src/Main.pb"},
      {"UTIL.pbi", "/src/inc/Util.pbi"},
      {"util.pbi", "/src/inc/Util.pbi"},
      {"\xC4rger.pbi", "/src/inc/\xC4rger.pbi"},
      {"\xE4rger.pbi", std::nullopt},  // only A-Z fold
      {"inc/Util.pbi", std::nullopt},
      {"NoSlash.pbi", "noslash.pbi"},
      {"", std::nullopt},
      {"Util", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(FindSourceByFileName(set, c.name), c.want) << c.name;
}

TEST(IncludeChain, LinesFromTheMainFileDown) {
  const SourceSet set{{"main.pb", "", 0, kNoParent},
                      {"a.pbi", "main.pb", 3, 0},
                      {"b.pbi", "main.pb", 7, 0},
                      {"c.pbi", "a.pbi", 12, 1},
                      {"d.pbi", "c.pbi", 2, 3}};
  EXPECT_EQ(IncludeChain(set, 0), (std::vector<std::int64_t>{}));
  EXPECT_EQ(IncludeChain(set, 2), (std::vector<std::int64_t>{7}));
  EXPECT_EQ(IncludeChain(set, 4), (std::vector<std::int64_t>{3, 12, 2}));
  EXPECT_EQ(IncludeChain(set, 99), (std::vector<std::int64_t>{}));
}

}  // namespace
}  // namespace pbz

namespace pbz {
namespace {

// Unreadable includes are reported once per path, with who included them;
// the collection goes on past them.
TEST_F(SourceSetTest, ReportsEveryUnreadableFileOnce) {
  const std::string main = Write("main.pb",
                                 "IncludeFile \"gone.pbi\"\n"
                                 "IncludeFile \"folder\"\n"
                                 "IncludeFile \"gone.pbi\"\n"
                                 "IncludeFile \"ok.pbi\"\n");
  Write("folder/x", "");
  Write("ok.pbi", "");
  std::vector<SourceProblem> problems;
  options_.Problems = &problems;
  const SourceSet set = Collect(main);
  EXPECT_EQ(set.size(), 5u);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].Path, dir_ + "/gone.pbi");
  EXPECT_EQ(problems[0].IncludedBy, "main.pb");
  EXPECT_EQ(problems[0].IncludeLine, 1);
  EXPECT_EQ(problems[0].Reason, "No such file or directory");
  EXPECT_EQ(problems[1].Path, dir_ + "/folder");
  EXPECT_EQ(problems[1].Reason, "is a folder");
}

TEST_F(SourceSetTest, ReportsTheBound) {
  // Each file includes the next twice: 2^20 entries without the bound.
  for (int i = 0; i < 20; ++i) {
    Write("f" + std::to_string(i) + ".pbi", "IncludeFile \"f" + std::to_string(i + 1) +
                                                ".pbi\"\nIncludeFile \"f" + std::to_string(i + 1) +
                                                ".pbi\"\n");
  }
  Write("f20.pbi", "");
  std::vector<SourceProblem> problems;
  options_.Problems = &problems;
  const SourceSet set = Collect(dir_ + "/f0.pbi");
  EXPECT_EQ(set.size(), kMaxSourceSetEntries);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_TRUE(problems[0].Path.empty());
  EXPECT_NE(problems[0].Reason.find("200000"), std::string::npos);
}

}  // namespace
}  // namespace pbz
