#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "toolkit/RealServices.h"
#include "toolkit/Threads.h"

namespace testing_support {
namespace {

template <class T, class Base, class... Args>
T& InstallNew(void (*install)(std::unique_ptr<Base>), Args&... args) {
  auto seam = std::make_unique<T>(args...);
  T& installed = *seam;
  install(std::move(seam));
  return installed;
}

class MemorySerialDevice : public toolkit::SerialDevice {
 public:
  explicit MemorySerialDevice(MemoryLine& line) : line_(line) {
    line_.open = true;
    line_.arrived = [this] {
      if (onBytesArrived) onBytesArrived();
    };
  }
  ~MemorySerialDevice() override { Close(); }
  int64_t BytesAvailable() override { return static_cast<int64_t>(line_.waiting.size()); }
  std::string Peek() override { return line_.waiting; }
  std::string Read(int64_t count) override {
    size_t taken = std::min(static_cast<size_t>(std::max<int64_t>(count, 0)), line_.waiting.size());
    std::string bytes = line_.waiting.substr(0, taken);
    line_.waiting.erase(0, taken);
    return bytes;
  }
  void Write(const std::string& bytes) override { line_.written += bytes; }
  void WaitWritten() override {}
  // Closing drops what was left unread, as the system does.
  void Close() override {
    if (!line_.open) return;
    line_.open = false;
    line_.arrived = nullptr;
    line_.waiting.clear();
  }

 private:
  MemoryLine& line_;
};

}  // namespace

void TestClock::OnMainThreadWaitPass() {
  if (toolkit::OnMainThread()) microseconds_ += 1000.0;
}

TestClock& InstallTestClock() { return InstallNew<TestClock>(toolkit::InstallClock); }
TestFileSystem& InstallTestFileSystem() { return InstallNew<TestFileSystem>(toolkit::InstallFileSystem); }
RecordingDialogs& InstallRecordingDialogs() { return InstallNew<RecordingDialogs>(toolkit::InstallDialogs); }

toolkit::LocalDateTime NormalisedDateTime(const toolkit::LocalDateTime& fields) {
  std::tm when{};
  when.tm_year = fields.year - 1900;
  when.tm_mon = fields.month - 1;
  when.tm_mday = fields.day;
  when.tm_hour = fields.hour;
  when.tm_min = fields.minute;
  when.tm_sec = fields.second;
  const time_t seconds = timegm(&when);
  std::tm out{};
  gmtime_r(&seconds, &out);
  return {out.tm_year + 1900, out.tm_mon + 1, out.tm_mday, out.tm_hour, out.tm_min, out.tm_sec};
}

toolkit::LocalDateTime TestWallClock::Now() {
  // Whole seconds since the set point, carried into minutes, hours and days.
  long long seconds = static_cast<long long>((clock_.Milliseconds() - baseClockMs_) / 1000.0);
  toolkit::LocalDateTime when = base_;
  when.second += static_cast<int>(seconds % 86400);
  when.day += static_cast<int>(seconds / 86400);
  return NormalisedDateTime(when);
}

std::string TestWallClock::LongTime(const toolkit::LocalDateTime& when) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", when.hour, when.minute, when.second);
  return text;
}

void TestWallClock::Set(const toolkit::LocalDateTime& when) {
  base_ = when;
  baseClockMs_ = clock_.Milliseconds();
}

std::optional<std::string> MemorySerialSystem::PortName(int32_t index) {
  if (index < 0 || index >= PortCount()) return std::nullopt;
  return ports_[static_cast<size_t>(index)];
}

std::unique_ptr<toolkit::SerialDevice> MemorySerialSystem::Open(const std::string& name,
                                                                 const toolkit::LineSettings& /*settings*/) {
  if (unopenable_.count(name)) return nullptr;
  return std::make_unique<MemorySerialDevice>(line_);
}

