// The program on a simulated bus: the real main window in Qt's event loop, the real serial
// path to a pseudo-terminal that bus_simulator plays, the real clocks, and a temporary
// Documents folder for the log. The user's steps go through the window's own controls.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <regex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/Startup.h"
#include "tests/support/CaughtErrorReports.h"
#include "tests/support/FileContent.h"
#include "tests/support/OnePortSerialSystem.h"
#include "tests/support/QtLoop.h"
#include "monitor/WindowMain.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/program/StartedProgram.h"
#include "tests/tools/bus_frames.h"
#include "toolkit/RealServices.h"
#include "toolkit/Text.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

// The converter as the simulator plays it: U_in 24.5 V; second generation U_out 13.8 V and
// I_out 2.5 A; TempCV 25.3 °C; RPM 80 × 15.
constexpr bussim::ConverterWords kConverterWords{245, 13800, 2500, 0, 253, 80, 0};
constexpr auto kConverterStopAfter = 2500ms;
// The record fields after the time: the simulator's values, and the converter missing.
constexpr const char* kValuesFields = "24.500;13.800;02.500;34.5;1200;25.3;";
constexpr const char* kMissingFields = "-01.000;-01.000;-01.000;-01.0;-01;-01.0;";
// Before the first frame, the values the window starts with.
constexpr const char* kStartFields = "00.000;00.000;00.000;00.0;00;00.0;";

bussim::ParameterImage TestImage() {
  bussim::ParameterImage image{};
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(0x40 + i);
  return image;
}

std::string HexOf(const bussim::ParameterImage& image) {
  return toolkit::EncodeHex(std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
}

std::string ConverterWordsOption() {
  std::string words;
  for (uint16_t word : kConverterWords) words += (words.empty() ? "" : ",") + std::to_string(word);
  return words;
}

// The simulator as a child process; its port's path is the first line it prints.
class BusSimulator {
 public:
  explicit BusSimulator(const std::vector<std::string>& options) {
    int output[2];
    if (pipe(output) != 0) throw std::runtime_error("no pipe for bus_simulator");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addclose(&actions, output[1]);
    std::vector<std::string> arguments = {BUS_SIMULATOR_PATH};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&pid_, BUS_SIMULATOR_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    FILE* announced = fdopen(output[0], "r");
    char line[256] = {};
    const bool read = announced && std::fgets(line, sizeof line, announced);
    if (announced) std::fclose(announced);
    if (spawned != 0 || !read) throw std::runtime_error("bus_simulator did not announce its port");
    portPath_ = line;
    portPath_.erase(portPath_.find_last_not_of("\r\n") + 1);
  }
  ~BusSimulator() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  BusSimulator(const BusSimulator&) = delete;
  BusSimulator& operator=(const BusSimulator&) = delete;

  const std::string& PortPath() const { return portPath_; }

 private:
  pid_t pid_ = -1;
  std::string portPath_;
};


// Runs Qt's event loop until done holds or the time is up; gives whether it holds.
bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  return testing_support::RunQtLoopUntil(done, timeout, std::chrono::milliseconds(10));
}

std::vector<std::string> Lines(const std::string& text, const std::string& lineEnd) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(lineEnd, start)) != std::string::npos; start = end + lineEnd.size())
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The trace line of a frame: three-digit decimals, each followed by two blanks.
std::string TraceLine(const bussim::Frame& frame) {
  std::string line;
  char digits[8];
  for (uint8_t byte : frame) {
    std::snprintf(digits, sizeof digits, "%03u  ", byte);
    line += digits;
  }
  return line;
}

std::string TodaysLogName() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char name[64];
  std::snprintf(name, sizeof name, "%d_%02d_%02d_LogKorvenal_COM0.csv", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  return name;
}

class ProgramOnBus : public ::testing::Test {
 protected:
  void SetUp() override {
    toolkit::InstallClock(toolkit::real::MakeClock());
    toolkit::InstallWallClock(toolkit::real::MakeWallClock());
    toolkit::InstallSerialSystem(
        std::make_unique<testing_support::OnePortSerialSystem>(simulator.PortPath()));
    toolkit::runtime::InstallEventLoop(toolkit::real::MakeEventLoop());
  }

  // Starts the program and runs the user's steps inside its event loop, which then ends.
  void RunProgram(const std::function<void(WindowMain&)>& steps) {
    QTimer::singleShot(0, [&] {
      steps(*single::WindowMain());
      toolkit::runtime::Quit();
    });
    Main();
  }

  // Connects the way the user does: the port appears in the list, then Connect.
  static void Connect(WindowMain& window) {
    ASSERT_TRUE(RunUntil([&] { return window.SerialPortsPopupMenu()->ListCount() == 1 && window.ConnectButton()->Enabled(); },
                         3s));
    window.ConnectButton()->Push();
    ASSERT_EQ(window.ConnectButton()->Caption(), "Disconnect");
  }

  std::string LogPath() const { return environment.documents.Folder() + "/" + logName; }

  // The log's time column in the C locale's form, HH:MM:SS, on any machine; set before the
  // application first reads the locale.
  const int cLocale = setenv("LC_ALL", "C.UTF-8", 1);
  // The offscreen application and the temporary Documents folder; the seams the program
  // talks through are the real ones, installed over the environment's.
  testing_support::TestEnvironment environment;
  const bussim::ParameterImage image = TestImage();
  BusSimulator simulator{{"--duration", "30", "--converter-words", ConverterWordsOption(), "--converter-stop-after",
                          std::to_string(kConverterStopAfter.count()), "--image", HexOf(image)}};
  const std::string logName = TodaysLogName();
  testing_support::CaughtErrorReports caught;
  std::vector<std::string>& reports = caught.lines;
  program_fixtures::ProgramLifetime lifetime;  // finishes first, while the rest still stands
};

