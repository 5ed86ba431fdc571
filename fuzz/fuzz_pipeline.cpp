// The whole pipeline: the input becomes a small tree of files (main.pb and
// up to three includes, split at the byte 0x01), and every listing of the
// batch command line runs on it in every format.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch.h"

namespace {

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    char name[] = "/tmp/pbz-fuzz-XXXXXX";
    const char* made = mkdtemp(name);
    if (!made) std::abort();
    return std::string(made);
  }();
  return folder;
}

void WriteFile(const std::string& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string& dir = ScratchFolder();
  static const char* const kNames[] = {"main.pb", "a.pbi", "b.pbi", "sub/c.pbi"};
  static const bool madeSub = [&] { return ::mkdir((dir + "/sub").c_str(), 0700) == 0; }();
  (void)madeSub;
  std::size_t start = 0;
  for (const char* name : kNames) {
    std::size_t end = input.find('\x01', start);
    if (end == std::string_view::npos) end = input.size();
    WriteFile(dir + "/" + name,
              input.substr(std::min(start, input.size()), end - std::min(start, input.size())));
    start = end == input.size() ? end : end + 1;
  }
  const std::string main = dir + "/main.pb";
  // A word from the input, so that calls and terms hit something sometimes.
  std::string word;
  for (char c : input.substr(0, 64)) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
      word += c;
    else if (!word.empty())
      break;
  }
  const std::vector<std::vector<std::string>> runs = {
      {"--list", "procedures", "--format", "jsonl", main},
      {"--list", "calls", word, "--format", "grep", main},
      {"--list", "terms", word, "--format", "tsv", main},
      {"--list", "all-calls", "--format", "jsonl", main},
      {"--list", "declares", main},
  };
  for (const auto& args : runs) {
    std::ostringstream out, err;
    const auto status = pbz::RunBatchCommandLine(args, out, err);
    if (!status || (*status != 0 && *status != 1)) std::abort();
  }
  return 0;
}
