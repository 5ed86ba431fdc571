#include "batch/batch.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "batch/format.h"
#include "scratch_folder.h"

namespace pbz {
namespace {

namespace fs = std::filesystem;

const std::string kUsageFirstLine = "Usage:\n";

struct RunResult {
  std::optional<int> status;
  std::string out;
  std::string err;
};

RunResult RunBatch(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  RunResult result;
  result.status = RunBatchCommandLine(args, out, err);
  result.out = out.str();
  result.err = err.str();
  return result;
}

TEST(BatchCommandLine, WindowArgumentsAreNotBatchMode) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"/src/main.pb"},
      {"/src/main.pb", "3x11x3x14", "Foo"},
      {"main.pb", "", ""},
      {"-h"},
      {"main.pb", "1x1x1x2", "-list"},
  };
  for (const auto& args : cases) {
    const RunResult r = RunBatch(args);
    EXPECT_FALSE(r.status.has_value()) << args.size() << " arguments";
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
  }
}

TEST(BatchCommandLine, VersionPrintsNameAndVersionInUtf8) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{"--version"}, {"--version", "ignored.pb"}}) {
    const RunResult r = RunBatch(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "PB Zetrolin 0.20\xC3\x9F\n");
    EXPECT_EQ(r.err, "");
  }
}

TEST(BatchCommandLine, HelpPrintsUsageOnStandardOutput) {
  const RunResult r = RunBatch({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("PB Zetrolin 0.20\xC3\x9F\n", 0), 0u);
  for (const char* line : {"  pbzetrolin --list procedures [--format FORMAT] MAINFILE\n",
                           "  pbzetrolin --list calls WORD [--format FORMAT] MAINFILE\n",
                           "  pbzetrolin --list terms TERM [--format FORMAT] MAINFILE\n",
                           "  pbzetrolin --list all-calls  [--format FORMAT] MAINFILE\n",
                           "  pbzetrolin --list declares   MAINFILE\n", "PUREBASIC_HOME",
                           "PB_TOOL_IDE", "Exit status"}) {
    EXPECT_NE(r.out.find(line), std::string::npos) << line;
  }
}

// Wrong command lines are reported before the main file is looked at: none
// of these files exists.
TEST(BatchCommandLine, WrongCommandLinesGiveStatus2AndOneLinePlusUsage) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--list"}, "--list needs a listing: procedures, calls, terms, all-calls or declares"},
      {{"--list", "funcs", "m.pb"},
       "unknown listing 'funcs' (procedures, calls, terms, all-calls or declares)"},
      {{"--list", "Procedures", "m.pb"},
       "unknown listing 'Procedures' (procedures, calls, terms, all-calls or declares)"},
      {{"--list", "calls"}, "--list calls needs a WORD"},
      {{"--list", "terms"}, "--list terms needs a TERM"},
      {{"--list", "procedures"}, "MAINFILE is missing"},
      {{"--list", "calls", "Foo"}, "MAINFILE is missing"},
      {{"--format", "jsonl", "m.pb"}, "--list is missing"},
      {{"--", "m.pb"}, "--list is missing"},
      {{"--list", "procedures", "m.pb", "--format"}, "--format needs a format: tsv, jsonl or grep"},
      {{"--list", "procedures", "--format", "xml", "m.pb"},
       "unknown format 'xml' (tsv, jsonl or grep)"},
      {{"--list", "procedures", "--format=csv", "m.pb"},
       "unknown format 'csv' (tsv, jsonl or grep)"},
      {{"--list", "procedures", "--list", "terms", "x", "m.pb"}, "--list given twice"},
      {{"--list", "procedures", "--format", "tsv", "--format", "grep", "m.pb"},
       "--format given twice"},
      {{"--list", "declares", "--format", "tsv", "m.pb"},
       "--format does not apply to --list declares"},
      {{"--list", "procedures", "a.pb", "b.pb"}, "unexpected argument 'b.pb'"},
      {{"--lst", "procedures", "m.pb"}, "unknown option '--lst'"},
      {{"m.pb", "--list", "procedures", "--verbose"}, "unknown option '--verbose'"},
  };
  for (const Case& c : cases) {
    const RunResult r = RunBatch(c.args);
    const std::string want = std::string("pbzetrolin: ") + c.message + "\n";
    EXPECT_EQ(r.status, 2) << c.message;
    EXPECT_EQ(r.out, "") << c.message;
    EXPECT_EQ(r.err.substr(0, want.size()), want);
    EXPECT_EQ(r.err.substr(want.size(), kUsageFirstLine.size()), kUsageFirstLine) << c.message;
  }
}

