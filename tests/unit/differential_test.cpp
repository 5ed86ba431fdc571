// Every listing against its plain reading (tests/reference): the same rows,
// colours, selection, pages, procedure index, Declare list and clipboard text,
// on generated programs, on hand-written awkward ones and on every golden
// case, and the same output when the user stops at any line.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "calls/all_calls.h"
#include "calls/calls.h"
#include "match/normalise.h"
#include "match/term_search.h"
#include "pages/page_host.h"
#include "reference/reference_listings.h"
#include "scan/procedures.h"
#include "scan/source_set.h"

namespace pbz {
namespace {

namespace fs = std::filesystem;

// --- Comparing ---------------------------------------------------------------

std::string Describe(const Row& row) {
  std::ostringstream out;
  out << "[";
  for (std::size_t c = 0; c < kColumnCount; ++c) out << (c ? " | " : "") << row.cells[c];
  out << "]";
  const auto rgb = [&](const std::optional<Rgb>& colour) {
    if (colour)
      out << int(colour->r) << "," << int(colour->g) << "," << int(colour->b);
    else
      out << "-";
  };
  out << " bg ";
  rgb(row.background);
  out << " text ";
  for (const auto& colour : row.text) {
    rgb(colour);
    out << " ";
  }
  out << "cellbg ";
  for (const auto& colour : row.cellBackground) {
    rgb(colour);
    out << " ";
  }
  return out.str();
}

::testing::AssertionResult SameList(const MemoryList& fast, const MemoryList& plain) {
  const std::vector<Row>& a = fast.Rows();
  const std::vector<Row>& b = plain.Rows();
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (!(a[i] == b[i])) {
      return ::testing::AssertionFailure()
             << "row " << i << " differs:\n  fast:  " << Describe(a[i])
             << "\n  plain: " << Describe(b[i]);
    }
  }
  if (a.size() != b.size()) {
    return ::testing::AssertionFailure()
           << "fast has " << a.size() << " rows, plain " << b.size()
           << "; first extra: " << Describe(a.size() > b.size() ? a[b.size()] : b[a.size()]);
  }
  if (fast.Selected() != plain.Selected()) {
    return ::testing::AssertionFailure() << "selected rows differ";
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SamePages(const MemoryPages& fast, const MemoryPages& plain) {
  if (fast.Pages().size() != plain.Pages().size()) {
    return ::testing::AssertionFailure()
           << "page counts differ: " << fast.Pages().size() << " vs " << plain.Pages().size();
  }
  for (std::size_t p = 0; p < fast.Pages().size(); ++p) {
    const MemoryPages::Page& a = *fast.Pages()[p];
    const MemoryPages::Page& b = *plain.Pages()[p];
    if (a.Kind != b.Kind || a.Title != b.Title || a.Header != b.Header || a.Visible != b.Visible ||
        a.BlockRow != b.BlockRow) {
      return ::testing::AssertionFailure()
             << "page " << p << " differs: '" << a.Header << "' vs '" << b.Header << "'";
    }
    ::testing::AssertionResult rows = SameList(a.List, b.List);
    if (!rows) return rows << " (page " << p << ")";
  }
  if (fast.Current() != plain.Current() || fast.SelectorEntries() != plain.SelectorEntries() ||
      fast.SelectorActive() != plain.SelectorActive()) {
    return ::testing::AssertionFailure() << "current page or selector differs";
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SameControl(const StopAfterLines& fast, const StopAfterLines& plain) {
  if (fast.linesChecked != plain.linesChecked || fast.stopEnabled != plain.stopEnabled) {
    return ::testing::AssertionFailure()
           << "lines checked " << fast.linesChecked << " vs " << plain.linesChecked
           << ", Stop enabled " << fast.stopEnabled << " vs " << plain.stopEnabled;
  }
  return ::testing::AssertionSuccess();
}

std::string DeclareText(const DeclareList& list) {
  std::string text;
  for (const DeclareEntry& entry : list)
    text += entry.DefinitionLine + " @" + entry.FileName + "\n";
  return text;
}

// --- Running both ------------------------------------------------------------

struct Program {
  std::string Name;
  std::string MainFile;
  SourceSetOptions Options;
  std::vector<std::string> Words;  // looked up as calls and as terms, besides the procedures
};

// Stop points: every line when `everyLine`, else a spread over the run.
std::vector<std::int64_t> StopPoints(std::int64_t total, bool everyLine) {
  std::vector<std::int64_t> points;
  if (everyLine) {
    for (std::int64_t n = 1; n <= total + 1; ++n) points.push_back(n);
    return points;
  }
  for (std::int64_t n :
       {std::int64_t{1}, std::int64_t{2}, std::int64_t{3}, total - 1, total, total + 1}) {
    if (n >= 1) points.push_back(n);
  }
  const std::int64_t step = std::max<std::int64_t>(1, total / 23);
  for (std::int64_t k = 1; k * step < total; ++k) points.push_back(k * step + k % 5);
  return points;
}

class Differential {
 public:
  Differential(const Program& program, bool everyLine)
      : program_(program),
        everyLine_(everyLine),
        set_(CollectSourceSet(program.MainFile, program.Options)) {}

  void Run() {
    SCOPED_TRACE(program_.Name);
    ProcedureIndex index = CompareProcedures();
    for (const std::string& word : Words(index)) CompareCalls(word);
    for (const std::string& term : Terms(index)) CompareTerms(term);
    CompareAllCalls(index);
  }

 private:
  ProcedureIndex CompareProcedures() {
    ProcedureIndex fastIndex;
    ProcedureIndex plainIndex;
    std::int64_t total = 0;
    {
      MemoryList fast;
      MemoryList plain;
      StopAfterLines fastControl(0);
      StopAfterLines plainControl(0);
      ListProcedures(set_, fast, fastControl, fastIndex);
      reference::ListProcedures(set_, plain, plainControl, plainIndex);
      EXPECT_TRUE(SameList(fast, plain)) << "procedures";
      EXPECT_TRUE(SameControl(fastControl, plainControl)) << "procedures";
      total = plainControl.linesChecked;
    }
    EXPECT_EQ(fastIndex.size(), plainIndex.size());
    for (std::size_t i = 0; i < std::min(fastIndex.size(), plainIndex.size()); ++i) {
      EXPECT_EQ(fastIndex[i].DefinitionLine, plainIndex[i].DefinitionLine) << i;
      EXPECT_EQ(fastIndex[i].FileName, plainIndex[i].FileName) << i;
      EXPECT_EQ(fastIndex[i].LineNumber, plainIndex[i].LineNumber) << i;
      EXPECT_EQ(fastIndex[i].Source, plainIndex[i].Source) << i;
    }
    for (std::int64_t n : StopPoints(total, false)) {
      MemoryList fast;
      MemoryList plain;
      ProcedureIndex a;
      ProcedureIndex b;
      StopAfterLines fastControl(n);
      StopAfterLines plainControl(n);
      ListProcedures(set_, fast, fastControl, a);
      reference::ListProcedures(set_, plain, plainControl, b);
      EXPECT_TRUE(SameList(fast, plain)) << "procedures stopped at " << n;
      EXPECT_TRUE(SameControl(fastControl, plainControl)) << "procedures stopped at " << n;
      EXPECT_EQ(a.size(), b.size()) << "procedures stopped at " << n;
    }
    return plainIndex;
  }

  // The procedures' names, spread over the index, some written otherwise.
  std::vector<std::string> Words(const ProcedureIndex& index) const {
    std::vector<std::string> words = program_.Words;
    const std::size_t step = std::max<std::size_t>(1, index.size() / 6);
    for (std::size_t i = 0; i < index.size(); i += step) {
      const std::string& line = index[i].DefinitionLine;
      const std::size_t blank = line.find_first_of(" \t");
      if (blank == std::string::npos) continue;
      const std::string text = line.substr(blank + 1);
      std::string name = text.substr(0, text.find('('));
      words.push_back(name);
      words.push_back(text);
      std::string lower = name;
      for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      words.push_back(lower + " (");
    }
    return words;
  }

  std::vector<std::string> Terms(const ProcedureIndex& index) const {
    std::vector<std::string> terms = program_.Words;
    for (const std::string& word : Words(index)) terms.push_back(word.substr(0, word.find('(')));
    for (const char* extra : {"x", "Global", "EndProcedure", ""}) terms.push_back(extra);
    return terms;
  }

  void CompareCalls(const std::string& word) {
    // A call term without a name is left alone by the program (no procedure
    // has an empty name); the plain reading would list every "(".
    if (CallTermOf(word) == "(") return;
    const auto run = [&](StopAfterLines& control, bool fast, MemoryPages& pages) {
      pages.OpenResultPage("", "Procedures");
      pages.RefreshPageSelector();
      return fast ? ShowProcedureCalls(word, set_, pages, control)
                  : reference::ShowProcedureCalls(word, set_, pages, control);
    };
    std::int64_t total = 0;
    {
      MemoryPages fast;
      MemoryPages plain;
      StopAfterLines fastControl(0);
      StopAfterLines plainControl(0);
      EXPECT_EQ(run(fastControl, true, fast), run(plainControl, false, plain)) << "calls " << word;
      EXPECT_TRUE(SamePages(fast, plain)) << "calls " << word;
      EXPECT_TRUE(SameControl(fastControl, plainControl)) << "calls " << word;
      total = plainControl.linesChecked;
    }
    if (program_.Words.empty() || word != program_.Words.front()) return;
    for (std::int64_t n : StopPoints(total, false)) {
      MemoryPages fast;
      MemoryPages plain;
      StopAfterLines fastControl(n);
      StopAfterLines plainControl(n);
      EXPECT_EQ(run(fastControl, true, fast), run(plainControl, false, plain))
          << "calls " << word << " stopped at " << n;
      EXPECT_TRUE(SamePages(fast, plain)) << "calls " << word << " stopped at " << n;
      EXPECT_TRUE(SameControl(fastControl, plainControl)) << "calls " << word << " at " << n;
    }
  }

  void CompareTerms(const std::string& term) {
    const auto run = [&](StopAfterLines& control, bool fast, MemoryPages& pages) {
      pages.OpenResultPage("", "Procedures");
      pages.OpenResultPage(kKindProc, term + "(");
      pages.RefreshPageSelector();
      if (fast) {
        TermSearchListing(term, set_, pages, control);
      } else {
        reference::TermSearchListing(term, set_, pages, control);
      }
    };
    MemoryPages fast;
    MemoryPages plain;
    StopAfterLines fastControl(0);
    StopAfterLines plainControl(0);
    run(fastControl, true, fast);
    run(plainControl, false, plain);
    EXPECT_TRUE(SamePages(fast, plain)) << "terms " << term;
    EXPECT_TRUE(SameControl(fastControl, plainControl)) << "terms " << term;
    if (program_.Words.empty() || term != program_.Words.front()) return;
    for (std::int64_t n : StopPoints(plainControl.linesChecked, false)) {
      MemoryPages a;
      MemoryPages b;
      StopAfterLines aControl(n);
      StopAfterLines bControl(n);
      run(aControl, true, a);
      run(bControl, false, b);
      EXPECT_TRUE(SamePages(a, b)) << "terms " << term << " stopped at " << n;
      EXPECT_TRUE(SameControl(aControl, bControl)) << "terms " << term << " stopped at " << n;
    }
  }

  struct AllCallsRun {
    MemoryPages Pages;
    DeclareList Declares;
    std::string Clipboard;
    int ClipboardSets = 0;
  };

  void RunAllCalls(const ProcedureIndex& index, StopAfterLines& control, bool fast,
                   AllCallsRun& run) {
    run.Pages.OpenResultPage("", "All Procedure-Calls...");
    run.Pages.RefreshPageSelector();
    // A stale entry that the run must drop.
    run.Declares.push_back(DeclareEntry{"Procedure Stale()", "old.pb"});
    const ClipboardSetter setter = [&run](const std::string& text) {
      run.Clipboard = text;
      ++run.ClipboardSets;
    };
    if (fast) {
      ListAllProcedureCalls(index, set_, run.Pages, control, run.Declares, setter);
    } else {
      reference::ListAllProcedureCalls(index, set_, run.Pages, control, run.Declares, setter);
    }
  }

  void CompareAllCallsAt(const ProcedureIndex& index, std::int64_t n, std::int64_t* total) {
    AllCallsRun fast;
    AllCallsRun plain;
    StopAfterLines fastControl(n);
    StopAfterLines plainControl(n);
    RunAllCalls(index, fastControl, true, fast);
    RunAllCalls(index, plainControl, false, plain);
    EXPECT_TRUE(SamePages(fast.Pages, plain.Pages)) << "all-calls stopped at " << n;
    EXPECT_TRUE(SameControl(fastControl, plainControl)) << "all-calls stopped at " << n;
    EXPECT_EQ(DeclareText(fast.Declares), DeclareText(plain.Declares))
        << "all-calls stopped at " << n;
    EXPECT_EQ(fast.Clipboard, plain.Clipboard) << "all-calls stopped at " << n;
    EXPECT_EQ(fast.ClipboardSets, plain.ClipboardSets) << "all-calls stopped at " << n;
    if (total) *total = plainControl.linesChecked;
  }

  void CompareAllCalls(const ProcedureIndex& index) {
    std::int64_t total = 0;
    CompareAllCallsAt(index, 0, &total);
    // The block text on its own, from the same Declare list.
    AllCallsRun run;
    StopAfterLines control(0);
    RunAllCalls(index, control, false, run);
    DeclareList plainList = run.Declares;
    DeclareList fastList = run.Declares;
    EXPECT_EQ(CopyDeclareBlock(fastList), reference::CopyDeclareBlock(plainList));
    EXPECT_EQ(DeclareText(fastList), DeclareText(plainList));
    for (std::int64_t n : StopPoints(total, everyLine_)) {
      CompareAllCallsAt(index, n, nullptr);
      if (::testing::Test::HasFailure()) break;  // one stop point tells enough
    }
  }

  const Program& program_;
  bool everyLine_;
  SourceSet set_;
};

// --- Programs ----------------------------------------------------------------

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "pbz-diff-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }
  void Write(const std::string& name, const std::string& bytes) const {
    fs::create_directories(fs::path(path_ + "/" + name).parent_path());
    std::ofstream(path_ + "/" + name, std::ios::binary) << bytes;
  }

 private:
  std::string path_;
};

SourceSetOptions DefaultOptions() {
  return SourceSetOptions{"/nonexistent-purebasic-home/"};
}

// Lines that try the corners of the call search: nameless procedures whose
// start lines change under some names, names ending "Procedure", TABs, "$",
// calls closed up across spaces, in comments, strings and defaults, Declare
// lines, two includes on one line, calls on an include's line, a file
// included twice, a missing file, CR LF, a byte order mark and a NUL.
void WriteAwkwardProgram(const TempFolder& folder) {
  folder.Write("main.pb",
               "\xEF\xBB\xBFXIncludeFile \"a.pbi\" : XIncludeFile \"b.pbi\"\n"
               "Declare Foo(a)\n"
               "x = Foo (1) ; call Foo(2)\n"
               "Procedure (x)\n"
               "  y = e(1) + Foo(2) + rocedure (3)\n"
               "EndProcedure\n"
               "Procedure  (z)\n"
               "  Procedure(3) : e (4)\n"
               "EndProcedure\n"
               "Procedure e(a)\n"
               "  ProcedureReturn e(a - 1)\n"
               "EndProcedure\n"
               "Procedure.i Procedure\n"
               "Procedure Foo (a = Bar(1))\n"
               "  foo(2) : Foo(3)\n"
               "  x\\Foo(4) : MyFoo(5)\n"
               "\t \tr = Foo\t(6) + Foo  (6)\n"
               "  s$ = \"Foo(7)\" ; Foo(8)\n"
               "EndProcedure : Foo(9)\n"
               "ProcedureC CFoo(a)\n"
               "  Foo(10) : a$ = \"(\" ; Foo(11)\n"
               "EndProcedure\n"
               "Procedure.s Name$(a)\n"
               "  Name$(1) + NAME$ (2)\n"
               "EndProcedure\n"
               "Procedure\tTabbed (a)\n"
               "  Tabbed (1) : tabbed(2) : Tabbed\t(3)\n"
               "EndProcedure\n"
               "Procedure Bar(a) ; comment\n"
               "  Foo (Bar (1))\n"
               "EndProcedure\n"
               "XIncludeFile \"a.pbi\"\n"
               "XIncludeFile \"missing.pbi\"\n"
               "Procedure Late()\n"
               "EndProcedure\n"
               "Procedure.l x=Foo(a)\n"
               "EndProcedure\n"
               "Declare DFun() : XIncludeFile \"d.pbi\"\n"
               "XIncludeFile \"e.pbi\" : EFun()\n"
               "Procedure EFun()\n"
               "EndProcedure\n");
  // Calls on the line of the include that leads to the definition.
  folder.Write("d.pbi", "DFun()\nProcedure DFun()\nEndProcedure\n");
  folder.Write("e.pbi", "Declare EFun()\nEFun()\n");
  folder.Write("a.pbi",
               "Procedure AFun()\r\n  Late()\r\n  Foo(1)\r\n  Bar(2)\r\nEndProcedure\r\n"
               "XIncludeFile \"c.pbi\"\r\n  DeclareDLL.i AFun()\r\n");
  folder.Write("b.pbi", std::string("Late() : AFun()\n"
                                    "x = CFoo(1) : e (2)\n"
                                    "Procedure.l Recur(n)\n"
                                    "  Recur(n - 1)\n"
                                    "EndProcedure\n"
                                    "Procedure rocedure(a)\n"
                                    "EndProcedure\n"
                                    "rocedure(1)\n"
                                    "x = Foo(1)") +
                            std::string(1, '\0') + " Late()\rProcedure (q)\r  Late()\r");
  folder.Write("c.pbi",
               "Declare Late()\n"
               "Late()\n"
               "Procedure Deep()\n"
               "  Deep() : AFun()\n"
               "EndProcedure\n");
}

// Each file includes the next twice, so every file stands in the set many
// times, with calls in every copy.
void WriteDoublingChain(const TempFolder& folder) {
  const int depth = 3;
  for (int i = 0; i < depth; ++i) {
    const std::string next = "f" + std::to_string(i + 1) + ".pbi";
    std::string text = "IncludeFile \"" + next + "\"\n";
    text += "P" + std::to_string(i + 1) + "() : Leaf()\n";
    text += "Procedure P" + std::to_string(i) + "()\n  Leaf() : P" + std::to_string(i) +
            "()\nEndProcedure\n";
    text += "IncludeFile \"" + next + "\"\n";
    folder.Write(i == 0 ? "main.pb" : "f" + std::to_string(i) + ".pbi", text);
  }
  folder.Write("f" + std::to_string(depth) + ".pbi",
               "Procedure Leaf()\nEndProcedure\nDeclare P0()\n");
}

TEST(Differential, AwkwardProgramEveryStopLine) {
  TempFolder folder;
  ASSERT_FALSE(folder.Path().empty());
  WriteAwkwardProgram(folder);
  const Program program{"awkward",
                        folder.Path() + "/main.pb",
                        DefaultOptions(),
                        {"Foo", "e", "Tabbed", "Name$", "Late", "rocedure", "Procedure.i"}};
  Differential(program, true).Run();
}

TEST(Differential, DoublingChainEveryStopLine) {
  TempFolder folder;
  ASSERT_FALSE(folder.Path().empty());
  WriteDoublingChain(folder);
  const Program program{
      "doubling chain", folder.Path() + "/main.pb", DefaultOptions(), {"Leaf", "P2"}};
  Differential(program, true).Run();
}

// Generated by bench/gen_corpus.py, which needs python3.
TEST(Differential, GeneratedPrograms) {
  if (std::system("python3 --version > /dev/null 2>&1") != 0) {
    GTEST_SKIP() << "python3 is needed to generate the programs";
  }
  const std::string generator = std::string(PBZ_TEST_DATA) + "/../bench/gen_corpus.py";
  for (int seed : {1, 2, 3}) {
    TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::string out = folder.Path() + "/corpus";
    const std::string command = "python3 '" + generator + "' --scale 0.03 --seed " +
                                std::to_string(seed) + " --out '" + out + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const Program program{"generated seed " + std::to_string(seed),
                          out + "/main.pb",
                          DefaultOptions(),
                          {"gRecord", "Count"}};
    Differential(program, false).Run();
  }
}

// Each golden folder's program, with the listing's own word added. Folders
// that need a setup script (FIFOs, generated files) are left out.
TEST(Differential, GoldenPrograms) {
  const fs::path golden = fs::path(PBZ_TEST_DATA) / "golden";
  int compared = 0;
  std::vector<fs::path> folders;
  for (const auto& item : fs::directory_iterator(golden)) {
    if (item.is_directory()) folders.push_back(item.path());
  }
  std::sort(folders.begin(), folders.end());
  for (const fs::path& folder : folders) {
    if (fs::exists(folder / "setup.sh") || !fs::exists(folder / "args")) continue;
    std::ifstream argsFile(folder / "args");
    std::vector<std::string> args;
    for (std::string line; std::getline(argsFile, line);) args.push_back(line);
    if (args.empty() || !fs::is_regular_file(folder / args.back())) continue;
    Program program{
        folder.filename().string(), (folder / args.back()).string(), DefaultOptions(), {"Foo"}};
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
      if (args[i] == "calls" || args[i] == "terms") program.Words.push_back(args[i + 1]);
    }
    std::ifstream envFile(folder / "env");
    for (std::string line; std::getline(envFile, line);) {
      const std::string key = "PUREBASIC_HOME=";
      if (line.rfind(key, 0) != 0) continue;
      std::string home = line.substr(key.size());
      const std::size_t at = home.find("$CASE");
      if (at != std::string::npos) home.replace(at, 5, folder.string());
      program.Options.PureBasicHome = home;
    }
    Differential(program, false).Run();
    ++compared;
  }
  EXPECT_GT(compared, 30);
}

}  // namespace
}  // namespace pbz
