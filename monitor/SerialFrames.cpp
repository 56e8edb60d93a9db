// Frames without the port: the checksum of a received or a sent frame, the HPU read request
// and the store of the HPU's answer. The checksum is a plain sum of the bytes before the two
// checksum bytes, modulo 65535, high byte first.
#include "monitor/WindowMain.h"
#include "toolkit/Threads.h"

namespace {

// The sum of the frame's bytes before its checksum, its total size taken from the length
// byte; the other threads may run after each byte.
int32_t SumBeforeChecksum(const ByteBuffer& frame) {
  const int32_t total = FrameSize(frame);
  int32_t sum = 0;
  for (int32_t i = 0; i <= total - 3; ++i) {
    sum += frame.at(static_cast<size_t>(i));
    toolkit::YieldToNextThread();
  }
  return sum;
}

}  // namespace

bool WindowMain::checkCRCreception() {
  return SumBeforeChecksum(TrameBuffer) % 65535 == Word(TrameBuffer, static_cast<size_t>(FrameSize(TrameBuffer) - 2));
}

int32_t WindowMain::calculeCRCemission() { return SumBeforeChecksum(TrameBufferEmission) % 65535; }

namespace {

// Steps 1 to 4 of building a read request: header, addresses, checksum, size.
void BuildReadRequest(WindowMain& window, int32_t start, int32_t end) {
  ByteBuffer& frame = window.TrameBufferEmission;
  frame.at(0) = 18;  // 0x12, the HPU
  frame.at(1) = 17;  // 0x11, this system
  frame.at(2) = 76;  // 0x4C, read request
  frame.at(3) = 4;
  frame.at(4) = start;
  frame.at(5) = end;
  frame.at(6) = (window.calculeCRCemission() >> 8) & 255;
  frame.at(7) = window.calculeCRCemission() & 255;
  window.TrameBufferEmissionSize = FrameSize(frame);
}

}  // namespace

void WindowMain::lectureEEPROM() {
  // A request still pending is withdrawn while it is rebuilt: the checksum's yields would
  // otherwise let the sender take the new addresses with the old checksum.
  emissionRequest = false;
  BuildReadRequest(*this, Adr_debut_lecture, Adr_fin_lecture);
  // Last, so that the sender never takes a request without its checksum.
  emissionRequest = true;
}

void WindowMain::PushButton1_Action(toolkit::PushButton&) {
  emissionRequest = true;
  BuildReadRequest(*this, 0, 30);
}

void WindowMain::stockAnswerHPU() {
  const int32_t total = FrameSize(TrameBuffer);
  for (int32_t i = 0; i <= total - 1; ++i) {
    TrameBufferEEPROM.at(static_cast<size_t>(i)) = TrameBuffer.at(static_cast<size_t>(i));
    toolkit::YieldToNextThread();
  }
  // The answer belongs to the last request sent; kept with it once the copy is whole.
  Adr_debut_reponse = Adr_debut_envoi;
  Adr_fin_reponse = Adr_fin_envoi;
}
