// Reading a source file and splitting it into lines.
#pragma once

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

// The procedure body tests of every call listing: exact-case prefix tests.
// "Procedure " or "Procedure." at the start.
bool IsProcedureStart(std::string_view line);
// "EndProcedure" at the start; what follows is not looked at.
bool IsProcedureEnd(std::string_view line);

}  // namespace pbz
