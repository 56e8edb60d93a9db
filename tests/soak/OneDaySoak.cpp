// One simulated day on a noisy bus, 10:00 to 10:00 the next day, through the scenario runner's
// machinery and its clock (1 ms steps, due timers, threads), with the log on: the converter
// every 250 ms, the HPU every 500 ms, 0.1 % of frame bytes with a flipped bit, a junk burst
// every few minutes, and a clean last hour. Exits 0 when
//  - every second of the day has exactly one CSV record, in the file of its own date, and each
//    of the two files has one header;
//  - no frame with a flipped bit was decoded as a good one;
//  - at least 99 % of the frames that arrived intact were decoded, and every frame of the clean
//    hour was;
//  - the trace never held more than 1512 characters;
//  - the members and labels hold the values of the last good frames.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/scenario/Scenario.h"
#include "tests/soak/SimulatedBus.h"
#include "tests/soak/TraceLines.h"
#include "tests/support/program/StartedProgram.h"
#include "toolkit/Text.h"

namespace {

constexpr int64_t kConnectedAtMs = 500;      // the clock after the set-up below
constexpr int64_t kFirstRecordMs = 1000;     // the first log tick while connected: 10:00:00
constexpr int64_t kDayMs = 86'400'000;
constexpr int64_t kLastMs = kFirstRecordMs + kDayMs - 1;  // before the tick of 10:00:00 next day
constexpr int64_t kCleanFromMs = kLastMs + 1 - 3'600'000;
constexpr int64_t kTraceCharacters = 1512;

const char* const kSetUp = R"(
date 2024-03-07 09:59:59
ports COM1
advance 500
click ConnectButton
expect text ConnectButton "Disconnect"
expect checked CheckBoxLog
)";

void RunScript(scenario::Scenario& s, const std::string& text) {
  std::map<std::string, scenario::Command> commands = scenario::ActingCommands();
  commands.merge(scenario::CheckingCommands());
  std::vector<std::string> known;
  for (const auto& [name, command] : commands) known.push_back(name);
  for (const scenario::ScriptLine& line : scenario::ParseScript(text, known)) {
    try {
      commands.at(line.command)(s, line);
    } catch (const std::exception& failure) {
      throw scenario::Failure("check " + std::to_string(line.number) + ": " + failure.what());
    }
  }
}

struct FrameTally {
  int64_t sent = 0, intact = 0, decodedIntact = 0, clean = 0, decodedClean = 0;
  int64_t decodedDamaged = 0;  // flipped bits that the checksum let through
  std::optional<soak::Transmission> lastGood;  // the last intact frame that was decoded
};

struct DayCounts {
  FrameTally converter, hpu;
  int64_t junkBursts = 0, checksumErrors = 0, junkLines = 0;
  int64_t longestTrace = 0;
};

// Counts a completed frame of one kind, and whether the receiver decoded it: a frame is
// decoded in the very event that brings its last byte, which stamps its kind's time.
void Tally(FrameTally& tally, const soak::Transmission& frame, bool decodedNow) {
  ++tally.sent;
  tally.clean += frame.clean ? 1 : 0;
  if (!frame.intact) {
    tally.decodedDamaged += decodedNow ? 1 : 0;
    return;
  }
  ++tally.intact;
  if (!decodedNow) return;
  ++tally.decodedIntact;
  tally.decodedClean += frame.clean ? 1 : 0;
  tally.lastGood = frame;
}

