#pragma once
// The outside services that tests must control. The real program installs the Qt and
// operating-system implementations (toolkit/Real*.cpp); the scenario runner and the unit
// tests install their own (tests/support/). Each seam holds only what the program calls.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace toolkit {

// --- Clock -------------------------------------------------------------------------------
class ClockSource {
 public:
  virtual ~ClockSource() = default;
  virtual double Microseconds() = 0;
  // One pass of a busy clock wait on the main thread. The real clock moves by itself;
  // a test clock advances here so that such a wait ends.
  virtual void OnMainThreadWaitPass() {}
};

// --- Wall clock --------------------------------------------------------------------------
struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class WallClockSource {
 public:
  virtual ~WallClockSource() = default;
  virtual LocalDateTime Now() = 0;
  // The system's long time-of-day text (with seconds, without a time-zone name).
  virtual std::string LongTime(const LocalDateTime& when) = 0;
};

// --- Serial ports ------------------------------------------------------------------------
// Line settings in the serial component's stored codes (rate code 8 = 9600 bit/s, data-bit
// code 3 = 8 bits, parity code 0 = none, stop-bit code 0 = one).
struct LineSettings {
  int32_t baudCode = 8, bitsCode = 3, parityCode = 0, stopCode = 0;
  bool xon = false, cts = false, dtr = false;
};

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;
  virtual int64_t BytesAvailable() = 0;
  virtual std::string Peek() = 0;                // every waiting byte, none removed
  virtual std::string Read(int64_t count) = 0;   // removes up to count bytes
  virtual void Write(const std::string& bytes) = 0;
  virtual void WaitWritten() = 0;                // until written bytes have left
  virtual void Close() = 0;
  // Called on the main thread when bytes arrived / when the device reports an error.
  std::function<void()> onBytesArrived;
  std::function<void()> onError;
};

class SerialSystem {
 public:
  virtual ~SerialSystem() = default;
  virtual int32_t PortCount() = 0;
  virtual std::optional<std::string> PortName(int32_t index) = 0;  // none when out of range
  // None when the port cannot be opened.
  virtual std::unique_ptr<SerialDevice> Open(const std::string& portName, const LineSettings& settings) = 0;
};

// --- Documents folder --------------------------------------------------------------------
class DocumentsSource {
 public:
  virtual ~DocumentsSource() = default;
  // The folder's path, created when missing; none when it cannot be had.
  virtual std::optional<std::string> DocumentsPath() = 0;
};

// --- Files -------------------------------------------------------------------------------
// The system's file operations under a text stream. Each gives 0 or the error number; any may
// be interrupted by a signal (EINTR), and Write may take fewer bytes than it is given.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // open(2) with these flags, the new file's mode 0666 less the umask.
  virtual int Open(const std::string& path, int flags, int& descriptor) = 0;
  virtual int Write(int descriptor, std::string_view bytes, size_t& written) = 0;
  virtual int Size(int descriptor, int64_t& bytes) = 0;
  virtual int Close(int descriptor) = 0;
  virtual int Truncate(const std::string& path, int64_t length) = 0;
  virtual int Remove(const std::string& path) = 0;
};

// --- Dialogs -----------------------------------------------------------------------------
class DialogService {
 public:
  virtual ~DialogService() = default;
  virtual void MessageBox(const std::string& text) = 0;
  virtual void Beep() = 0;
  // Whether ShowModal waits until the window has closed (the runner never blocks).
  virtual bool ModalShowBlocks() = 0;
  // The toolkit's own window for unhandled errors, apart from the program's message boxes:
  // one at most, never modal. Show opens it with the text, or gives the open one this text;
  // Update only gives the open one this text.
  virtual void ShowErrorReport(const std::string& text) = 0;
  virtual void UpdateErrorReport(const std::string& text) = 0;
};

// Installing a seam replaces the previous implementation; the toolkit owns it.
void InstallClock(std::unique_ptr<ClockSource> clock);
void InstallWallClock(std::unique_ptr<WallClockSource> wallClock);
void InstallSerialSystem(std::unique_ptr<SerialSystem> serial);
void InstallDocuments(std::unique_ptr<DocumentsSource> documents);
void InstallDialogs(std::unique_ptr<DialogService> dialogs);
// The files are the system's own until another is installed: streams serve before start-up.
void InstallFileSystem(std::unique_ptr<FileSystem> files);

// Installs the given implementations for the seams that have none yet (the real program's
// start-up, after a test may have installed its own).
struct SeamFactories {
  std::function<std::unique_ptr<ClockSource>()> clock;
  std::function<std::unique_ptr<WallClockSource>()> wallClock;
  std::function<std::unique_ptr<SerialSystem>()> serial;
  std::function<std::unique_ptr<DocumentsSource>()> documents;
  std::function<std::unique_ptr<DialogService>()> dialogs;
};
void InstallMissingSeams(const SeamFactories& factories);
// Lets go of every installed seam, at the runtime's exit: a service may hold objects of the GUI
// framework (the error report window), which must go before the framework does.
void UninstallSeams();

ClockSource& Clock();
WallClockSource& WallClock();
SerialSystem& SerialPorts();
DocumentsSource& Documents();
DialogService& Dialogs();
FileSystem& Files();

}  // namespace toolkit
