// The link layer: the data-available handler finds, reads, traces, tests and dispatches
// frames, and sends a pending request by the send rule. Its progress from one event to the
// next is held in StatutRS485.
#include <string_view>

#include "monitor/WindowMain.h"
#include "toolkit/Clock.h"
#include "toolkit/Text.h"
#include "toolkit/Threads.h"

namespace {

enum ReceiverState : int32_t {
  Hunting = 0,
  ExpectHeader = 1,
  ExpectBody = 2,
  FrameComplete = 3,
  FrameHandled = 4,
  SendPending = 5,
};

// The first three bytes of a data frame of the converter and of the HPU.
constexpr std::string_view kConverterHeader{"\x00\x01\x10", 3};
constexpr std::string_view kHPUHeader{"\x00\x12\x10", 3};
constexpr int64_t kTraceCharacters = 1512;
constexpr int32_t kLargestFrame = 36;

// Removes one byte and gives its value, 0 to 255; 0 when none is waiting.
int32_t ReadByteValue(toolkit::Serial& port) {
  const std::string byte = port.Read(1);
  return byte.empty() ? 0 : static_cast<unsigned char>(byte[0]);
}

bool Starts(const ByteBuffer& frame, std::initializer_list<int32_t> header) {
  size_t i = 0;
  for (int32_t byte : header)
    if (frame.at(i++) != byte) return false;
  return true;
}

}  // namespace

namespace trace {

// The newest line on top; only the newest 1512 characters are kept, after every line.
void PutLine(toolkit::TextArea& area, const std::string& line) {
  area.SetText(toolkit::Left(line + "\n" + area.Text(), kTraceCharacters));
}

}  // namespace trace

