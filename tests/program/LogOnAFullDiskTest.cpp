// The main window's log while the disk fills up and gets room again: the day's file keeps its
// two header lines, each of its lines is one whole record, none twice, and the tick after room
// comes back logs its own time.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/FileContent.h"
#include "tests/support/program/ConnectedProgram.h"
#include "toolkit/Exceptions.h"

namespace {

namespace fs = std::filesystem;

const std::string kHeader = "LOG KORVENAL\r\n  time  ;  U_in[V]; U_out[V]; I_out[A]; P_out[W]; RPM; Temp[0C];\r\n";

class LogOnAFullDisk : public ::testing::Test {
 protected:
  // Every tick a second apart, from when both devices count as silent.
  void SetUp() override { environment().clock.SetMilliseconds(3000); }

  testing_support::TestEnvironment& environment() { return program_.environment; }
  std::string DaysFile() const { return program_.environment.documents.Folder() + "/2024_03_07_LogKorvenal_COM0.csv"; }

  // One logging tick, a second after the last; the error number of the IOException it raised.
  std::optional<int> Tick() {
    WindowMain& window = *program_.window;
    environment().clock.SetMilliseconds(environment().clock.Milliseconds() + 1000);
    const std::string lastTime = window.timeStampLastLog;
    try {
      window.TimerLog_Action(*window.TimerLog());
    } catch (const toolkit::IOException& e) {
      EXPECT_EQ(window.timeStampLastLog, lastTime) << "a tick that failed is tried again";
      return e.ErrorNumber();
    }
    logged_ += window.timeStampLastLog + ";-01.000;-01.000;-01.000;-01.0;-01;-01.0;\r\n";
    return std::nullopt;
  }

  // The day's file holds its header and the record of each tick that went through, in order;
  // or nothing at all, while no tick has got its header in.
  void ExpectTheDaysFileWhole(bool there) {
    ASSERT_EQ(fs::exists(DaysFile()), there);
    if (!there) return;
    EXPECT_EQ(testing_support::FileContent(DaysFile()), kHeader + logged_);
  }

  program_fixtures::ConnectedProgram program_;
  std::string logged_;
};

TEST_F(LogOnAFullDisk, EveryLineStaysOneWholeRecordAndTheTickAfterRoomComesBackLogs) {
  const int64_t headerAndPart = static_cast<int64_t>(kHeader.size()) + 20;
  const struct {
    std::optional<int64_t> room;  // none: as much as the disk takes
    bool fails;
    bool fileThere;
  } ticks[] = {
      {0, true, false},              // no byte of the header
      {30, true, false},             // part of the header
      {headerAndPart, true, true},   // the header, part of the record
      {0, true, true},               // nothing of the record
      {std::nullopt, false, true},   // room again: this tick's record
      {25, true, true},              // part of the next
      {std::nullopt, false, true},
      {std::nullopt, false, true},
  };
  for (const auto& tick : ticks) {
    SCOPED_TRACE(testing::Message() << "room " << tick.room.value_or(-1));
    environment().files.SetRoom(tick.room);
    EXPECT_EQ(Tick(), tick.fails ? std::optional<int>(ENOSPC) : std::nullopt);
    ExpectTheDaysFileWhole(tick.fileThere);
  }
  EXPECT_EQ(program_.window->timeStampLastLog, "10:00:11");
}

// A 16 KiB tmpfs over the Documents folder, in a mount namespace of the process's own, so
// that no one else sees it and it goes with the process at the latest.
class SmallDisk {
 public:
  explicit SmallDisk(std::string folder) : folder_(std::move(folder)) {
    mounted_ = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
               mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=16k") == 0;
  }
  ~SmallDisk() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool Mounted() const { return mounted_; }

  // Another file takes every byte left.
  void Fill() {
    const int descriptor = open(Filler().c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    ASSERT_GE(descriptor, 0);
    const std::string block(4096, 'x');
    while (write(descriptor, block.data(), block.size()) > 0) {
    }
    EXPECT_EQ(errno, ENOSPC);
    close(descriptor);
  }
  void Empty() { fs::remove(Filler()); }

 private:
  std::string Filler() const { return folder_ + "/filler"; }
  std::string folder_;
  bool mounted_ = false;
};

// The same on a real full disk, which gives its room by the page: the record that crosses the
// last page's end is the one cut.
TEST_F(LogOnAFullDisk, OnARealFullDiskEveryLineStaysOneWholeRecord) {
  SmallDisk disk(environment().documents.Folder());
  if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";

  disk.Fill();
  for (int retry = 0; retry < 2; ++retry) {
    EXPECT_EQ(Tick(), ENOSPC);
    ExpectTheDaysFileWhole(false);
  }

  disk.Empty();
  EXPECT_EQ(Tick(), std::nullopt);
  ExpectTheDaysFileWhole(true);

  disk.Fill();
  int logged = 0;
  std::optional<int> failure;
  while (!failure && logged < 10000) {
    failure = Tick();
    if (!failure) ++logged;
    ExpectTheDaysFileWhole(true);
  }
  EXPECT_EQ(failure, ENOSPC);
  EXPECT_GT(logged, 0) << "the last page of the day's file took records";
  EXPECT_EQ(Tick(), ENOSPC);
  ExpectTheDaysFileWhole(true);

  disk.Empty();
  EXPECT_EQ(Tick(), std::nullopt);
  ExpectTheDaysFileWhole(true);
}

}  // namespace
