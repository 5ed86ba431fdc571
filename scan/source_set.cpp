#include "scan/source_set.h"

namespace pbz {
// stub: replaced by the source set implementation
SourceSet CollectSourceSet(const std::string& mainFile, const SourceSetOptions&) {
  return {SourceFileEntry{mainFile, {}, 0, kNoParent}};
}
std::optional<std::string> FindSourceByFileName(const SourceSet&, std::string_view) { return {}; }
std::vector<std::int64_t> IncludeChain(const SourceSet&, std::size_t) { return {}; }
}  // namespace pbz
