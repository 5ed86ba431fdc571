// The three arguments the PureBasic IDE passes to a tool (file, selection,
// word under the cursor) and the settings taken from the environment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pbz {

struct SelectionRange {
  std::int64_t LineStart = 0;
  std::int64_t CharStart = 0;
  std::int64_t LineEnd = 0;
  std::int64_t CharEnd = 0;  // just after the last selected character
};

struct ToolArguments {
  std::string MainFile;
  SelectionRange Selection;
  std::string SelectedText;
  // Always ends with "("; "(" alone means there is no word to look up.
  std::string CursorWord;
};

// Fills range from "LxCxLxC" (exactly three lower-case "x") and tells whether
// the selection lies within one line and is not empty. Leaves range unchanged
// for any other text.
bool ParseSelectionRange(std::string_view text, SelectionRange& range);

// The selected characters of line LineStart of the file; empty when the file
// cannot be read or is shorter.
std::string ReadSelectedText(const std::string& path, const SelectionRange& range);

// The word to look up: the raw word (already ending in "(" when not empty),
// or the selected text when there is no word or the selection is a "#"
// constant of the same length; always ends with "(".
std::string DecideCursorWord(const std::string& rawCursorWord, const std::string& selectedText);

// Steps 3 to 5 of start-up. args are the program's arguments without the
// program name; a relative main file is taken relative to startFolder.
ToolArguments ReadToolArguments(const std::vector<std::string>& args,
                                const std::string& startFolder);

// Settings as PureBasic itself passes them to its tools.
struct Settings {
  std::string PureBasicHome;   // PUREBASIC_HOME, with a trailing "/"
  std::string IdeProgramPath;  // PB_TOOL_IDE
};
Settings SettingsFromEnvironment();

}  // namespace pbz
