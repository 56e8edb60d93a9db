#pragma once
// The real implementations of the toolkit's seams, over Qt and the operating system.
// Internal to the toolkit: RuntimeInit installs them unless a test installed its own (the
// file system is there from the start).
#include <memory>

#include "toolkit/Application.h"
#include "toolkit/Seams.h"

namespace toolkit::real {

std::unique_ptr<ClockSource> MakeClock();
std::unique_ptr<WallClockSource> MakeWallClock();
std::unique_ptr<SerialSystem> MakeSerialSystem();
std::unique_ptr<DocumentsSource> MakeDocuments();
std::unique_ptr<DialogService> MakeDialogs();
std::unique_ptr<FileSystem> MakeFileSystem();
std::unique_ptr<EventLoop> MakeEventLoop();

}  // namespace toolkit::real
