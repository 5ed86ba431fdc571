// Byte-text helpers shared by every listing. Source text is kept as bytes,
// one byte per character; conversion for display happens only at the edges.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pbz {

// The text-to-integer rule: leading spaces and TABs skipped, optional sign,
// "$" hexadecimal or "%" binary digits after the sign, decimal otherwise,
// up to the first other character; no digits give 0. Saturates at the
// int64 limits instead of overflowing.
std::int64_t TextToInteger(std::string_view text);

// Everything after the last "/" (the whole text when there is none).
std::string_view FileNamePart(std::string_view path);
// Everything up to and including the last "/" (empty when there is none).
std::string_view FolderPart(std::string_view path);

// Leading spaces and TABs removed, in any mix. Inline: it runs on every line.
inline std::string_view TrimLeadingBlanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  return text.substr(i);
}
// Trailing spaces and TABs removed.
std::string_view TrimTrailingBlanks(std::string_view text);

// A-Z/a-z folding only; other bytes compare as they are.
inline char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Line number right-aligned in a field of 6, padded on the left with spaces;
// longer numbers are shown whole.
std::string PadLineNumber(std::int64_t line);

// Every occurrence of `from` replaced by `to`, left to right, no re-scan.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

bool IsValidUtf8(std::string_view text);
// Text as the user should see it: valid UTF-8 stays as it is, anything else
// is taken as ISO-8859-15 and converted to UTF-8.
std::string ToDisplay(std::string_view text);
// The same, line by line: a text gathered from several files (the declaration
// block) may mix UTF-8 lines with ISO-8859-15 ones.
std::string ToDisplayByLine(std::string_view text);

}  // namespace pbz