TestDocuments::TestDocuments() {
  char pattern[] = "/tmp/hydromon-test-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("cannot make a temporary folder");
  root_ = pattern;
  folder_ = root_ + "/Documents";
  blocked_ = root_ + "/not-a-folder";
  std::filesystem::create_directory(folder_);
  std::ofstream(blocked_) << "";
}

TestDocuments::~TestDocuments() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::optional<std::string> TestDocuments::DocumentsPath() {
  switch (mode_) {
    case Mode::Missing: return std::nullopt;
    case Mode::ReadOnly: return blocked_;  // a file: creating anything inside it fails, even as root
    case Mode::Normal: break;
  }
  return folder_;
}

namespace {
int64_t FileLength(const std::string& path) {
  std::error_code unknown;
  const uintmax_t length = std::filesystem::file_size(path, unknown);
  return unknown ? 0 : static_cast<int64_t>(length);
}
}  // namespace

TestFileSystem::TestFileSystem() : system_(toolkit::real::MakeFileSystem()) {}

bool TestFileSystem::Interrupted() {
  if (!interrupting_) return false;
  lastInterrupted_ = !lastInterrupted_;
  return lastInterrupted_;
}

int TestFileSystem::Open(const std::string& path, int flags, int& descriptor) {
  return Interrupted() ? EINTR : system_->Open(path, flags, descriptor);
}

int TestFileSystem::Write(int descriptor, std::string_view bytes, size_t& written) {
  written = 0;
  if (Interrupted()) return EINTR;
  if (room_ && *room_ == 0) return ENOSPC;
  if (room_ && static_cast<int64_t>(bytes.size()) > *room_) bytes = bytes.substr(0, static_cast<size_t>(*room_));
  const int error = system_->Write(descriptor, bytes, written);
  if (room_) *room_ -= static_cast<int64_t>(written);
  return error;
}

int TestFileSystem::Size(int descriptor, int64_t& bytes) {
  return Interrupted() ? EINTR : system_->Size(descriptor, bytes);
}

int TestFileSystem::Close(int descriptor) {
  const int error = system_->Close(descriptor);
  return error != 0 ? error : closeError_;
}

int TestFileSystem::Truncate(const std::string& path, int64_t length) {
  if (Interrupted()) return EINTR;
  const int64_t before = FileLength(path);
  const int error = system_->Truncate(path, length);
  if (error == 0) GiveBack(before - length);
  return error;
}

int TestFileSystem::Remove(const std::string& path) {
  if (Interrupted()) return EINTR;
  const int64_t before = FileLength(path);
  const int error = system_->Remove(path);
  if (error == 0) GiveBack(before);
  return error;
}

void TestFileSystem::GiveBack(int64_t bytes) {
  if (room_ && bytes > 0) *room_ += bytes;
}

void ImmediateEventLoop::InitializeFramework(const std::function<void()>& lateStartup) {
  if (failFrameworkInitialization) throw std::runtime_error("framework initialisation failed");
  lateStartup();
}

namespace {
QApplication& OffscreenApplication() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "hydromon-tests";
  static char* argv[] = {name, nullptr};
  // Made once and never destroyed: a static application would go after Qt's own registries
  // (input devices, fonts) at exit, and crash there.
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}
}  // namespace

TestEnvironment::TestEnvironment()
    : clock((OffscreenApplication(), InstallTestClock())),
      wallClock(InstallNew<TestWallClock>(toolkit::InstallWallClock, clock)),
      serial(InstallNew<MemorySerialSystem>(toolkit::InstallSerialSystem)),
      documents(InstallNew<TestDocuments>(toolkit::InstallDocuments)),
      files(InstallTestFileSystem()),
      dialogs(InstallRecordingDialogs()),
      loop(InstallNew<ImmediateEventLoop>(toolkit::runtime::InstallEventLoop)) {
  toolkit::runtime::RuntimeInit(0, nullptr);
}

}  // namespace testing_support
