#include "toolkit/Seams.h"

#include <stdexcept>

#include "toolkit/RealServices.h"

namespace toolkit {
namespace {

struct InstalledSeams {
  std::unique_ptr<ClockSource> clock;
  std::unique_ptr<WallClockSource> wallClock;
  std::unique_ptr<SerialSystem> serial;
  std::unique_ptr<DocumentsSource> documents;
  std::unique_ptr<DialogService> dialogs;
  std::unique_ptr<FileSystem> files = real::MakeFileSystem();
};

InstalledSeams& Seams() {
  static InstalledSeams seams;
  return seams;
}

template <class T>
T& Installed(const std::unique_ptr<T>& seam, const char* what) {
  if (!seam) throw std::logic_error(std::string("no ") + what + " installed");
  return *seam;
}

}  // namespace

void InstallClock(std::unique_ptr<ClockSource> clock) { Seams().clock = std::move(clock); }
void InstallWallClock(std::unique_ptr<WallClockSource> wallClock) { Seams().wallClock = std::move(wallClock); }
void InstallSerialSystem(std::unique_ptr<SerialSystem> serial) { Seams().serial = std::move(serial); }
void InstallDocuments(std::unique_ptr<DocumentsSource> documents) { Seams().documents = std::move(documents); }
void InstallDialogs(std::unique_ptr<DialogService> dialogs) { Seams().dialogs = std::move(dialogs); }
void InstallFileSystem(std::unique_ptr<FileSystem> files) { Seams().files = std::move(files); }

void InstallMissingSeams(const SeamFactories& factories) {
  InstalledSeams& seams = Seams();
  if (!seams.clock) seams.clock = factories.clock();
  if (!seams.wallClock) seams.wallClock = factories.wallClock();
  if (!seams.serial) seams.serial = factories.serial();
  if (!seams.documents) seams.documents = factories.documents();
  if (!seams.dialogs) seams.dialogs = factories.dialogs();
}

void UninstallSeams() { Seams() = InstalledSeams{}; }

ClockSource& Clock() { return Installed(Seams().clock, "clock"); }
WallClockSource& WallClock() { return Installed(Seams().wallClock, "wall clock"); }
SerialSystem& SerialPorts() { return Installed(Seams().serial, "serial system"); }
DocumentsSource& Documents() { return Installed(Seams().documents, "Documents folder"); }
DialogService& Dialogs() { return Installed(Seams().dialogs, "dialog service"); }
FileSystem& Files() { return Installed(Seams().files, "file system"); }

}  // namespace toolkit
