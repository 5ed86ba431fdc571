// Finding the include statements of one source line and working out the
// file name or folder that each one names. Pure text functions, no file
// access, so they can be tested and fuzzed on their own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pbz {

enum class IncludeKind { kIncludePath, kIncludeFile, kXIncludeFile };

struct IncludeStatement {
  IncludeKind Kind = IncludeKind::kIncludeFile;
  std::string_view Argument;  // the rest of the statement after the keyword
};

// The line cut before its first ";" that is not inside a double-quoted
// literal.
std::string_view CutComment(std::string_view line);

// The include statements of a line whose indentation is already removed, left
// to right: the line is cut before its comment and split into statements at
// each ":" outside a literal; a statement counts when its first word is
// exactly IncludePath, IncludeFile or XIncludeFile followed by a space, a TAB,
// a double quote or "#". The arguments point into line.
void FindIncludeStatements(std::string_view line, std::vector<IncludeStatement>& out);

// The constants an include argument may use.
struct IncludeConstants {
  std::string_view PureBasicHome;     // #PB_Compiler_Home
  std::string_view CompilerFilePath;  // #PB_Compiler_FilePath: folder of the including file
};

struct IncludeTarget {
  std::string Text;
  // True when the text needs no further joining: it is absolute, or it was
  // built from #PB_Compiler_Home or #PB_Compiler_FilePath, which already name
  // a place on their own.
  bool Anchored = false;
};

// The folder named by an IncludePath argument. A sequence of "+"-joined
// terms (literals and the two constants) is concatenated; anything else
// falls back to the plain rule: quotes removed, #PB_Compiler_Home replaced,
// every "+" and every space removed.
IncludeTarget IncludePathFolder(std::string_view argument, const IncludeConstants& constants);

// The file name named by an IncludeFile or XIncludeFile argument. Terms as
// above; otherwise quotes removed and leading and trailing spaces and TABs
// trimmed.
IncludeTarget IncludeFileName(std::string_view argument, const IncludeConstants& constants);

}  // namespace pbz
