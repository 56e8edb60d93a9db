#include "app/MainMenuBar.h"

#include <utility>

namespace {

toolkit::Ref<MainMenuBar>& ImplicitInstance() {
  static toolkit::Ref<MainMenuBar> instance;
  return instance;
}

toolkit::Ref<toolkit::MenuItem> MakeItem(const MainMenuBar::Row& row) {
  toolkit::Ref<toolkit::MenuItem> item = row.kind == MainMenuBar::ItemKind::Quit
                                             ? toolkit::Ref<toolkit::MenuItem>(toolkit::New<toolkit::QuitMenuItem>())
                                             : toolkit::New<toolkit::MenuItem>();
  item->SetName(row.name);
  item->SetAutoEnable(row.enabling == MainMenuBar::Enabling::Automatic);
  item->SetText(row.text);
  item->SetVisible(row.visibility == MainMenuBar::Visibility::Shown);
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
  AddMenu({"FileMenu", "&File", ""},
          {{"FileQuit", "&Quit", "Cmd+Q", Enabling::Automatic, Visibility::Shown, ItemKind::Quit}});
}

void MainMenuBar::Untitled1() {
  AddMenu({"EditMenu", "&Edit", ""}, {
                                         {"EditUndo", "&Undo", "Cmd+Z"},
                                         {"EditSeparator1", "-", ""},
                                         {"EditCut", "Cu&t", "Cmd+X"},
                                         {"EditCopy", "&Copy", "Cmd+C"},
                                         {"EditPaste", "&Paste", "Cmd+V"},
                                         {"EditClear", "&Delete", ""},
                                         {"EditSeparator2", "-", ""},
                                         {"EditSelectAll", "Select &All", "Cmd+A"},
                                     });
}

void MainMenuBar::Untitled2() {
  AddMenu({"SerialPortMenu", "Serial Port", "", Enabling::Automatic, Visibility::Hidden},
          {
              {"ActualSerialPort", "Actual serial port", ""},
              {"UntitledSeparator", "-", ""},
              {"SelectSerialPortMenu", "Select Serial Port", ""},
          });
}

void MainMenuBar::Untitled3() {
  AddMenu({"ConverterMenu", "Converter", "", Enabling::Automatic, Visibility::Hidden},
          {{"ConverterEEPROM", "EEPROM", "", Enabling::Manual, Visibility::Hidden}});
}

void MainMenuBar::Untitled4() {
  AddMenu({"HPUMenu", "HPU", "", Enabling::Automatic, Visibility::Hidden},
          {{"HPUEEPROM", "EEPROM", "", Enabling::Manual, Visibility::Hidden}});
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
