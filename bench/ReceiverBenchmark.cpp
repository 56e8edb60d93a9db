// Converter frames a second through the main window's data-available handler, fed in step
// from the in-memory port, one whole frame per event as the line delivers it.
//  - WidgetsLive: after every frame the event loop runs, so the labels and the trace reach their
//    Qt widgets (offscreen platform) and the window repaints, with either page in front.
//  - ReceivePath: the handler alone (receive, trace text, checksum, decode, label texts), with
//    no cooperative thread waiting and no event loop between frames.
// Two frames with different values alternate, so every label really changes.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <array>
#include <string>

#include "tests/support/program/ConnectedProgram.h"
#include "tests/tools/bus_frames.h"

namespace {

std::string Bytes(const bussim::Frame& frame) { return std::string(frame.begin(), frame.end()); }

const std::array<std::string, 2> kFrames = {
    Bytes(bussim::converterDataFrame({245, 13800, 2500, 0, 253, 80, 0})),
    Bytes(bussim::converterDataFrame({312, 14210, 1875, 0, 261, 95, 0})),
};

program_fixtures::ConnectedProgram& Program() {
  static program_fixtures::ConnectedProgram program;  // for the whole run; gone before Qt
  return program;
}

// Puts the receiver in step and the chosen page in front.
program_fixtures::ConnectedProgram& ProgramInStep(int page) {
  program_fixtures::ConnectedProgram& program = Program();
  program.window->TabPanel1()->SetValue(page);
  program.Line().Arrive(kFrames[0]);
  QCoreApplication::processEvents();
  return program;
}

void Report(benchmark::State& state, program_fixtures::ConnectedProgram& program) {
  state.SetItemsProcessed(state.iterations());
  // Every frame must have been read whole and handled in step.
  if (program.window->StatutRS485 != 1 || !program.Line().waiting.empty())
    state.SkipWithError("the receiver fell out of step");
}

void BM_ConverterFrames_WidgetsLive(benchmark::State& state) {
  program_fixtures::ConnectedProgram& program = ProgramInStep(static_cast<int>(state.range(0)));
  size_t next = 0;
  for (auto _ : state) {
    program.Line().Arrive(kFrames[next ^= 1]);
    QCoreApplication::processEvents();
  }
  Report(state, program);
}
BENCHMARK(BM_ConverterFrames_WidgetsLive)->ArgName("page")->Arg(0)->Arg(1)->MinTime(2.0);

void BM_ConverterFrames_ReceivePath(benchmark::State& state) {
  program_fixtures::ConnectedProgram& program = ProgramInStep(0);
  size_t next = 0;
  for (auto _ : state) program.Line().Arrive(kFrames[next ^= 1]);
  Report(state, program);
  QCoreApplication::processEvents();
}
BENCHMARK(BM_ConverterFrames_ReceivePath)->MinTime(2.0);

}  // namespace
