// The decoding of the converter's and the HPU's data frames into the live values, and their
// display on the page "Values".
#include "monitor/WindowMain.h"
#include "toolkit/Text.h"

std::array<toolkit::Ref<toolkit::Label>, 6> WindowMain::ConverterValueLabels() const {
  return {LabelValue_Uin(), LabelValue_Uout(), LabelValue_Iout(), LabelValue_Pout(), LabelValue_T(), LabelValue_RPM()};
}

std::array<toolkit::Ref<toolkit::Label>, 6> WindowMain::HPULabels() const {
  return {LabelValue_Pression(), LabelValue_Pitch(), LabelValue_ModeHPU(),
          LabelName_Pression(),  LabelName_Pitch(),  LabelName_ModeHPU()};
}

void WindowMain::refreshDataConverter() {
  U_in = Word(TrameBuffer, 4) / 10.0;
  const int32_t batteryWord = Word(TrameBuffer, 6);
  // The battery voltage's range tells the two generations apart: tenths against thousandths.
  if (batteryWord > 70 && batteryWord < 350) {
    ProtocoleVersion = "V1";
    U_out = batteryWord / 10.0;
    I_out = Word(TrameBuffer, 8) / 10.0;
    TempCV = Word(TrameBuffer, 12) / 10.0;
    RPM1 = Word(TrameBuffer, 14) * 15;
    RPM2 = Word(TrameBuffer, 16) * 15;
  } else if (batteryWord > 7000 && batteryWord < 35000) {
    ProtocoleVersion = "V2";
    U_out = batteryWord / 1000.0;
    I_out = Word(TrameBuffer, 8) / 1000.0;
    TempCV = Word(TrameBuffer, 12) / 10.0;
    RPM1 = Word(TrameBuffer, 14) * 15;
    RPM2 = 0;
  }
  P_out = U_out * I_out;

  // Each label is looked up once: every frame shows them all.
  const auto labels = ConverterValueLabels();
  for (const auto& label : labels) label->SetVisible(true);
  const auto& [uin, uout, iout, pout, temperature, rpm] = labels;
  uin->SetText(toolkit::Format(U_in, "0.00"));
  uout->SetText(toolkit::Format(U_out, "0.00"));
  iout->SetText(toolkit::Format(I_out, "0.00"));
  pout->SetText(toolkit::Format(P_out, "000"));
  temperature->SetText(toolkit::Format(TempCV, "0.00"));
  rpm->SetText(toolkit::Format(toolkit::Max(RPM1, RPM2), "0"));
}

void WindowMain::refreshDataHPU() {
  Pression = Word(TrameBuffer, 4) / 100.0;
  switch (TrameBuffer.at(6)) {
    case 0x00: ModeHPU = "Manuel"; break;
    case 0xFF: ModeHPU = "Auto"; break;
    default: break;  // an unknown mode code leaves the text as it was
  }
  switch (TrameBuffer.at(7)) {
    case 0x00: Pitch = "inactif"; break;
    case 0xF0: Pitch = "pitch moins"; break;
    case 0x0F: Pitch = "pitch plus"; break;
    default: break;
  }
  for (const auto& label : HPULabels()) label->SetVisible(true);
  LabelValue_Pression()->SetText(toolkit::Format(Pression, "0.00"));
  LabelValue_Pitch()->SetText(Pitch);
  LabelValue_ModeHPU()->SetText(ModeHPU);
}
