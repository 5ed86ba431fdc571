#include "scan/include_statement.h"

#include "core/text.h"

namespace pbz {

namespace {

constexpr std::string_view kCompilerHome = "#PB_Compiler_Home";
constexpr std::string_view kCompilerFilePath = "#PB_Compiler_FilePath";

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// Position of the first `c` outside double-quoted literals, or npos.
std::size_t FindOutsideLiteral(std::string_view text, char c, std::size_t from = 0) {
  bool inLiteral = false;
  for (std::size_t i = from; i < text.size(); ++i) {
    if (text[i] == '"') {
      inLiteral = !inLiteral;
    } else if (text[i] == c && !inLiteral) {
      return i;
    }
  }
  return std::string_view::npos;
}

std::string_view Trim(std::string_view text) {
  return TrimTrailingBlanks(TrimLeadingBlanks(text));
}

// The argument as "+"-joined terms, each a literal or one of the two
// constants. False when any term is something else (or empty).
bool JoinTerms(std::string_view argument, const IncludeConstants& constants,
               IncludeTarget& target) {
  target = IncludeTarget{};
  std::size_t start = 0;
  bool first = true;
  for (;;) {
    const std::size_t plus = FindOutsideLiteral(argument, '+', start);
    const std::string_view term = Trim(argument.substr(
        start, plus == std::string_view::npos ? argument.size() - start : plus - start));
    if (term.size() >= 2 && term.front() == '"' && term.back() == '"' &&
        term.find('"', 1) == term.size() - 1) {
      target.Text.append(term.substr(1, term.size() - 2));
    } else if (term == kCompilerHome) {
      target.Text.append(constants.PureBasicHome);
      if (first) target.Anchored = true;
    } else if (term == kCompilerFilePath) {
      target.Text.append(constants.CompilerFilePath);
      if (first) target.Anchored = true;
    } else {
      return false;
    }
    first = false;
    if (plus == std::string_view::npos) break;
    start = plus + 1;
  }
  if (!target.Text.empty() && target.Text.front() == '/') target.Anchored = true;
  return true;
}

std::string WithoutQuotesCut(std::string_view argument) {
  std::string text;
  text.reserve(argument.size());
  for (const char c : argument) {
    if (c != '"') text.push_back(c);
  }
  const std::size_t semicolon = text.find(';');
  if (semicolon != std::string::npos) text.erase(semicolon);
  return text;
}

}  // namespace

std::string_view CutComment(std::string_view line) {
  const std::size_t semicolon = FindOutsideLiteral(line, ';');
  return semicolon == std::string_view::npos ? line : line.substr(0, semicolon);
}

void FindIncludeStatements(std::string_view line, std::vector<IncludeStatement>& out) {
  out.clear();
  // Nearly every line has no include; spare it the statement split.
  if (line.find("Include") == std::string_view::npos) return;
  line = CutComment(line);
  std::size_t start = 0;
  for (;;) {
    const std::size_t colon = FindOutsideLiteral(line, ':', start);
    const std::string_view statement = TrimLeadingBlanks(
        line.substr(start, colon == std::string_view::npos ? line.size() - start : colon - start));
    static constexpr struct {
      std::string_view word;
      IncludeKind kind;
    } kKeywords[] = {{"IncludePath", IncludeKind::kIncludePath},
                     {"IncludeFile", IncludeKind::kIncludeFile},
                     {"XIncludeFile", IncludeKind::kXIncludeFile}};
    for (const auto& keyword : kKeywords) {
      if (!StartsWith(statement, keyword.word) || statement.size() == keyword.word.size()) continue;
      const char next = statement[keyword.word.size()];
      if (next == ' ' || next == '\t' || next == '"' || next == '#') {
        out.push_back({keyword.kind, statement.substr(keyword.word.size())});
      }
      break;
    }
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
}

IncludeTarget IncludePathFolder(std::string_view argument, const IncludeConstants& constants) {
  IncludeTarget target;
  if (JoinTerms(argument, constants, target)) return target;
  std::string text = ReplaceAll(WithoutQuotesCut(argument), kCompilerHome, constants.PureBasicHome);
  std::string folder;
  folder.reserve(text.size());
  for (const char c : text) {
    if (c != '+' && c != ' ') folder.push_back(c);
  }
  target.Text = std::string(Trim(folder));
  target.Anchored = !target.Text.empty() && target.Text.front() == '/';
  return target;
}

IncludeTarget IncludeFileName(std::string_view argument, const IncludeConstants& constants) {
  IncludeTarget target;
  if (JoinTerms(argument, constants, target)) return target;
  target.Text = std::string(Trim(WithoutQuotesCut(argument)));
  target.Anchored = !target.Text.empty() && target.Text.front() == '/';
  return target;
}

}  // namespace pbz
