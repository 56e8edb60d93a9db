#pragma once
// The test implementations of the toolkit's seams, installed together: a clock that moves
// only when told, a wall clock tied to it, in-memory serial ports, a temporary Documents
// folder, files on a disk that can fill up, recorded dialogs, and an event loop that returns
// at once.
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Seams.h"

namespace testing_support {

// The date and time the fields stand for, out-of-range fields carried over (61 seconds
// become a minute and a second, day 30 of February the 1st or 2nd of March).
toolkit::LocalDateTime NormalisedDateTime(const toolkit::LocalDateTime& fields);

class TestClock : public toolkit::ClockSource {
 public:
  double Microseconds() override { return microseconds_; }
  // A busy wait on the main thread moves the clock 1 ms a pass, so it ends.
  void OnMainThreadWaitPass() override;
  double Milliseconds() const { return microseconds_ / 1000.0; }
  void SetMilliseconds(double ms) { microseconds_ = ms * 1000.0; }

 private:
  double microseconds_ = 0;
};


// The local date and time: a set starting point that moves with the test clock.
class TestWallClock : public toolkit::WallClockSource {
 public:
  explicit TestWallClock(const TestClock& clock) : clock_(clock) {}
  toolkit::LocalDateTime Now() override;
  std::string LongTime(const toolkit::LocalDateTime& when) override;  // HH:MM:SS
  void Set(const toolkit::LocalDateTime& when);

 private:
  const TestClock& clock_;
  toolkit::LocalDateTime base_{2024, 3, 7, 10, 0, 0};
  double baseClockMs_ = 0;
};

// The bytes on the line of one open in-memory port.
struct MemoryLine {
  std::string waiting;  // arrived, not yet read
  std::string written;  // written by the program, not yet checked
  bool open = false;
  std::function<void()> arrived;  // the open device's data-available notification

  // Bytes come in as a real line delivers them: appended, then one arrival notification.
  void Arrive(std::string_view bytes) {
    waiting.append(bytes);
    if (arrived) arrived();
  }
};

class MemorySerialSystem : public toolkit::SerialSystem {
 public:
  int32_t PortCount() override { return static_cast<int32_t>(ports_.size()); }
  std::optional<std::string> PortName(int32_t index) override;
  std::unique_ptr<toolkit::SerialDevice> Open(const std::string& name, const toolkit::LineSettings& settings) override;

  void SetPorts(std::vector<std::string> names) { ports_ = std::move(names); }
  void MakeUnopenable(const std::string& name) { unopenable_.insert(name); }
  MemoryLine& Line() { return line_; }

 private:
  std::vector<std::string> ports_;
  std::set<std::string> unopenable_;
  MemoryLine line_;
};

class TestDocuments : public toolkit::DocumentsSource {
 public:
  enum class Mode { Normal, Missing, ReadOnly };
  TestDocuments();
  ~TestDocuments() override;
  std::optional<std::string> DocumentsPath() override;
  void SetMode(Mode mode) { mode_ = mode; }
  const std::string& Folder() const { return folder_; }

 private:
  std::string root_;    // a fresh temporary folder
  std::string folder_;  // the Documents folder inside it
  std::string blocked_; // a plain file, standing where a folder should be: nothing can be written below it
  Mode mode_ = Mode::Normal;
};

// The system's files, on a disk that can be told to take only so many more bytes: a write
// beyond them is cut short and the next fails with ENOSPC, while cutting a file back or
// removing it gives its bytes back. When interrupting, every other operation but Close fails
// with EINTR before doing anything (a close is never repeated). Close can be made to report an
// error after closing, as a network file system reports text it could not store.
class TestFileSystem : public toolkit::FileSystem {
 public:
  TestFileSystem();
  int Open(const std::string& path, int flags, int& descriptor) override;
  int Write(int descriptor, std::string_view bytes, size_t& written) override;
  int Size(int descriptor, int64_t& bytes) override;
  int Close(int descriptor) override;
  int Truncate(const std::string& path, int64_t length) override;
  int Remove(const std::string& path) override;

  // None: as much as the real disk takes.
  void SetRoom(std::optional<int64_t> bytes) { room_ = bytes; }
  void SetInterrupting(bool interrupting) { interrupting_ = interrupting; }
  void SetCloseError(int error) { closeError_ = error; }

 private:
  bool Interrupted();
  void GiveBack(int64_t bytes);

  std::unique_ptr<toolkit::FileSystem> system_;
  std::optional<int64_t> room_;
  bool interrupting_ = false;
  bool lastInterrupted_ = false;
  int closeError_ = 0;
};

class RecordingDialogs : public toolkit::DialogService {
 public:
  void MessageBox(const std::string& text) override { messages.push_back(text); }
  void Beep() override { ++beeps; }
  bool ModalShowBlocks() override { return false; }
  // Nobody closes the recorded error report window: once shown, it takes every update.
  void ShowErrorReport(const std::string& text) override { errorReports.push_back(text); }
  void UpdateErrorReport(const std::string& text) override {
    if (!errorReports.empty()) errorReports.back() = text;
  }
  std::deque<std::string> messages;
  int beeps = 0;
  std::vector<std::string> errorReports;  // each showing of the error report window, with its latest text
};

// One test seam installed alone, for tests that need no other.
TestClock& InstallTestClock();
TestFileSystem& InstallTestFileSystem();
RecordingDialogs& InstallRecordingDialogs();

class ImmediateEventLoop : public toolkit::EventLoop {
 public:
  void InitializeFramework(const std::function<void()>& lateStartup) override;
  void Run() override { ++runs; }
  void Quit() override { ++quits; }
  int runs = 0;
  int quits = 0;
  bool failFrameworkInitialization = false;
};

// Installs every test seam and the immediate event loop, and starts the toolkit's runtime
// (an offscreen Qt application) around them.
class TestEnvironment {
 public:
  TestEnvironment();
  TestClock& clock;
  TestWallClock& wallClock;
  MemorySerialSystem& serial;
  TestDocuments& documents;
  TestFileSystem& files;
  RecordingDialogs& dialogs;
  ImmediateEventLoop& loop;
};

}  // namespace testing_support
