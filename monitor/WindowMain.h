#pragma once
// The main window, "Hydrogenerator Monitoring": all state of the serial link and all live
// values are plain members of its single instance.
#include <array>
#include <cstdint>
#include <string>

#include "monitor/ByteBuffer.h"
#include "toolkit/Accessors.h"
#include "toolkit/Controls.h"
#include "toolkit/Date.h"
#include "toolkit/Serial.h"
#include "toolkit/Timer.h"
#include "toolkit/Window.h"

class NSProcessInfoToken;

class WindowMain : public toolkit::Window {
 public:
  static constexpr const char* kRegisteredName = "WindowMain.WindowMain";
  // The Connection state is the caption of ConnectButton: this while a port is open...
  static constexpr const char* kConnectedCaption = "Disconnect";
  // ...and this otherwise.
  static constexpr const char* kDisconnectedCaption = "Connect";
  WindowMain() : toolkit::Window(kRegisteredName) {}
  ~WindowMain() override;

  // --- Members, in declaration order ----------------------------------------------------
  int32_t StatutRS485 = 0;
  int32_t TrameBufferSize = 0;
  ByteBuffer TrameBuffer{};
  double U_in = 0;
  double U_out = 0;
  double I_out = 0;
  int32_t RPM1 = 0;
  double TempCV{};
  double Pression = 0;
  std::string Pitch;
  std::string ModeHPU;
  std::string ProtocoleVersion = "V2";
  int32_t RPM2 = 0;
  toolkit::Ref<toolkit::Date> d;
  bool presenceHPU = false;
  toolkit::Ref<NSProcessInfoToken> token;
  int32_t timeLastDataCV{};
  int32_t timeLastDataHPU{};
  double P_out = 0;
  bool emissionRequest = false;
  ByteBuffer TrameBufferEmission{};
  int32_t TrameBufferEmissionSize = 0;
  bool reponseHPU = false;
  int32_t Adr_debut_lecture = 0;
  int32_t Adr_fin_lecture = 0;
  ByteBuffer TrameBufferEEPROM{};
  // Answers carry no address: the range of the last request sent, and the range of the
  // request that the answer in TrameBufferEEPROM answers (taken from the former when stored).
  int32_t Adr_debut_envoi = 0;
  int32_t Adr_fin_envoi = 0;
  int32_t Adr_debut_reponse = 0;
  int32_t Adr_fin_reponse = 0;
  std::string timeStampLastLog = "00:00:00";

  // --- Construction (layout table) ------------------------------------------------------
  void Layout() override;
  void CreateControls() override;
  void CreateControls0();
  void CreateControls1();

  // --- Controls ---------------------------------------------------------------------------
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Timer, PortListUpdater)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::PopupMenu, SerialPortsPopupMenu)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, Label1)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Serial, Serial1)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::PushButton, ConnectButton)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::TabPanel, TabPanel1)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::TextArea, TextArea1)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelName_Uin)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelName_Uout)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelName_Iout)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelName_Pout)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelName_T)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelName_RPM)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelValue_Uin)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelValue_Uout)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelValue_Iout)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelValue_Pout)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelValue_T)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelValue_RPM)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelName_Pression)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelName_ModeHPU)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelName_Pitch)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelValue_Pression)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelValue_ModeHPU)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelValue_Pitch)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::CheckBox, CheckBoxLog)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Timer, TimerLog)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::CheckBox, CheckBox1)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::PushButton, PushButton1)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::TextField, TextField1)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, Label2)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::CheckBox, CheckBox2)

  // --- Control event handlers -------------------------------------------------------------
  void PortListUpdater_Action(toolkit::Timer& sender);
  void SerialPortsPopupMenu_Change(toolkit::PopupMenu& sender);
  void Serial1_DataAvailable(toolkit::Serial& port);
  void Serial1_Error(toolkit::Serial& sender);
  void ConnectButton_Action(toolkit::PushButton& sender);
  void TimerLog_Action(toolkit::Timer& sender);
  void CheckBox1_Action(toolkit::CheckBox& sender);
  void PushButton1_Action(toolkit::PushButton& sender);

  // --- Menu items -------------------------------------------------------------------------
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, HPUMenu)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, HPUEEPROM)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, ConverterMenu)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, ConverterEEPROM)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, SerialPortMenu)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, SelectSerialPortMenu)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, UntitledSeparator)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, ActualSerialPort)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, EditMenu)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, EditSelectAll)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, EditSeparator2)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, EditClear)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, EditPaste)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, EditCopy)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, EditCut)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, EditSeparator1)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, EditUndo)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::MenuItem, FileMenu)
  TOOLKIT_MENU_ITEM_ACCESSOR(toolkit::QuitMenuItem, FileQuit)

  // --- Window events and menu handlers ----------------------------------------------------
  void AddMenuHandlers(toolkit::Window& window) override;
  void Event_Open() override;
  bool ConverterEEPROM_Action();
  bool HPUEEPROM_Action();

  // --- Methods ------------------------------------------------------------------------------
  void refreshDataConverter();
  void refreshDataHPU();
  bool checkCRCreception();
  void stopDataHPU();
  void stopDataConverter();
  int32_t calculeCRCemission();
  void lectureEEPROM();
  void stockAnswerHPU();

 private:
  // The labels that the converter's and the HPU's data frames show and the watchdog hides.
  std::array<toolkit::Ref<toolkit::Label>, 6> ConverterValueLabels() const;
  std::array<toolkit::Ref<toolkit::Label>, 6> HPULabels() const;
};

namespace single {
// The open main window, created (and built) when none is open.
toolkit::Ref<::WindowMain> WindowMain();
}  // namespace single
