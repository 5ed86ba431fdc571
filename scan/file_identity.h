// Reading a source file together with the identity of the file read, so that
// two spellings of one path (./a.pbi, ../dir/a.pbi, a link) are known to be
// the same file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "scan/source_file.h"

namespace pbz {

struct FileIdentity {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  friend bool operator==(FileIdentity a, FileIdentity b) {
    return a.Device == b.Device && a.Inode == b.Inode;
  }
  friend bool operator!=(FileIdentity a, FileIdentity b) { return !(a == b); }
};

// As ReadSourceFile; on success identity (when given) names the file that was
// read.
std::optional<std::string> ReadSourceFile(const std::string& path, FileIdentity* identity,
                                          ReadError* error);

}  // namespace pbz
