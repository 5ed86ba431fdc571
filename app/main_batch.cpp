// The program built without GTK: the batch command line only.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (auto status = pbz::RunBatchCommandLine(args, std::cout, std::cerr)) return *status;
  std::cerr << "pbzetrolin: this build has no window; use --list (see --help)\n";
  return 2;
}
