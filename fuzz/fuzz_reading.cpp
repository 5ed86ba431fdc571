// Line splitting on arbitrary bytes: lines never hold a line end, and every
// byte is either in a line or a line end (or the skipped byte order mark).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scan/source_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  pbz::LineSplitter lines(text);
  std::string_view line;
  std::size_t covered = 0;
  std::size_t count = 0;
  while (lines.Next(line)) {
    if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) std::abort();
    if (line.data() < text.data() || line.data() + line.size() > text.data() + text.size()) {
      std::abort();
    }
    covered += line.size();
    if (++count > size + 1) std::abort();  // more lines than bytes: no progress
    (void)pbz::IsProcedureStart(line);
    (void)pbz::IsProcedureEnd(line);
  }
  if (covered > size) std::abort();
  return 0;
}
