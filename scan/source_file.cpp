#include "scan/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "scan/file_identity.h"

namespace pbz {

namespace {

// Closes the descriptor on every path.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

bool Fail(ReadError* error, std::string reason) {
  if (error) error->reason = std::move(reason);
  return false;
}

const char* NotRegularReason(mode_t mode) {
  return S_ISDIR(mode) ? "is a folder" : "not a regular file";
}

}  // namespace

std::optional<std::string> ReadSourceFile(const std::string& path, FileIdentity* identity,
                                          ReadError* error) {
  if (path.empty()) {
    Fail(error, "empty file name");
    return std::nullopt;
  }
  // Look before opening: opening a device or a FIFO can block or have side
  // effects, so only regular files are opened at all.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    Fail(error, std::strerror(errno));
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    Fail(error, NotRegularReason(info.st_mode));
    return std::nullopt;
  }
  // O_NONBLOCK keeps a FIFO swapped in after the stat from blocking the open;
  // the fstat below then rejects it.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) {
    Fail(error, std::strerror(errno));
    return std::nullopt;
  }
  if (::fstat(fd.get(), &info) != 0) {
    Fail(error, std::strerror(errno));
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    Fail(error, NotRegularReason(info.st_mode));
    return std::nullopt;
  }
  // Sized from fstat (plus one byte to see the end at once); grows in large
  // blocks when the file grows while it is read.
  std::string content;
  std::size_t capacity = static_cast<std::size_t>(info.st_size) + 1;
  std::size_t used = 0;
  for (;;) {
    if (content.size() < capacity) {
      // A file too large for memory is a file that cannot be read, not a crash.
      try {
        content.resize(capacity);
      } catch (const std::bad_alloc&) {
        Fail(error, "too large to read");
        return std::nullopt;
      }
    }
    const ssize_t got = ::read(fd.get(), content.data() + used, capacity - used);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(error, std::strerror(errno));
      return std::nullopt;
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
    if (used == capacity) capacity += std::max<std::size_t>(capacity / 2, 1 << 20);
  }
  content.resize(used);
  if (identity) {
    identity->Device = static_cast<std::uint64_t>(info.st_dev);
    identity->Inode = static_cast<std::uint64_t>(info.st_ino);
  }
  return content;
}

std::optional<std::string> ReadSourceFile(const std::string& path, ReadError* error) {
  return ReadSourceFile(path, nullptr, error);
}

LineSplitter::LineSplitter(std::string_view text) : text_(text) {
  if (text_.size() >= 3 && text_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
}

bool IsProcedureStart(std::string_view line) {
  return line.size() >= 10 &&
         (line.compare(0, 10, "Procedure ") == 0 || line.compare(0, 10, "Procedure.") == 0);
}

bool IsProcedureEnd(std::string_view line) {
  return line.size() >= 12 && line.compare(0, 12, "EndProcedure") == 0;
}

}  // namespace pbz
