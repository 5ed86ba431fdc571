// Placeholder until the shell lands.
#include <iostream>

#include "batch/batch.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (auto status = pbz::RunBatchCommandLine(args, std::cout, std::cerr)) return *status;
  return 0;
}
