#pragma once
// Times the passes of the HPU window's read in the real program, from the outside: the read's
// progress value steps once at the end of every pass of the first read.
#include <QElapsedTimer>
#include <QTimer>
#include <cstdint>
#include <optional>
#include <vector>

class HpuPassWatch {
 public:
  // After `passes` whole passes (from one step of the progress value to the next), prints
  // each pass's duration and a summary line on stdout, then chooses File > Quit.
  explicit HpuPassWatch(int passes);

 private:
  void Poll();
  void Report() const;

  const int passes_;
  QTimer poll_;
  QElapsedTimer clock_;
  std::optional<int32_t> lastValue_;
  std::optional<double> lastStepMilliseconds_;
  std::vector<double> durations_;
};
