// Include-statement parsing on arbitrary line bytes: every statement found
// points into the line, and the file and folder rules never grow a name
// beyond the line plus the constants.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "scan/include_statement.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::string_view cut = pbz::CutComment(line);
  if (cut.size() > line.size() || cut.data() != line.data()) std::abort();

  std::vector<pbz::IncludeStatement> statements;
  pbz::FindIncludeStatements(line, statements);
  const pbz::IncludeConstants constants{"/opt/purebasic/", "/src/sub/"};
  // Each constant may stand once per two bytes of input at most ("#P..."
  // takes far more), so this bounds any honest expansion.
  const std::size_t bound = line.size() + 64;
  for (const pbz::IncludeStatement& statement : statements) {
    if (statement.Argument.data() < line.data() ||
        statement.Argument.data() + statement.Argument.size() > line.data() + line.size()) {
      std::abort();
    }
    const pbz::IncludeTarget folder = pbz::IncludePathFolder(statement.Argument, constants);
    const pbz::IncludeTarget file = pbz::IncludeFileName(statement.Argument, constants);
    if (folder.Text.size() > bound * 2 || file.Text.size() > bound * 2) std::abort();
  }
  return 0;
}
