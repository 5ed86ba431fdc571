#include "batch/batch.h"

namespace pbz {

std::optional<int> RunBatchCommandLine(const std::vector<std::string>&, std::ostream&,
                                       std::ostream&) {
  return std::nullopt;  // stub: replaced by the batch implementation
}

}  // namespace pbz
