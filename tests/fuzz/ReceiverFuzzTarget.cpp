// Arbitrary bytes reach the main window's receiver in arbitrary chunks of 1 to 40 bytes, as a
// byte stream arrives, with the sender and the answer store live. The tail of the input steers
// the run (FuzzedDataProvider takes numbers from the back), so a seed that is a plain recording
// of the bus is played from its front as it stands.
//
// Beside the sanitizers, every chunk checks what must hold between two events whatever came in:
// the receiver rests in a resting state, keeps no more bytes waiting than the frame it expects
// needs, keeps its buffers in byte range, bounds the trace, reports no unhandled error, and
// puts only whole, correct frames on the wire.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/program/ConnectedProgram.h"
#include "toolkit/Text.h"
#include "toolkit/UnhandledErrors.h"

namespace {

constexpr int64_t kTraceCharacters = 1512;
constexpr int32_t kLargestFrame = 36;
// What the two builders can leave in the send buffer: nothing built yet (length 0, checksum
// 0), or the fixed read request of 0 to 30.
const std::string kNothingBuilt(4, '\0');
const std::string kFixedRequest("\x12\x11\x4C\x04\x00\x1E\x00\x91", 8);

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "receiver invariant broken: %s\n", what);
  std::abort();
}

void Require(bool holds, const char* what) {
  if (!holds) Broken(what);
}

program_fixtures::ConnectedProgram& Program() {
  static program_fixtures::ConnectedProgram* program = [] {
    // Any exception leaving a handler is a fault here: nothing the bus sends may raise one.
    toolkit::SetUnhandledErrorSink([](const std::string& line) {
      std::fprintf(stderr, "%s\n", line.c_str());
      Broken("an exception escaped a handler");
    });
    return new program_fixtures::ConnectedProgram();  // lives as long as the fuzzing process
  }();
  return *program;
}

// The link state as a newly built window has it, so that every input runs from the same start.
void ResetLink(program_fixtures::ConnectedProgram& program) {
  WindowMain& w = *program.window;
  w.StatutRS485 = 0;
  w.TrameBufferSize = 0;
  w.TrameBuffer = {};
  w.TrameBufferEmission = {};
  w.TrameBufferEmissionSize = 0;
  w.TrameBufferEEPROM = {};
  w.emissionRequest = false;
  w.reponseHPU = false;
  w.presenceHPU = false;
  w.timeLastDataCV = 0;
  w.timeLastDataHPU = 0;
  w.TextArea1()->SetText("");
  w.CheckBox2()->SetValue(false);
  program.Line().waiting.clear();
  program.Line().written.clear();
  program.environment.clock.SetMilliseconds(0);
}

bool InByteRange(const ByteBuffer& buffer) {
  for (int32_t element : buffer)
    if (element < 0 || element > 255) return false;
  return true;
}

void CheckRestingReceiver(program_fixtures::ConnectedProgram& program) {
  const WindowMain& w = *program.window;
  const auto waiting = static_cast<int64_t>(program.Line().waiting.size());
  switch (w.StatutRS485) {
    case 0:  // Hunting: more than 4 waiting bytes are always either junk or a header to read
    case 1:  // ExpectHeader: a fifth byte starts the header
      Require(waiting <= 4, "bytes left waiting that the receiver could have taken");
      break;
    case 2:  // ExpectBody
      Require(w.TrameBufferSize >= 4 && w.TrameBufferSize <= kLargestFrame, "a frame size out of range");
      Require(waiting < w.TrameBufferSize - 4, "a whole body left waiting");
      break;
    default:
      Broken("a state that must not last from one event to the next");
  }
  Require(InByteRange(w.TrameBuffer) && InByteRange(w.TrameBufferEmission) && InByteRange(w.TrameBufferEEPROM),
          "a buffer element outside 0 to 255");
  Require(toolkit::Len(w.TextArea1()->Text()) <= kTraceCharacters, "a trace above 1512 characters");
}

void CheckWire(const std::string& written) {
  for (size_t at = 0; at < written.size();) {
    const std::string& frame = written.compare(at, kFixedRequest.size(), kFixedRequest) == 0 ? kFixedRequest : kNothingBuilt;
    Require(written.compare(at, frame.size(), frame) == 0, "a frame on the wire that no builder made");
    at += frame.size();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  program_fixtures::ConnectedProgram& program = Program();
  ResetLink(program);
  FuzzedDataProvider input(data, size);
  WindowMain& w = *program.window;
  w.CheckBox2()->SetValue(input.ConsumeBool());  // continuous sending

  while (input.remaining_bytes() > 0) {
    const auto steering = input.ConsumeIntegral<uint8_t>();
    if (steering & 0x40) w.PushButton1_Action(*w.PushButton1());
    // The line takes about 1 ms a byte; a set top bit is a second of silence first.
    const size_t chunkSize = 1 + (steering & 0x3F) % 40;
    const std::string chunk = input.ConsumeBytesAsString(chunkSize);
    const double silence = (steering & 0x80) ? 1000.0 : 0.0;
    program.environment.clock.SetMilliseconds(program.environment.clock.Milliseconds() + silence +
                                              static_cast<double>(chunk.size()));
    program.Line().Arrive(chunk);
    CheckRestingReceiver(program);
  }
  CheckWire(program.Line().written);
  return 0;
}
