#include "app/MainMenuBar.h"

#include <utility>

namespace {

toolkit::Ref<MainMenuBar>& ImplicitInstance() {
  static toolkit::Ref<MainMenuBar> instance;
  return instance;
}

toolkit::Ref<toolkit::MenuItem> MakeItem(const MainMenuBar::Row& row) {
  toolkit::Ref<toolkit::MenuItem> item =
      row.quits ? toolkit::Ref<toolkit::MenuItem>(toolkit::New<toolkit::QuitMenuItem>()) : toolkit::New<toolkit::MenuItem>();
  item->SetName(row.name);
  item->SetAutoEnable(row.autoEnable);
  item->SetText(row.text);
  item->SetVisible(row.visible);
  item->SetKeyboardShortcut(row.shortcut);
  return item;
}

}  // namespace

MainMenuBar::MainMenuBar() {
  Untitled0();
  Untitled1();
  Untitled2();
  Untitled3();
  Untitled4();
}

void MainMenuBar::AddMenu(const Row& menu, std::initializer_list<Row> items) {
  Append(MakeItem(menu));
  for (const Row& row : items) Child(menu.name)->Append(MakeItem(row));
}

void MainMenuBar::Untitled0() {
  AddMenu({"FileMenu", "&File", "", true, true}, {{"FileQuit", "&Quit", "Cmd+Q", true, true, true}});
}

void MainMenuBar::Untitled1() {
  AddMenu({"EditMenu", "&Edit", "", true, true}, {
                                                     {"EditUndo", "&Undo", "Cmd+Z", true, true},
                                                     {"EditSeparator1", "-", "", true, true},
                                                     {"EditCut", "Cu&t", "Cmd+X", true, true},
                                                     {"EditCopy", "&Copy", "Cmd+C", true, true},
                                                     {"EditPaste", "&Paste", "Cmd+V", true, true},
                                                     {"EditClear", "&Delete", "", true, true},
                                                     {"EditSeparator2", "-", "", true, true},
                                                     {"EditSelectAll", "Select &All", "Cmd+A", true, true},
                                                 });
}

void MainMenuBar::Untitled2() {
  AddMenu({"SerialPortMenu", "Serial Port", "", true, false}, {
                                                                  {"ActualSerialPort", "Actual serial port", "", true, true},
                                                                  {"UntitledSeparator", "-", "", true, true},
                                                                  {"SelectSerialPortMenu", "Select Serial Port", "", true, true},
                                                              });
}

void MainMenuBar::Untitled3() {
  AddMenu({"ConverterMenu", "Converter", "", true, false}, {{"ConverterEEPROM", "EEPROM", "", false, false}});
}

void MainMenuBar::Untitled4() {
  AddMenu({"HPUMenu", "HPU", "", true, false}, {{"HPUEEPROM", "EEPROM", "", false, false}});
}

namespace single {

toolkit::Ref<::MainMenuBar> MainMenuBar() {
  toolkit::Ref<::MainMenuBar>& instance = ImplicitInstance();
  // Stored only once the whole tree stands, so a failed build leaves none behind.
  if (instance.IsNil()) instance = toolkit::New<::MainMenuBar>();
  return instance;
}

void ReleaseMainMenuBar() {
  toolkit::Ref<::MainMenuBar> released = std::exchange(ImplicitInstance(), nullptr);
}

}  // namespace single
