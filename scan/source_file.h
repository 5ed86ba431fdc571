// Reading a source file and splitting it into lines.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pbz {

// Why a file could not be read, for messages ("No such file or directory",
// "is a folder", ...).
struct ReadError {
  std::string reason;
};

// The whole content of a regular file, read in large blocks and closed before
// returning. Folders, devices, FIFOs and sockets count as unreadable, so an
// include of /dev/zero or of a FIFO cannot hang a scan.
std::optional<std::string> ReadSourceFile(const std::string& path, ReadError* error = nullptr);

// Splits text into lines: LF, CR, CR LF and NUL end a line; the line end is
// not part of the line; a last line without a line end is a line; an empty
// text has no line and a final line end adds no empty line. A UTF-8 byte
// order mark at the very start is skipped.
class LineSplitter {
 public:
  explicit LineSplitter(std::string_view text);
  // The next line, or false at the end of the text.
  bool Next(std::string_view& line);

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

namespace detail {

// The first LF, CR or NUL at or after i (n when none). Splitting lines is
// the bulk of every listing's work, so sixteen bytes are tested at a time,
// and this and Next are inline so that the listings' loops can absorb them.
inline std::size_t FindLineEnd(const char* base, std::size_t i, std::size_t n) {
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i nul = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
    const __m128i ends =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)),
                     _mm_cmpeq_epi8(bytes, nul));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(ends));
    if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(mask));
  }
#endif
  for (; i < n; ++i) {
    const char c = base[i];
    if (c == '\n' || c == '\r' || c == '\0') return i;
  }
  return n;
}

}  // namespace detail

inline bool LineSplitter::Next(std::string_view& line) {
  const std::size_t n = text_.size();
  if (pos_ >= n) return false;
  const char* base = text_.data();
  std::size_t i = detail::FindLineEnd(base, pos_, n);
  line = std::string_view(base + pos_, i - pos_);
  if (i < n) {
    if (base[i] == '\r' && i + 1 < n && base[i + 1] == '\n') ++i;
    ++i;
  }
  pos_ = i;
  return true;
}

// The procedure body tests of every call listing: exact-case prefix tests.
// "Procedure " or "Procedure." at the start.
bool IsProcedureStart(std::string_view line);
// "EndProcedure" at the start; what follows is not looked at.
bool IsProcedureEnd(std::string_view line);

}  // namespace pbz
