#pragma once
// The application's one menu bar: File, Edit and the hidden Serial Port, Converter and HPU
// menus. It binds no handler of its own; items are reached by name.
#include <initializer_list>

#include "toolkit/Menu.h"

class MainMenuBar : public toolkit::MenuBar {
 public:
  // Builds the whole tree, menu by menu.
  MainMenuBar();

  virtual void Untitled0();
  virtual void Untitled1();
  virtual void Untitled2();
  virtual void Untitled3();
  virtual void Untitled4();

  enum class Enabling { Automatic, Manual };
  enum class Visibility { Shown, Hidden };
  enum class ItemKind { Plain, Quit };  // Quit: a QuitMenuItem

  struct Row {
    const char* name;
    const char* text;
    const char* shortcut;  // "" for none
    Enabling enabling = Enabling::Automatic;
    Visibility visibility = Visibility::Shown;
    ItemKind kind = ItemKind::Plain;
  };

 private:
  // Appends the menu to the bar, then each item to the menu, found again by name each time.
  void AddMenu(const Row& menu, std::initializer_list<Row> items);
};

namespace single {
// The one menu bar, built on first use.
toolkit::Ref<::MainMenuBar> MainMenuBar();
// The finaliser after the event loop: empties the instance and releases it.
void ReleaseMainMenuBar();
}  // namespace single