TEST_F(ProgramOnBus, ShowsTracesAndLogsTheSimulatorsValuesThenMarksTheSilentConverter) {
  RunProgram([&](WindowMain& window) {
    ASSERT_NO_FATAL_FAILURE(Connect(window));
    ASSERT_TRUE(RunUntil([&] { return window.LabelValue_Uin()->Text() == "24.50"; }, 3s));
    EXPECT_EQ(window.LabelValue_Uout()->Text(), "13.80");
    EXPECT_EQ(window.LabelValue_Iout()->Text(), "2.50");
    EXPECT_EQ(window.LabelValue_Pout()->Text(), "035");
    EXPECT_EQ(window.LabelValue_T()->Text(), "25.30");
    EXPECT_EQ(window.LabelValue_RPM()->Text(), "1200");
    EXPECT_TRUE(Contains(Lines(window.TextArea1()->Text(), "\n"), TraceLine(bussim::converterDataFrame(kConverterWords))))
        << window.TextArea1()->Text();

    // The simulator's converter falls silent; more than 2000 ms later it is marked missing.
    ASSERT_TRUE(RunUntil([&] { return !window.LabelValue_Uin()->Visible(); }, kConverterStopAfter + 4s));
    EXPECT_EQ(window.U_in, -1);
    EXPECT_EQ(window.RPM1, -1);
    for (auto label : {window.LabelValue_Uout(), window.LabelValue_Iout(), window.LabelValue_Pout(), window.LabelValue_T(),
                       window.LabelValue_RPM()})
      EXPECT_FALSE(label->Visible());
    EXPECT_TRUE(window.LabelName_Uin()->Visible());
    ASSERT_TRUE(RunUntil([&] { return testing_support::FileContent(LogPath()).find(kMissingFields) != std::string::npos; }, 2s));
  });
  if (TodaysLogName() != logName) GTEST_SKIP() << "the run went across midnight";

  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(environment.documents.Folder()),
                          std::filesystem::directory_iterator()),
            1);
  const std::string content = testing_support::FileContent(LogPath());
  ASSERT_TRUE(content.size() >= 2 && content.substr(content.size() - 2) == "\r\n");
  const std::vector<std::string> lines = Lines(content, "\r\n");
  ASSERT_GE(lines.size(), 4u) << content;
  EXPECT_EQ(lines[0], "LOG KORVENAL");
  EXPECT_EQ(lines[1], "  time  ;  U_in[V]; U_out[V]; I_out[A]; P_out[W]; RPM; Temp[0C];");

  // One record a second, time texts without gaps; the window's start values at most until
  // the first frame, then the simulator's values, then the converter missing.
  const std::regex record(R"((\d\d):(\d\d):(\d\d);(.*))");
  const std::vector<std::string> phases = {kStartFields, kValuesFields, kMissingFields};
  size_t phase = 0;
  int valueRecords = 0;
  int previousSecond = -1;
  for (size_t i = 2; i < lines.size(); ++i) {
    std::smatch field;
    ASSERT_TRUE(std::regex_match(lines[i], field, record)) << lines[i];
    const int second = std::stoi(field[1]) * 3600 + std::stoi(field[2]) * 60 + std::stoi(field[3]);
    if (previousSecond >= 0) {
      EXPECT_EQ((second - previousSecond + 86400) % 86400, 1) << lines[i];
    }
    previousSecond = second;
    while (phase < phases.size() && field[4] != phases[phase]) ++phase;
    ASSERT_LT(phase, phases.size()) << "out of order: " << lines[i];
    if (phase == 0) {
      EXPECT_EQ(i, 2u) << "start values after the first record: " << lines[i];
    }
    if (phase == 1) ++valueRecords;
  }
  EXPECT_EQ(phase, 2u);
  EXPECT_GE(valueRecords, 1);
  EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(ProgramOnBus, AReadRequestBuiltByTheProgramIsAnsweredOverThePort) {
  RunProgram([&](WindowMain& window) {
    ASSERT_NO_FATAL_FAILURE(Connect(window));
    ASSERT_TRUE(RunUntil([&] { return window.LabelValue_Uin()->Text() == "24.50"; }, 3s));
    window.PushButton1()->Push();
    ASSERT_TRUE(RunUntil([&] { return window.reponseHPU; }, 3s));
    const std::vector<std::string> trace = Lines(window.TextArea1()->Text(), "\n");
    EXPECT_TRUE(Contains(trace, " j'emets une trame  ")) << window.TextArea1()->Text();
    EXPECT_TRUE(Contains(trace, "réponse valide")) << window.TextArea1()->Text();
    const bussim::Frame answer = bussim::readAnswer(image, {0, 30});
    const std::vector<int32_t> stored(window.TrameBufferEEPROM.begin(), window.TrameBufferEEPROM.begin() + answer.size());
    EXPECT_EQ(stored, std::vector<int32_t>(answer.begin(), answer.end()));
  });
  EXPECT_TRUE(reports.empty()) << reports.front();
}

}  // namespace
