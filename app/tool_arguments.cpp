#include "app/tool_arguments.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "core/text.h"
#include "scan/source_file.h"

namespace pbz {

bool ParseSelectionRange(std::string_view text, SelectionRange& range) {
  if (std::count(text.begin(), text.end(), 'x') != 3) return false;
  std::int64_t fields[4];
  std::size_t start = 0;
  for (int k = 0; k < 4; ++k) {
    const std::size_t x = text.find('x', start);
    fields[k] = TextToInteger(text.substr(start, x == std::string_view::npos ? x : x - start));
    start = x + 1;
  }
  range = SelectionRange{fields[0], fields[1], fields[2], fields[3]};
  return range.LineStart == range.LineEnd && range.CharStart < range.CharEnd;
}

std::string ReadSelectedText(const std::string& path, const SelectionRange& range) {
  // No line 0, and a backwards range selects nothing (its length would wrap).
  if (range.LineStart < 1 || range.CharEnd <= range.CharStart) return {};
  const auto content = ReadSourceFile(path);
  if (!content) return {};
  LineSplitter lines(*content);
  std::string_view line;
  for (std::int64_t number = 1; lines.Next(line); ++number) {
    if (number < range.LineStart) continue;
    // Count computed before clamping the start, as the IDE's numbers say;
    // unsigned arithmetic keeps extreme values from overflowing.
    const std::uint64_t count =
        static_cast<std::uint64_t>(range.CharEnd) - static_cast<std::uint64_t>(range.CharStart);
    const std::uint64_t first =
        range.CharStart < 1 ? 0 : static_cast<std::uint64_t>(range.CharStart) - 1;
    if (first >= line.size()) return {};
    return std::string(line.substr(first, std::min<std::uint64_t>(count, line.size() - first)));
  }
  return {};
}

std::string DecideCursorWord(const std::string& rawCursorWord, const std::string& selectedText) {
  const bool constantSelected = selectedText.size() == rawCursorWord.size() &&
                                !selectedText.empty() && selectedText[0] == '#';
  if (!rawCursorWord.empty() && !constantSelected) return rawCursorWord;
  std::string word = selectedText;
  if (word.empty() || word.back() != '(') word += '(';
  return word;
}

ToolArguments ReadToolArguments(const std::vector<std::string>& args,
                                const std::string& startFolder) {
  ToolArguments result;
  std::string rawWord;
  if (!args.empty()) {
    std::string path = args[0];
    path.erase(path.find_last_not_of(' ') + 1);
    if (!path.empty() && path[0] != '/' && !startFolder.empty()) {
      path = startFolder + (startFolder.back() == '/' ? "" : "/") + path;
    }
    result.MainFile = path;
  }
  if (args.size() > 1 && ParseSelectionRange(args[1], result.Selection)) {
    result.SelectedText = ReadSelectedText(result.MainFile, result.Selection);
  }
  if (args.size() > 2 && !args[2].empty()) rawWord = args[2] + "(";
  struct stat info {};
  if (result.MainFile.empty() || ::stat(result.MainFile.c_str(), &info) != 0) {
    result.MainFile.clear();
  }
  result.CursorWord = DecideCursorWord(rawWord, result.SelectedText);
  return result;
}

Settings SettingsFromEnvironment() {
  Settings settings;
  const char* home = std::getenv("PUREBASIC_HOME");
  settings.PureBasicHome = (home && *home) ? home : PBZ_PUREBASIC_HOME;
  if (settings.PureBasicHome.back() != '/') settings.PureBasicHome += '/';
  const char* ide = std::getenv("PB_TOOL_IDE");
  settings.IdeProgramPath = (ide && *ide) ? ide : PBZ_IDE_PROGRAM;
  return settings;
}

}  // namespace pbz
