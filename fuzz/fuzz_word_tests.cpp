// The word tests and the normalisation on arbitrary line and term bytes.
// The input is split at its first NUL into term and line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "match/declaration.h"
#include "match/normalise.h"
#include "match/word_tests.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string_view term =
      split == std::string_view::npos ? input.substr(0, 8) : input.substr(0, split);
  const std::string_view line = split == std::string_view::npos ? input : input.substr(split + 1);

  const pbz::TermWordResult hit = pbz::TermWordTest(line, term);
  if (hit.Value != 0 && hit.Value != 3 && hit.Value != -3) std::abort();
  if (term.empty() && hit.Value != 0) std::abort();

  const int call = pbz::CallWordTest(line, term);
  if (call < -1 || call > 1) std::abort();

  const std::string callTerm = pbz::CallTermOf(term);
  if (callTerm.empty() || callTerm.back() != '(') std::abort();
  const std::string normalised = pbz::NormaliseCallLine(line, callTerm);
  if (normalised.size() > line.size()) std::abort();  // it only removes
  (void)pbz::CallWordTest(normalised, callTerm);
  (void)pbz::DeclarationTest(true, line);
  (void)pbz::DeclarationTest(false, line);

  std::string copy(line);
  pbz::OverwriteInPlace(copy, size % 7, term);
  if (copy.size() != line.size()) std::abort();
  return 0;
}
