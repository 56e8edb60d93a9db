// Every 500 ms while connected: the stale-data watchdog marks a silent device's values as
// missing, then the log appends one record to the day's CSV file whenever the time of day,
// as the system writes it, has changed. Nothing here catches an exception: a file that
// cannot be written leaves the tick to the report of unhandled errors, and the next tick
// tries again.
#include <string>
#include <vector>

#include "monitor/WindowMain.h"
#include "toolkit/Clock.h"
#include "toolkit/Files.h"
#include "toolkit/Text.h"

namespace {

constexpr int32_t kStaleAfterMilliseconds = 2000;

// One file per day and per port-list index, e.g. 2024_03_07_LogKorvenal_COM0.csv.
std::string LogFileName(const toolkit::Date& day, int32_t portListIndex) {
  return toolkit::Str(day.Year()) + "_" + toolkit::Format(day.Month(), "00") + "_" + toolkit::Format(day.Day(), "00") +
         "_LogKorvenal_COM" + toolkit::Format(portListIndex, "0") + ".csv";
}

// The fields parted by ";", each by its own Write, then the line's closing ";" and line end.
void WriteFieldsLine(toolkit::TextOutputStream& stream, const std::vector<std::string>& fields) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) stream.Write(";");
    stream.Write(fields[i]);
  }
  stream.WriteLine(";");
}

}  // namespace

void WindowMain::TimerLog_Action(toolkit::Timer&) {
  if (ConnectButton()->Caption() != kConnectedCaption) return;

  const int32_t now = toolkit::MillisecondStamp();
  if (toolkit::StampAge(now, timeLastDataCV) > kStaleAfterMilliseconds) stopDataConverter();
  if (toolkit::StampAge(now, timeLastDataHPU) > kStaleAfterMilliseconds) stopDataHPU();

  if (!CheckBoxLog()->Value()) return;
  d = toolkit::New<toolkit::Date>();
  const std::string fileName = LogFileName(*d, SerialPortsPopupMenu()->ListIndex());
  const std::string t = d->LongTime();
  toolkit::Ref<toolkit::FolderItem> file = toolkit::SpecialFolder::Documents()->Child(fileName);
  if (file.IsNil()) return;

  if (!file->Exists()) {
    toolkit::Ref<toolkit::TextOutputStream> stream = toolkit::TextOutputStream::Create(file);
    stream->WriteLine("LOG KORVENAL");
    std::vector<std::string> header = {"  time  ", "  U_in[V]", " U_out[V]", " I_out[A]", " P_out[W]", " RPM", " Temp[0C]"};
    if (presenceHPU) header.insert(header.end(), {"Mode HPU", "Pression (bar)", "Correction pitch"});
    WriteFieldsLine(*stream, header);
    stream->Close();
  }

  if (t == timeStampLastLog) return;
  toolkit::Ref<toolkit::TextOutputStream> stream = toolkit::TextOutputStream::Append(file);
  std::vector<std::string> record = {t,
                                     toolkit::Format(U_in, "00.000"),
                                     toolkit::Format(U_out, "00.000"),
                                     toolkit::Format(I_out, "00.000"),
                                     toolkit::Format(P_out, "00.0"),
                                     toolkit::Format(RPM1, "00"),
                                     toolkit::Format(TempCV, "00.0")};
  if (presenceHPU) record.insert(record.end(), {ModeHPU, toolkit::Format(Pression, "0.00"), Pitch});
  WriteFieldsLine(*stream, record);
  stream->Close();
  timeStampLastLog = t;
}

void WindowMain::stopDataConverter() {
  U_in = -1.0;
  U_out = -1.0;
  I_out = -1.0;
  P_out = -1.0;
  TempCV = -1.0;
  RPM1 = -1;
  RPM2 = -1;
  for (const auto& label : ConverterValueLabels()) label->SetVisible(false);
}

void WindowMain::stopDataHPU() {
  Pression = -1.0;
  ModeHPU = " ";
  Pitch = " ";
  for (const auto& label : HPULabels()) label->SetVisible(false);
  presenceHPU = false;
}
