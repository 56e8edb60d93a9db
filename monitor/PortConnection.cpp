// The serial-port list and the connection: the popup follows the system's ports while no
// port is open, and the Connect button opens or closes the chosen one. The Connection state
// is the button's caption.
#include "monitor/WindowMain.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Threads.h"

void WindowMain::PortListUpdater_Action(toolkit::Timer&) {
  toolkit::Ref<toolkit::PopupMenu> popup = SerialPortsPopupMenu();
  const int32_t oldCount = popup->ListCount();
  // Only the counts are compared: ports swapped between two ticks leave the list as it is.
  if (toolkit::System::SerialPortCount() == oldCount) return;
  popup->DeleteAllRows();
  for (int32_t i = 0; i <= toolkit::System::SerialPortCount() - 1; ++i) {
    toolkit::Ref<toolkit::SerialPort> port = toolkit::System::SerialPort(i);
    if (port.IsNil()) break;  // gone since the count was read: the next tick rebuilds
    popup->AddRow(port->Name());
    toolkit::YieldToNextThread();
  }
  if (toolkit::System::SerialPortCount() < oldCount)
    popup->SetListIndex(0);
  else
    popup->SetListIndex(toolkit::System::SerialPortCount() - 1);
}

void WindowMain::SerialPortsPopupMenu_Change(toolkit::PopupMenu& popup) {
  ConnectButton()->SetEnabled(popup.ListIndex() != -1);
}

void WindowMain::ConnectButton_Action(toolkit::PushButton& button) {
  if (button.Caption() == kConnectedCaption) {
    Serial1()->Close();
    button.SetCaption(kDisconnectedCaption);
    CheckBoxLog()->SetEnabled(false);
    SerialPortsPopupMenu()->SetEnabled(true);
    PortListUpdater()->SetMode(toolkit::Timer::ModeMultiple);
    return;
  }
  toolkit::Ref<toolkit::Serial> serial = Serial1();
  serial->SetSerialPort(toolkit::System::SerialPort(SerialPortsPopupMenu()->ListIndex()));
  if (serial->Open()) {
    button.SetCaption(kConnectedCaption);
    SerialPortsPopupMenu()->SetEnabled(false);
    CheckBoxLog()->SetEnabled(true);
    PortListUpdater()->SetMode(toolkit::Timer::ModeOff);
  } else {
    toolkit::Beep();
    toolkit::MsgBox("The selected serial port could not be opened.");
  }
}

// Errors that the serial control reports are ignored.
void WindowMain::Serial1_Error(toolkit::Serial&) {}
