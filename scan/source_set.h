// The source set: the main file and every file reached through include
// statements, breadth-first, one entry per include statement.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pbz {

inline constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);

struct SourceFileEntry {
  std::string Path;        // as opened: absolute or relative to the working folder
  std::string IncludedBy;  // file-name part of the including file's Path; empty for the main file
  std::int64_t IncludeLine = 0;    // line of the include statement; 0 for the main file
  std::size_t Parent = kNoParent;  // index of the including entry in the set
};

using SourceSet = std::vector<SourceFileEntry>;

// Upper bound on the number of entries; a set that would grow beyond it (an
// include graph that multiplies, say a chain of files each including the
// next twice) is cut there.
inline constexpr std::size_t kMaxSourceSetEntries = 200000;

// A file the collection could not read, or the bound cutting the set.
struct SourceProblem {
  std::string Path;        // empty for the bound
  std::string IncludedBy;  // file-name part of the including file; empty for the main file
  std::int64_t IncludeLine = 0;
  std::string Reason;
};

struct SourceSetOptions {
  std::string PureBasicHome;  // with a trailing "/"
  // When given, receives every unreadable file (once per path) and the bound.
  std::vector<SourceProblem>* Problems = nullptr;
};

SourceSet CollectSourceSet(const std::string& mainFile, const SourceSetOptions& options);

// The Path of the first entry whose file-name part equals name, letters A-Z
// compared without case; nothing when none does.
std::optional<std::string> FindSourceByFileName(const SourceSet& set, std::string_view name);

// The chain of include-statement lines from the main file down to entry, for
// comparing positions in compile order.
std::vector<std::int64_t> IncludeChain(const SourceSet& set, std::size_t entry);

}  // namespace pbz
