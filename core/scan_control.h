// How a listing talks to whoever runs it: the Stop button's state and the
// per-line question whether to stop.
#pragma once

#include <cstdint>

namespace pbz {

class ScanControl {
 public:
  virtual ~ScanControl() = default;
  // The listing starts: the window enables Stop.
  virtual void ScanStarted() = 0;
  // The listing ends: the window disables Stop. Listings that leave Stop
  // enabled after a stop do not call this then.
  virtual void ScanEnded() = 0;
  // Called after every source line read; true means the user pressed Stop.
  virtual bool AbortCheck() = 0;
  // Stands for `lines` AbortCheck calls in a row, for a listing that answers
  // lines from memory and adds no row among them. True means Stop was
  // reported somewhere in the run. Asks AbortCheck once: the run takes next
  // to no time, and no row tells where in it the stop fell.
  virtual bool AbortCheckLines(std::int64_t lines) { return lines > 0 && AbortCheck(); }
  // Lets the window draw during work that reads no lines one by one (the
  // all-calls listing reading every file before its first row). Never stops
  // the work: a Stop click waits for the next AbortCheck.
  virtual void KeepAlive() {}
};

// Never stops; for the batch command line.
class RunToEnd : public ScanControl {
 public:
  void ScanStarted() override {}
  void ScanEnded() override {}
  bool AbortCheck() override { return false; }
  bool AbortCheckLines(std::int64_t) override { return false; }
};

// Reports Stop at the given line (the N-th check; never for N <= 0) and records the
// Stop button's state; lets tests stop a listing at an exact line.
class StopAfterLines : public ScanControl {
 public:
  explicit StopAfterLines(std::int64_t lines) : remaining_(lines) {}
  void ScanStarted() override { stopEnabled = true; }
  void ScanEnded() override { stopEnabled = false; }
  bool AbortCheck() override {
    ++linesChecked;
    return remaining_ > 0 && --remaining_ == 0;
  }
  // Exactly as many AbortCheck calls: stops at the same line.
  bool AbortCheckLines(std::int64_t lines) override {
    if (lines <= 0) return false;
    if (remaining_ > 0 && remaining_ <= lines) {
      linesChecked += remaining_;
      remaining_ = 0;
      return true;
    }
    linesChecked += lines;
    if (remaining_ > 0) remaining_ -= lines;
    return false;
  }
  bool stopEnabled = false;
  std::int64_t linesChecked = 0;

 private:
  std::int64_t remaining_;
};

}  // namespace pbz
