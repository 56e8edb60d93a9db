// The main window's share in the menus: it disables the hidden device menus and their EEPROM
// items when it opens, and binds its handlers to the two EEPROM items by name.
#include "hpu_parameters/WindowHPU.h"
#include "monitor/WindowMain.h"

void WindowMain::Event_Open() {
  SerialPortMenu()->SetEnabled(false);
  ConverterMenu()->SetEnabled(false);
  HPUMenu()->SetEnabled(false);
  HPUEEPROM()->SetEnabled(false);
  ConverterEEPROM()->SetEnabled(false);
}

void WindowMain::AddMenuHandlers(toolkit::Window& window) {
  auto& self = dynamic_cast<WindowMain&>(window);
  self.AddMenuHandler("ConverterEEPROM", [&self] { return self.ConverterEEPROM_Action(); });
  self.AddMenuHandler("HPUEEPROM", [&self] { return self.HPUEEPROM_Action(); });
}

// The system has no reading of the converter's parameter memory.
bool WindowMain::ConverterEEPROM_Action() { return true; }

// Shows the one parameter window modally; the main window's events go on meanwhile.
bool WindowMain::HPUEEPROM_Action() {
  single::WindowHPU()->ShowModal();
  return true;
}
