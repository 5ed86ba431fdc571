#include "batch/batch.h"

#include <string_view>

#include "app/tool_arguments.h"
#include "batch/format.h"
#include "calls/all_calls.h"
#include "calls/calls.h"
#include "core/row.h"
#include "core/scan_control.h"
#include "core/text.h"
#include "match/term_search.h"
#include "pages/page_host.h"
#include "scan/procedures.h"
#include "scan/source_set.h"

namespace pbz {

namespace {

constexpr std::string_view kUsage =
    "Usage:\n"
    "  pbzetrolin [FILE [SELECTION [WORD]]]\n"
    "  pbzetrolin --list procedures [--format FORMAT] MAINFILE\n"
    "  pbzetrolin --list calls WORD [--format FORMAT] MAINFILE\n"
    "  pbzetrolin --list terms TERM [--format FORMAT] MAINFILE\n"
    "  pbzetrolin --list all-calls  [--format FORMAT] MAINFILE\n"
    "  pbzetrolin --list declares   MAINFILE\n"
    "  pbzetrolin --help\n"
    "  pbzetrolin --version\n"
    "FORMAT is tsv (the default), jsonl or grep.\n";

constexpr std::string_view kHelpIntro =
    "PB Zetrolin lists the procedures, the calls of a procedure, the whole-word\n"
    "occurrences of a term and all procedure calls of a PureBasic program: the\n"
    "main file and every file it includes.\n"
    "\n";

constexpr std::string_view kHelpDetails =
    "\n"
    "Without --list the window opens; the PureBasic IDE starts it with the\n"
    "source file, the selection (LxCxLxC) and the word under the cursor.\n"
    "\n"
    "Listings:\n"
    "  procedures   every procedure definition line\n"
    "  calls WORD   every call of procedure WORD (Foo, Foo( or Foo(a, b))\n"
    "  terms TERM   every line holding TERM as a whole word\n"
    "  all-calls    every procedure with its calls and their count\n"
    "  declares     the Declare block for procedures called above their\n"
    "               definition, lines ended by CR LF\n"
    "\n"
    "Formats:\n"
    "  tsv    the five cells (Line, Calls, Count, (in) Function, in File)\n"
    "         joined by TAB; TAB in a cell is written \\t, backslash \\\\\n"
    "  jsonl  one JSON object per row: cells, background, text and\n"
    "         cell_background colours as \"#rrggbb\"\n"
    "  grep   PATH:LINE:TEXT for rows with a line and a file, for quickfix lists\n"
    "\n"
    "Environment:\n"
    "  PUREBASIC_HOME  PureBasic folder, replaces #PB_Compiler_Home in IncludePath\n"
    "  PB_TOOL_IDE     the IDE program that Jump to Line starts (window only)\n"
    "\n"
    "Exit status: 0 the listing ran, 1 MAINFILE cannot be read, 2 wrong command line.\n";

enum class Listing { kProcedures, kCalls, kTerms, kAllCalls, kDeclares };

struct Request {
  Listing listing = Listing::kProcedures;
  std::string word;  // WORD of calls, TERM of terms
  Format format = Format::kTsv;
  std::string mainFile;
};

std::optional<Listing> ParseListing(std::string_view name) {
  if (name == "procedures") return Listing::kProcedures;
  if (name == "calls") return Listing::kCalls;
  if (name == "terms") return Listing::kTerms;
  if (name == "all-calls") return Listing::kAllCalls;
  if (name == "declares") return Listing::kDeclares;
  return std::nullopt;
}

bool StartsWithDashes(const std::string& arg) {
  return arg.size() >= 2 && arg.compare(0, 2, "--") == 0;
}

// Outcome of reading the command line: a request to run, or an exit status
// already decided (help, version, usage error).
struct Parsed {
  std::optional<Request> request;
  int status = 0;
};

Parsed UsageError(std::ostream& err, const std::string& message) {
  err << "pbzetrolin: " << message << '\n' << kUsage;
  return Parsed{std::nullopt, 2};
}

Parsed ParseArguments(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Request request;
  bool haveListing = false;
  bool haveFormat = false;
  bool haveMainFile = false;
  bool optionsEnded = false;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    const bool isOption = !optionsEnded && StartsWithDashes(arg);
    if (!isOption) {
      if (haveMainFile) return UsageError(err, "unexpected argument '" + arg + "'");
      request.mainFile = arg;
      haveMainFile = true;
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help") {
      out << "PB Zetrolin " PBZ_VERSION_TEXT "\n\n" << kHelpIntro << kUsage << kHelpDetails;
      return Parsed{std::nullopt, 0};
    } else if (arg == "--version") {
      out << "PB Zetrolin " PBZ_VERSION_TEXT "\n";
      return Parsed{std::nullopt, 0};
    } else if (arg == "--list") {
      if (haveListing) return UsageError(err, "--list given twice");
      if (k + 1 >= args.size()) {
        return UsageError(err,
                          "--list needs a listing: procedures, calls, terms, all-calls or "
                          "declares");
      }
      const std::string& name = args[++k];
      const std::optional<Listing> listing = ParseListing(name);
      if (!listing) {
        return UsageError(err, "unknown listing '" + name +
                                   "' (procedures, calls, terms, all-calls or declares)");
      }
      request.listing = *listing;
      haveListing = true;
      if (*listing == Listing::kCalls || *listing == Listing::kTerms) {
        if (k + 1 >= args.size()) {
          return UsageError(err, *listing == Listing::kCalls ? "--list calls needs a WORD"
                                                             : "--list terms needs a TERM");
        }
        request.word = args[++k];
      }
    } else if (arg == "--format" || arg.compare(0, 9, "--format=") == 0) {
      if (haveFormat) return UsageError(err, "--format given twice");
      std::string name;
      if (arg == "--format") {
        if (k + 1 >= args.size())
          return UsageError(err, "--format needs a format: tsv, jsonl or grep");
        name = args[++k];
      } else {
        name = arg.substr(9);
      }
      const std::optional<Format> format = ParseFormat(name);
      if (!format) return UsageError(err, "unknown format '" + name + "' (tsv, jsonl or grep)");
      request.format = *format;
      haveFormat = true;
    } else {
      return UsageError(err, "unknown option '" + arg + "'");
    }
  }
  if (!haveListing) return UsageError(err, "--list is missing");
  if (haveFormat && request.listing == Listing::kDeclares) {
    return UsageError(err, "--format does not apply to --list declares");
  }
  if (!haveMainFile) return UsageError(err, "MAINFILE is missing");
  return Parsed{std::move(request), 0};
}

// Runs procedures and all-calls the way the window's buttons do; returns the
// all-calls page's rows and hands the declaration block to declareBlock.
const std::vector<Row>& RunAllCalls(const SourceSet& set, ScanControl& control, MemoryPages& pages,
                                    std::string& declareBlock) {
  ProcedureIndex index;
  MemoryList procedures;  // only the index is needed
  ListProcedures(set, procedures, control, index);
  pages.OpenResultPage("", "All Procedure-Calls...");
  pages.RefreshPageSelector();
  MemoryPages::Page& page = pages.CurrentPage();
  DeclareList declares;
  ListAllProcedureCalls(index, set, pages, control, declares,
                        [&declareBlock](const std::string& text) { declareBlock = text; });
  return page.List.Rows();
}

}  // namespace

