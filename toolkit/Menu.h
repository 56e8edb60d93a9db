#pragma once
// Menus: a tree of items under a menu bar. A menu bar is itself an item whose children are
// the menus; each menu's children are its items. Every operation is a user-interface one.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Ref.h"

namespace toolkit {

class MenuItemPeers;
class Window;

class MenuItem : public std::enable_shared_from_this<MenuItem> {
 public:
  MenuItem();
  virtual ~MenuItem();
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  std::string Name() const;
  void SetName(const std::string& name);
  std::string Text() const;  // "&" marks the mnemonic; "-" makes a separator
  void SetText(const std::string& text);
  std::string KeyboardShortcut() const;  // "Cmd+Q": the platform's command key and Q
  void SetKeyboardShortcut(const std::string& shortcut);
  bool AutoEnable() const;
  void SetAutoEnable(bool autoEnable);
  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  bool IsSeparator() const { return text_ == "-"; }

  void Append(Ref<MenuItem> item);
  int32_t Count() const;
  Ref<MenuItem> Item(int32_t index) const;
  // The direct child of that name, nil when none.
  Ref<MenuItem> Child(std::string_view name) const;
  // The item of that name anywhere below this one, nil when none.
  Ref<MenuItem> Lookup(std::string_view name) const;

  // What choosing the item does when the window binds no handler to its name.
  virtual void DefaultAction() {}

  MenuItemPeers& Peers() const { return *peers_; }

 private:
  std::string name_, text_, shortcut_;
  bool autoEnable_ = true, visible_ = true, enabled_ = true;
  std::vector<Ref<MenuItem>> children_;
  std::unique_ptr<MenuItemPeers> peers_;  // the widgets showing this item
};

// Quits the application when chosen.
class QuitMenuItem : public MenuItem {
 public:
  void DefaultAction() override;
};

class MenuBar : public MenuItem {};

}  // namespace toolkit