void WindowMain::Serial1_DataAvailable(toolkit::Serial& port) {
  toolkit::Ref<toolkit::TextArea> traceArea = TextArea1();

  // 1. Where the data-frame headers stand among the waiting bytes (from 1; 0: absent). Only
  // steps 2 to 5 read them, each while hunting, and none of 2 to 4 ends the hunt: in step, the
  // waiting bytes need no search.
  int64_t C = 0;
  int64_t H = 0;
  if (StatutRS485 == Hunting) {
    const std::string waiting = port.LookAhead();
    C = toolkit::InStr(waiting, kConverterHeader);
    H = toolkit::InStr(waiting, kHPUHeader);
  }

  // 2 to 4. While hunting, bytes that are no header, or stand before one, are junk.
  if (StatutRS485 == Hunting && C == 0 && H == 0 && port.BytesAvailable() > 4)
    trace::PutLine(*traceArea, " junk1:" + toolkit::EncodeHex(port.ReadAll()));
  if (StatutRS485 == Hunting && C > 1 && (H == 0 || C < H) && port.BytesAvailable() > 4)
    trace::PutLine(*traceArea, " junk2:" + toolkit::EncodeHex(port.Read(C - 1)));
  if (StatutRS485 == Hunting && H > 1 && (C == 0 || H < C) && port.BytesAvailable() > 4)
    trace::PutLine(*traceArea, " junk3:" + toolkit::EncodeHex(port.Read(H - 1)));

  // 5. A header found by hunting: only a plausible size brings the receiver in step.
  if ((C == 1 || H == 1) && port.BytesAvailable() >= 4 && StatutRS485 == Hunting) {
    for (size_t i = 0; i < 4; ++i) TrameBuffer.at(i) = ReadByteValue(port);
    TrameBufferSize = FrameSize(TrameBuffer);
    if (TrameBufferSize >= 6 && TrameBufferSize <= kLargestFrame) StatutRS485 = ExpectBody;
  }

  // 6. In step, the next bytes are the header; one extra leading 00 is skipped.
  if (port.BytesAvailable() > 4 && StatutRS485 == ExpectHeader) {
    TrameBuffer.at(0) = ReadByteValue(port);
    TrameBuffer.at(1) = ReadByteValue(port);
    if (TrameBuffer.at(0) == 0 && TrameBuffer.at(1) == 0) TrameBuffer.at(1) = ReadByteValue(port);
    TrameBuffer.at(2) = ReadByteValue(port);
    TrameBuffer.at(3) = ReadByteValue(port);
    TrameBufferSize = FrameSize(TrameBuffer);
    if (TrameBufferSize <= kLargestFrame) {
      StatutRS485 = ExpectBody;
    } else {
      StatutRS485 = Hunting;
      std::string header;
      for (size_t i = 0; i < 4; ++i) header += static_cast<char>(TrameBuffer.at(i));
      trace::PutLine(*traceArea, " junk4:" + toolkit::EncodeHex(header));
    }
  }

  // 7. The body, once it has all arrived; every frame read whole is traced.
  if (port.BytesAvailable() >= TrameBufferSize - 4 && StatutRS485 == ExpectBody) {
    for (int32_t i = 4; i <= TrameBufferSize - 1; ++i) {
      TrameBuffer.at(static_cast<size_t>(i)) = ReadByteValue(port);
      toolkit::YieldToNextThread();
    }
    std::string line;
    line.reserve(static_cast<size_t>(TrameBufferSize) * 5);
    for (int32_t i = 0; i <= TrameBufferSize - 1; ++i) {
      line += toolkit::Format(TrameBuffer.at(static_cast<size_t>(i)), "000");
      line += "  ";
      toolkit::YieldToNextThread();
    }
    trace::PutLine(*traceArea, line);
    StatutRS485 = FrameComplete;
  }

  // 8. Checksum, then dispatch by kind.
  if (StatutRS485 == FrameComplete) {
    if (!checkCRCreception()) {
      trace::PutLine(*traceArea, "erreur CRC");
      StatutRS485 = Hunting;
    } else {
      if (Starts(TrameBuffer, {0x00, 0x01, 0x10, 0x10})) {
        refreshDataConverter();
        timeLastDataCV = toolkit::MillisecondStamp();
      } else if (Starts(TrameBuffer, {0x00, 0x12, 0x10, 0x07})) {
        refreshDataHPU();
        presenceHPU = true;
        timeLastDataHPU = toolkit::MillisecondStamp();
      } else if (Starts(TrameBuffer, {0x11, 0x12, 0x42})) {
        stockAnswerHPU();
        reponseHPU = true;
        trace::PutLine(*traceArea, "réponse valide");
      }
      StatutRS485 = FrameHandled;
    }
  }

  // 9. Whether a pending request goes now: with an HPU on the bus, only right after its data
  // frame (the later of the two stamps, told by their ages, so also once 2^31 ms have passed).
  if (StatutRS485 == FrameHandled) {
    bool go = emissionRequest;
    if (!go) go = CheckBox2()->Value();
    if (!go) {
      StatutRS485 = ExpectHeader;
    } else if (!presenceHPU) {
      StatutRS485 = SendPending;
    } else {
      const int32_t now = toolkit::MillisecondStamp();
      StatutRS485 =
          toolkit::StampAge(now, timeLastDataHPU) < toolkit::StampAge(now, timeLastDataCV) ? SendPending : ExpectHeader;
    }
  }

  // 10. The send, not before the delay after the HPU's data frame.
  if (StatutRS485 == SendPending) {
    const auto delay = static_cast<int32_t>(static_cast<uint32_t>(toolkit::CLong(TextField1()->Text())));
    TrameBufferEmissionSize = FrameSize(TrameBufferEmission);
    // Copied whole, without a yield, so a rebuild by the worker cannot mix two requests.
    std::string frame;
    for (int32_t i = 0; i <= TrameBufferEmissionSize - 1; ++i)
      frame += toolkit::Encodings::ASCII.Chr(TrameBufferEmission.at(static_cast<size_t>(i)));
    Adr_debut_envoi = TrameBufferEmission.at(4);
    Adr_fin_envoi = TrameBufferEmission.at(5);
    while (toolkit::StampAge(toolkit::MillisecondStamp(), timeLastDataHPU) < delay) toolkit::WaitPass();
    port.Write(frame);
    port.XmitWait();
    trace::PutLine(*traceArea, " j'emets une trame  ");
    emissionRequest = false;
    StatutRS485 = ExpectHeader;
  }
}