DayCounts PlayTheDay(scenario::Scenario& s) {
  soak::SimulatedBus bus({.seed = 20240307,
                          .junkBurstsPerMinute = 0.4,
                          .corruptProbability = 0.001,
                          .startMs = kConnectedAtMs,
                          .cleanFromMs = kCleanFromMs});
  WindowMain& window = *s.Main();
  testing_support::MemoryLine& line = s.env.serial.Line();
  DayCounts counts;
  std::string trace = window.TextArea1()->Text();
  for (int64_t ms = kConnectedAtMs + 1; ms <= kLastMs; ++ms) {
    s.Step();
    const std::string bytes = bus.ArrivedBy(ms);
    if (bytes.empty()) continue;
    const int32_t converterStamp = window.timeLastDataCV, hpuStamp = window.timeLastDataHPU;
    line.Arrive(bytes);

    for (const soak::Transmission& done : bus.Completed()) {
      switch (done.kind) {
        case soak::Transmission::Kind::Converter:
          Tally(counts.converter, done, window.timeLastDataCV != converterStamp);
          break;
        case soak::Transmission::Kind::Hpu:
          Tally(counts.hpu, done, window.timeLastDataHPU != hpuStamp);
          break;
        case soak::Transmission::Kind::Junk:
          ++counts.junkBursts;
          break;
      }
    }
    const std::string& now = window.TextArea1()->Text();
    if (now == trace) continue;
    for (const std::string& added : soak::LinesPutInFront(trace, now)) {
      counts.checksumErrors += added == "erreur CRC" ? 1 : 0;
      counts.junkLines += added.rfind(" junk", 0) == 0 ? 1 : 0;
    }
    trace = now;
    counts.longestTrace = std::max(counts.longestTrace, toolkit::Len(trace));
  }
  return counts;
}

std::vector<std::string> FileLines(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string text; std::getline(file, text);) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    lines.push_back(text);
  }
  return lines;
}

std::string TimeOfDay(int64_t secondOfDay) {
  return toolkit::Format(static_cast<double>(secondOfDay / 3600), "00") + ":" +
         toolkit::Format(static_cast<double>(secondOfDay / 60 % 60), "00") + ":" +
         toolkit::Format(static_cast<double>(secondOfDay % 60), "00");
}

// One header, then one record for each second from..to (seconds of the day), in order.
int64_t CheckLogFile(const std::filesystem::path& path, int64_t from, int64_t to) {
  const std::vector<std::string> lines = FileLines(path);
  const auto headers = std::count(lines.begin(), lines.end(), "LOG KORVENAL");
  if (lines.size() < 2 || lines[0] != "LOG KORVENAL" || headers != 1 || lines[1].rfind("  time  ;", 0) != 0)
    throw scenario::Failure(path.filename().string() + " does not begin with exactly one header");
  const auto records = static_cast<int64_t>(lines.size()) - 2;
  if (records != to - from + 1)
    throw scenario::Failure(path.filename().string() + ": expected " + std::to_string(to - from + 1) +
                            " records got " + std::to_string(records));
  for (int64_t second = from; second <= to; ++second) {
    const std::string& record = lines[static_cast<size_t>(2 + second - from)];
    if (record.rfind(TimeOfDay(second) + ";", 0) != 0)
      throw scenario::Failure(path.filename().string() + ": expected the record of " + TimeOfDay(second) +
                              " got \"" + record + "\"");
  }
  return records;
}

void CheckDecoding(const char* kind, const FrameTally& tally) {
  if (tally.decodedDamaged != 0)
    throw scenario::Failure(std::string(kind) + ": " + std::to_string(tally.decodedDamaged) +
                            " damaged frames were decoded as good ones");
  if (tally.decodedIntact * 100 < tally.intact * 99)
    throw scenario::Failure(std::string(kind) + ": fewer than 99 % of the intact frames were decoded");
  if (tally.decodedClean != tally.clean)
    throw scenario::Failure(std::string(kind) + ": a frame of the clean hour was not decoded");
  if (!tally.lastGood) throw scenario::Failure(std::string(kind) + ": no frame was decoded");
}

