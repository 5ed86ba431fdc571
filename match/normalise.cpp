#include "match/normalise.h"

#include <cstring>

#include "core/text.h"
#include "match/normalise_view.h"

namespace pbz {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// The text before the first ";" that stands outside parentheses and string
// literals. Parentheses inside literals still count, as they always have.
std::string_view CutComment(std::string_view text) {
  if (std::memchr(text.data(), ';', text.size()) == nullptr) return text;
  long depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case '(':
        ++depth;
        break;
      case ')':
        --depth;
        break;
      case '"':
        inString = !inString;
        break;
      case ';':
        if (depth == 0 && !inString) return text.substr(0, i);
        break;
      default:
        break;
    }
  }
  return text;
}

// The key is the call term without its "(" followed by a space: "Name ".
std::size_t FindKey(std::string_view text, std::string_view stem, std::size_t from) {
  while (from <= text.size()) {
    const std::size_t at = text.find(stem, from);
    if (at == kNone || at + stem.size() >= text.size()) return kNone;
    if (text[at + stem.size()] == ' ') return at;
    from = at + 1;
  }
  return kNone;
}

// Every " (" from `from` on becomes "(", left to right, without looking at
// the replaced text again.
void CloseUpFrom(std::string& text, std::size_t from) {
  std::size_t write = from;
  std::size_t read = from;
  const std::size_t n = text.size();
  while (read < n) {
    if (text[read] == ' ' && read + 1 < n && text[read + 1] == '(') {
      text[write++] = '(';
      read += 2;
    } else {
      text[write++] = text[read++];
    }
  }
  text.resize(write);
}

}  // namespace

std::string_view NormaliseCallLineInto(std::string_view line, std::string_view callTerm,
                                       std::string& scratch) {
  const std::string_view stem =
      callTerm.empty() ? std::string_view{} : callTerm.substr(0, callTerm.size() - 1);
  std::string_view text = CutComment(TrimLeadingBlanks(line));

  std::size_t d = FindKey(text, stem, 0);
  if (d == kNone || text.find(" (", d) == kNone) return text;

  scratch.assign(text);
  while (d != kNone) {
    if (scratch.find(" (", d) == kNone) break;
    CloseUpFrom(scratch, d);
    d = FindKey(scratch, stem, d);
  }
  return scratch;
}

std::string NormaliseCallLine(std::string_view line, std::string_view callTerm) {
  std::string scratch;
  const std::string_view result = NormaliseCallLineInto(line, callTerm, scratch);
  if (!scratch.empty() && result.data() == scratch.data()) return scratch;
  return std::string(result);
}

std::string CallTermOf(std::string_view procedureText) {
  const std::string_view name = procedureText.substr(0, procedureText.find('('));
  std::string term;
  term.reserve(name.size() + 1);
  for (const char c : name) {
    if (c != ' ') term.push_back(c);
  }
  term.push_back('(');
  return term;
}

}  // namespace pbz