TEST(BatchCommandLine, UnreadableMainFileGivesStatus1AndNamesIt) {
  ScratchFolder scratch;
  fs::create_directory(scratch.Path("folder.pb"));
  const std::string missing = scratch.Path("missing.pb");
  const std::string folder = scratch.Path("folder.pb");
  const std::vector<std::vector<std::string>> listings = {
      {"--list", "procedures"}, {"--list", "calls", "Foo"}, {"--list", "terms", "Foo"},
      {"--list", "all-calls"},  {"--list", "declares"},     {"--list", "procedures", "--"},
  };
  for (auto args : listings) {
    args.push_back(missing);
    RunResult r = RunBatch(args);
    EXPECT_EQ(r.status, 1) << args[1];
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "pbzetrolin: cannot read main file " + missing + ": No such file or directory\n");
    args.back() = folder;
    r = RunBatch(args);
    EXPECT_EQ(r.status, 1) << args[1];
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "pbzetrolin: cannot read main file " + folder + ": is a folder\n");
  }
}

TEST(BatchCommandLine, DoubleDashEndsTheOptions) {
  const RunResult r = RunBatch({"--list", "procedures", "--", "--odd.pb"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "pbzetrolin: cannot read main file --odd.pb: No such file or directory\n");
}

// A program without procedures, calls or terms: every listing runs and
// prints nothing, in every format.
TEST(BatchCommandLine, EveryListingRunsOnAReadableMainFile) {
  ScratchFolder scratch;
  const std::string main = scratch.Write("main.pb", "; nothing here\r\nx = 1\n");
  const std::vector<std::vector<std::string>> cases = {
      {"--list", "procedures", main},
      {"--list", "procedures", "--format=jsonl", main},
      {"--format", "grep", "--list", "calls", "Foo(a, b)", main},
      // An empty WORD names the selected row's procedure; batch mode has none.
      {"--list", "calls", "", main},
      {main, "--list", "terms", "Bar", "--format", "tsv"},
      {"--list", "terms", "", main},
      {"--list", "all-calls", "--format", "jsonl", main},
      {"--list", "declares", main},
  };
  for (const auto& args : cases) {
    const RunResult r = RunBatch(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
  }
}

TEST(BatchCommandLine, UnreadableIncludesAreNamedOnStandardError) {
  ScratchFolder scratch;
  const std::string main =
      scratch.Write("main.pb", "x = 1\nXIncludeFile \"gone.pbi\"\nProcedure Foo()\nEndProcedure\n");
  const RunResult r = RunBatch({"--list", "procedures", main});
  EXPECT_EQ(r.status, 0);  // the listing ran, on what could be read
  EXPECT_NE(r.out.find("Procedure Foo()"), std::string::npos);
  EXPECT_EQ(r.err, "pbzetrolin: skipped " + scratch.Path("gone.pbi") +
                       ": No such file or directory (included by main.pb line 2)\n");
}

TEST(BatchCommandLine, AFailedWriteIsReported) {
  ScratchFolder scratch;
  const std::string main = scratch.Write("main.pb", "x = 1\n");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--list", "procedures", main}, {"--version"}, {"--help"}}) {
    std::ostream broken(nullptr);  // every write fails
    std::ostringstream err;
    EXPECT_EQ(RunBatchCommandLine(args, broken, err), 1) << args[0];
    EXPECT_EQ(err.str(), "pbzetrolin: writing the output failed\n");
  }
}

std::string Print(const std::vector<Row>& rows, Format format, const SourceSet& set = {}) {
  std::ostringstream out;
  PrintRows(rows, format, set, out);
  return out.str();
}

Row MakeRow(std::array<std::string, kColumnCount> cells) {
  Row row;
  row.cells = std::move(cells);
  return row;
}

TEST(ParseFormat, KnowsTheThreeNamesExactly) {
  EXPECT_EQ(ParseFormat("tsv"), Format::kTsv);
  EXPECT_EQ(ParseFormat("jsonl"), Format::kJsonl);
  EXPECT_EQ(ParseFormat("grep"), Format::kGrep);
  for (const char* name : {"", "TSV", "json", "jsonl ", "csv"}) {
    EXPECT_FALSE(ParseFormat(name).has_value()) << name;
  }
}

TEST(PrintRows, TsvJoinsCellsByTabAndEscapesTabAndBackslash) {
  struct Case {
    std::array<std::string, kColumnCount> cells;
    const char* want;
  } cases[] = {
      {{"", "", "", "", ""}, "\t\t\t\t\n"},
      {{"    12", "Foo(1)", "", "    10 Procedure Bar()", "main.pb"},
       "    12\tFoo(1)\t\t    10 Procedure Bar()\tmain.pb\n"},
      {{"1", "a\tb", "", "", ""}, "1\ta\\tb\t\t\t\n"},
      {{"1", "x\\y", "", "\\t", ""}, "1\tx\\\\y\t\t\\\\t\t\n"},
      // Line ends cannot come from source lines; if one did, it must not
      // split the row.
      {{"1", "a\nb\rc", "", "", ""}, "1\ta\\nb\\rc\t\t\t\n"},
      // Valid UTF-8 stays, anything else is ISO-8859-15 (0xA4 is the euro sign).
      {{"",
        "s = \"Stra\xC3\x9F"
        "e\"",
        "", "", ""},
       "\ts = \"Stra\xC3\x9F"
       "e\"\t\t\t\n"},
      {{"", "p = \xA4 + \xE9", "", "", "\xC4.pbi"},
       "\tp = \xE2\x82\xAC + \xC3\xA9\t\t\t\xC3\x84.pbi\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Print({MakeRow(c.cells)}, Format::kTsv), c.want);
}

TEST(PrintRows, JsonlWritesKeysInOrderAndOnlyColoursThatAreSet) {
  Row call = MakeRow({"12", "foo(1)", "", "    10 Procedure Bar()", "main.pb"});
  call.background = Rgb{255, 255, 230};
  call.text[kCalls] = Rgb{220, 0, 0};

  Row header = MakeRow({"4", "Procedure Foo()", "0", "", "util.pbi"});
  header.background = Rgb{220, 220, 220};
  header.cellBackground[kLine] = Rgb{220, 0, 0};
  header.cellBackground[kCalls] = Rgb{220, 220, 220};  // same as the row: left out
  header.text[kLine] = Rgb{0xAB, 0xCD, 0xEF};
  header.text[kFile] = Rgb{1, 2, 3};

  Row bare = MakeRow({"", "", "", "", ""});
  Row cellOnly = bare;
  cellOnly.cellBackground[kCount] = Rgb{0, 0, 0};

  EXPECT_EQ(Print({call, bare, header, cellOnly}, Format::kJsonl),
            "{\"cells\":[\"12\",\"foo(1)\",\"\",\"    10 Procedure Bar()\",\"main.pb\"],"
            "\"background\":\"#ffffe6\",\"text\":{\"1\":\"#dc0000\"}}\n"
            "{\"cells\":[\"\",\"\",\"\",\"\",\"\"]}\n"
            "{\"cells\":[\"4\",\"Procedure Foo()\",\"0\",\"\",\"util.pbi\"],"
            "\"background\":\"#dcdcdc\",\"text\":{\"0\":\"#abcdef\",\"4\":\"#010203\"},"
            "\"cell_background\":{\"0\":\"#dc0000\"}}\n"
            "{\"cells\":[\"\",\"\",\"\",\"\",\"\"],\"cell_background\":{\"2\":\"#000000\"}}\n");
}

TEST(PrintRows, JsonlEscapesQuotesBackslashesAndControlCharacters) {
  struct Case {
    std::string cell;
    const char* want;  // the escaped string, quotes included
  } cases[] = {
      {"MessageRequester(\"Hi\", \"a\\b\")", R"js("MessageRequester(\"Hi\", \"a\\b\")")js"},
      {"a\tb\nc\rd\be\ff", R"js("a\tb\nc\rd\be\ff")js"},
      {std::string("x\x01y\x1F", 4) + std::string(1, '\0'), R"js("x\u0001y\u001f\u0000")js"},
      {"\x7F/", "\"\x7F/\""},
      {"\xC3\x9F", "\"\xC3\x9F\""},
      {"\xA4\xDF", "\"\xE2\x82\xAC\xC3\x9F\""},  // ISO-8859-15 converted
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Print({MakeRow({"", c.cell, "", "", ""})}, Format::kJsonl),
              std::string("{\"cells\":[\"\",") + c.want + ",\"\",\"\",\"\"]}\n")
        << c.want;
  }
}

TEST(PrintRows, GrepPrintsPathLineAndTextForRowsWithLineAndFile) {
  const SourceSet set = {
      {"/src/main.pb", "", 0, kNoParent},
      {"/src/inc/Util.pbi", "main.pb", 3, 0},
      {"/other/util.pbi", "main.pb", 4, 0},
      {"rel/\xE4.pbi", "main.pb", 5, 0},
  };
  const std::vector<Row> rows = {
      MakeRow({"    12", "Foo(1)", "", "    10 Procedure Bar()", "main.pb"}),
      MakeRow({"", "", "", "", ""}),                                // separator
      MakeRow({"7", "Procedure Foo()", "3", "", ""}),               // no file
      MakeRow({"", "x = Foo(2)", "", "", "main.pb"}),               // no line
      MakeRow({"0", "x = Foo(2)", "", "", "main.pb"}),              // not a line
      MakeRow({"5", "", "", "     3 Procedure Baz()", "MAIN.PB"}),  // text from (in) Function
      MakeRow({"9", "Foo()", "", "", "UTIL.pbi"}),                  // first entry of that name
      MakeRow({"2", "x\\y\t\xA4", "", "", "\xE4.pbi"}),             // path kept as bytes
      MakeRow({"8", "Foo()", "", "", "gone.pbi"}),                  // not in the set
  };
  EXPECT_EQ(Print(rows, Format::kGrep, set),
            "/src/main.pb:12:Foo(1)\n"
            "/src/main.pb:5:     3 Procedure Baz()\n"
            "/src/inc/Util.pbi:9:Foo()\n"
            "rel/\xE4.pbi:2:x\\y\t\xE2\x82\xAC\n"
            "gone.pbi:8:Foo()\n");
}

TEST(PrintRows, LongListingsArriveWhole) {
  std::vector<Row> rows;
  std::string want;
  for (int k = 1; k <= 20000; ++k) {
    const std::string line = std::to_string(k);
    rows.push_back(MakeRow({line, "CallSomething(" + line + ")", "", "", "main.pb"}));
    want += line + "\tCallSomething(" + line + ")\t\t\tmain.pb\n";
  }
  EXPECT_EQ(Print(rows, Format::kTsv), want);
  EXPECT_EQ(Print({}, Format::kJsonl), "");
}

}  // namespace
}  // namespace pbz