// The last good frames' values, checked in the scenario language.
std::string LastValuesScript(const soak::ConverterReading& c, const soak::HpuReading& h) {
  using toolkit::Format;
  std::ostringstream script;
  script.precision(17);
  script << "expect member U_in " << c.hydroVolts << "\nexpect member U_out " << c.batteryVolts
         << "\nexpect member I_out " << c.chargingAmps << "\nexpect member P_out " << c.batteryVolts * c.chargingAmps
         << "\nexpect member TempCV " << c.boxCelsius << "\nexpect member RPM1 " << c.rpm
         << "\nexpect text LabelValue_Uin \"" << Format(c.hydroVolts, "0.00")
         << "\"\nexpect text LabelValue_Uout \"" << Format(c.batteryVolts, "0.00")
         << "\"\nexpect text LabelValue_Iout \"" << Format(c.chargingAmps, "0.00")
         << "\"\nexpect text LabelValue_Pout \"" << Format(c.batteryVolts * c.chargingAmps, "000")
         << "\"\nexpect text LabelValue_T \"" << Format(c.boxCelsius, "0.00")
         << "\"\nexpect text LabelValue_RPM \"" << c.rpm << "\"\nexpect visible LabelValue_RPM"
         << "\nexpect member Pression " << h.bar << "\nexpect member ModeHPU \"" << h.mode
         << "\"\nexpect member Pitch \"" << h.pitch << "\"\nexpect member presenceHPU true"
         << "\nexpect text LabelValue_Pression \"" << Format(h.bar, "0.00")
         << "\"\nexpect text LabelValue_ModeHPU \"" << h.mode << "\"\nexpect text LabelValue_Pitch \"" << h.pitch
         << "\"\nexpect visible LabelValue_Pitch\n";
  return script.str();
}

}  // namespace

int main() {
  testing_support::TestEnvironment environment;
  program_fixtures::StartedProgram program;
  int status = 0;
  try {
    scenario::Scenario s(environment);
    RunScript(s, kSetUp);
    const DayCounts day = PlayTheDay(s);

    const std::filesystem::path folder = environment.documents.Folder();
    const auto logFiles = std::distance(std::filesystem::directory_iterator(folder), {});
    const int64_t firstDay = CheckLogFile(folder / "2024_03_07_LogKorvenal_COM0.csv", 10 * 3600, 86'399);
    const int64_t secondDay = CheckLogFile(folder / "2024_03_08_LogKorvenal_COM0.csv", 0, 10 * 3600 - 1);

    std::printf("frames sent:     %lld converter, %lld HPU; %lld junk bursts\n",
                static_cast<long long>(day.converter.sent), static_cast<long long>(day.hpu.sent),
                static_cast<long long>(day.junkBursts));
    std::printf("frames intact:   %lld converter, %lld HPU\n", static_cast<long long>(day.converter.intact),
                static_cast<long long>(day.hpu.intact));
    std::printf("intact decoded:  %lld converter, %lld HPU (clean hour: %lld of %lld, %lld of %lld)\n",
                static_cast<long long>(day.converter.decodedIntact), static_cast<long long>(day.hpu.decodedIntact),
                static_cast<long long>(day.converter.decodedClean), static_cast<long long>(day.converter.clean),
                static_cast<long long>(day.hpu.decodedClean), static_cast<long long>(day.hpu.clean));
    std::printf("damaged decoded: %lld converter, %lld HPU\n", static_cast<long long>(day.converter.decodedDamaged),
                static_cast<long long>(day.hpu.decodedDamaged));
    std::printf("checksum errors: %lld; junk lines: %lld; longest trace: %lld characters\n",
                static_cast<long long>(day.checksumErrors), static_cast<long long>(day.junkLines),
                static_cast<long long>(day.longestTrace));
    std::printf("log records:     %lld on 2024-03-07, %lld on 2024-03-08\n", static_cast<long long>(firstDay),
                static_cast<long long>(secondDay));

    if (logFiles != 2) throw scenario::Failure("expected 2 log files got " + std::to_string(logFiles));
    if (day.longestTrace > kTraceCharacters) throw scenario::Failure("the trace grew past 1512 characters");
    CheckDecoding("converter", day.converter);
    CheckDecoding("HPU", day.hpu);
    RunScript(s, LastValuesScript(*day.converter.lastGood->converter, *day.hpu.lastGood->hpu));
    std::printf("soak passed\n");
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "soak failed: %s\n", failure.what());
    status = 1;
  }
  return status;
}