std::optional<int> RunBatchCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                       std::ostream& err) {
  bool batch = false;
  for (const std::string& arg : args) batch = batch || StartsWithDashes(arg);
  if (!batch) return std::nullopt;

  Parsed parsed = ParseArguments(args, out, err);
  if (!parsed.request) {
    out.flush();
    if (parsed.status == 0 && !out) {
      err << "pbzetrolin: writing the output failed\n";
      return 1;
    }
    return parsed.status;
  }
  const Request& request = *parsed.request;

  SourceSetOptions options;
  options.PureBasicHome = SettingsFromEnvironment().PureBasicHome;
  std::vector<SourceProblem> problems;
  options.Problems = &problems;
  const SourceSet set = CollectSourceSet(request.mainFile, options);
  // The collection goes on past a file it cannot read, which for the main
  // file would look like an empty program; the main file is read first, so
  // its problem comes first.
  if (!problems.empty() && problems.front().IncludedBy.empty() &&
      problems.front().Path == request.mainFile) {
    err << "pbzetrolin: cannot read main file " << request.mainFile << ": "
        << problems.front().Reason << '\n';
    return 1;
  }
  // The listing still runs: a missing include costs only its own lines, but
  // the user must know which ones are missing.
  for (const SourceProblem& problem : problems) {
    err << "pbzetrolin: ";
    if (problem.Path.empty()) {
      err << problem.Reason;
    } else {
      err << "skipped " << problem.Path << ": " << problem.Reason;
    }
    if (!problem.IncludedBy.empty()) {
      err << " (included by " << problem.IncludedBy << " line " << problem.IncludeLine << ')';
    }
    err << '\n';
  }
  RunToEnd control;
  MemoryPages pages;

  switch (request.listing) {
    case Listing::kProcedures: {
      MemoryList list;
      ProcedureIndex index;
      ListProcedures(set, list, control, index);
      PrintRows(list.Rows(), request.format, set, out);
      break;
    }
    case Listing::kCalls:
      ShowProcedureCalls(request.word, set, pages, control);
      if (!pages.Pages().empty()) {
        PrintRows(pages.Pages().back()->List.Rows(), request.format, set, out);
      }
      break;
    case Listing::kTerms: {
      pages.OpenResultPage(kKindProc, request.word);
      pages.RefreshPageSelector();
      MemoryPages::Page& page = pages.CurrentPage();
      TermSearchListing(request.word, set, pages, control);
      PrintRows(page.List.Rows(), request.format, set, out);
      break;
    }
    case Listing::kAllCalls: {
      std::string block;
      PrintRows(RunAllCalls(set, control, pages, block), request.format, set, out);
      break;
    }
    case Listing::kDeclares: {
      std::string block;
      RunAllCalls(set, control, pages, block);
      const std::string text = ToDisplayByLine(block);
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
      break;
    }
  }

  out.flush();
  if (!out) {
    err << "pbzetrolin: writing the output failed\n";
    return 1;
  }
  return 0;
}

}  // namespace pbz
