// Shared by the tests of the listings that open or take over pages: a
// control that records the Stop button and stops at a given check, rows as
// short texts, and a fixture with a scratch folder, a source set and pages.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/row.h"
#include "core/scan_control.h"
#include "pages/page_host.h"
#include "scan/source_set.h"
#include "scratch_folder.h"

namespace pbz {

// Records what a listing tells the Stop button and stops at a given check
// (never for 0).
class RecordingControl : public ScanControl {
 public:
  explicit RecordingControl(std::int64_t stopAt = 0) : stopAt_(stopAt) {}
  void ScanStarted() override { ++started; }
  void ScanEnded() override { ++ended; }
  bool AbortCheck() override {
    ++checks;
    if (onCheck) onCheck();
    return checks == stopAt_;
  }
  int started = 0;
  int ended = 0;
  std::int64_t checks = 0;
  std::function<void()> onCheck;

 private:
  std::int64_t stopAt_;
};

// "Line|Calls|Count|Function|File|r,g,b|red", enough to tell rows apart.
inline std::string Describe(const Row& row) {
  std::string text;
  for (const std::string& cell : row.cells) text += cell + "|";
  if (row.background) {
    text += std::to_string(row.background->r) + "," + std::to_string(row.background->g) + "," +
            std::to_string(row.background->b);
  }
  if (row.text[kCalls]) text += "|red";
  return text;
}

inline std::vector<std::string> Describe(const MemoryPages::Page& page) {
  std::vector<std::string> out;
  for (const Row& row : page.List.Rows()) out.push_back(Describe(row));
  return out;
}

using Lines = std::vector<std::string>;
inline const std::string kSep = "|||||";

class ListingTest : public testing::Test {
 protected:
  // Writes a fixture file and adds it to the source set.
  void Add(const std::string& name, const std::string& content) {
    set_.push_back(SourceFileEntry{scratch_.Write(name, content), {}, 0, kNoParent});
  }

  ScratchFolder scratch_;
  const std::string dir_ = scratch_.Root();
  SourceSet set_;
  MemoryPages pages_;
};

}  // namespace pbz
