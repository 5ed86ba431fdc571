#include "scan/source_set.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "core/text.h"
#include "scan/file_identity.h"
#include "scan/include_statement.h"
#include "scan/source_file.h"

namespace pbz {

namespace {

// One include statement of a file, its argument already worked out. The
// argument depends only on the file's own path (#PB_Compiler_FilePath) and
// the home folder, so it can be kept per path.
struct FoundInclude {
  std::int64_t Line = 0;
  bool IsFolder = false;  // IncludePath
  IncludeTarget Target;
};

struct ScannedFile {
  bool Readable = false;
  std::string Reason;  // why it could not be read
  FileIdentity Identity;
  std::vector<FoundInclude> Includes;
};

ScannedFile ScanFile(const std::string& path, const SourceSetOptions& options) {
  ScannedFile file;
  ReadError error;
  const std::optional<std::string> content = ReadSourceFile(path, &file.Identity, &error);
  if (!content) {
    file.Reason = std::move(error.reason);
    return file;
  }
  file.Readable = true;
  const IncludeConstants constants{options.PureBasicHome, FolderPart(path)};
  LineSplitter lines(*content);
  std::string_view line;
  std::vector<IncludeStatement> statements;
  for (std::int64_t number = 1; lines.Next(line); ++number) {
    FindIncludeStatements(TrimLeadingBlanks(line), statements);
    for (const IncludeStatement& statement : statements) {
      FoundInclude found;
      found.Line = number;
      found.IsFolder = statement.Kind == IncludeKind::kIncludePath;
      found.Target = found.IsFolder ? IncludePathFolder(statement.Argument, constants)
                                    : IncludeFileName(statement.Argument, constants);
      file.Includes.push_back(std::move(found));
    }
  }
  return file;
}

// Whether the file of `entry` is already one of the files that led to it.
bool IsInOwnChain(const SourceSet& set, const std::vector<const ScannedFile*>& files,
                  std::size_t entry, FileIdentity identity) {
  for (std::size_t up = set[entry].Parent; up != kNoParent; up = set[up].Parent) {
    if (files[up] && files[up]->Identity == identity) return true;
  }
  return false;
}

}  // namespace

SourceSet CollectSourceSet(const std::string& mainFile, const SourceSetOptions& options) {
  SourceSet set;
  set.push_back(SourceFileEntry{mainFile, {}, 0, kNoParent});
  // A file included many times is read and scanned once per collection;
  // the map's nodes keep the pointers below valid.
  std::unordered_map<std::string, ScannedFile> scanned;
  std::vector<const ScannedFile*> files;  // per entry, once visited
  std::string includeFolder;
  for (std::size_t cursor = 0; cursor < set.size(); ++cursor) {
    auto found = scanned.find(set[cursor].Path);
    if (found == scanned.end()) {
      found = scanned.emplace(set[cursor].Path, ScanFile(set[cursor].Path, options)).first;
      if (!found->second.Readable && options.Problems) {
        const SourceFileEntry& entry = set[cursor];
        options.Problems->push_back(
            SourceProblem{entry.Path, entry.IncludedBy, entry.IncludeLine, found->second.Reason});
      }
    }
    const ScannedFile& file = found->second;
    files.resize(set.size(), nullptr);
    files[cursor] = &file;
    // An unreadable file is skipped; the others are still collected. A file
    // that includes itself, directly or through others, is listed but not
    // followed again.
    if (!file.Readable || IsInOwnChain(set, files, cursor, file.Identity)) continue;
    // Copies: the set may move its strings while it grows.
    const std::string folder(FolderPart(set[cursor].Path));
    const std::string includedBy(FileNamePart(set[cursor].Path));
    for (const FoundInclude& include : file.Includes) {
      const std::string& text = include.Target.Text;
      if (include.IsFolder) {
        includeFolder = (text.empty() || include.Target.Anchored) ? text : folder + text;
        continue;
      }
      if (text.empty()) continue;
      // The bound: a set that multiplies beyond reason is cut here.
      if (set.size() >= kMaxSourceSetEntries) {
        if (options.Problems) {
          options.Problems->push_back(SourceProblem{
              {},
              includedBy,
              include.Line,
              "include files beyond " + std::to_string(kMaxSourceSetEntries) + " left out"});
        }
        return set;
      }
      std::string path;
      if (include.Target.Anchored) {
        path = text;
      } else if (!includeFolder.empty()) {
        path = includeFolder + "/" + text;
      } else {
        path = folder + text;
      }
      set.push_back(SourceFileEntry{std::move(path), includedBy, include.Line, cursor});
    }
  }
  return set;
}

std::optional<std::string> FindSourceByFileName(const SourceSet& set, std::string_view name) {
  for (const SourceFileEntry& entry : set) {
    if (EqualsIgnoreAsciiCase(FileNamePart(entry.Path), name)) return entry.Path;
  }
  return std::nullopt;
}

std::vector<std::int64_t> IncludeChain(const SourceSet& set, std::size_t entry) {
  std::vector<std::int64_t> chain;
  // Parents always come before their children; anything else is a broken set.
  while (entry < set.size() && set[entry].Parent < entry) {
    chain.push_back(set[entry].IncludeLine);
    entry = set[entry].Parent;
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

}  // namespace pbz
