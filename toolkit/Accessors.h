#pragma once
// Accessors that find a window's control, or an item of its menu bar, by name.
#include "toolkit/Menu.h"
#include "toolkit/Ref.h"

// A control accessor: the control registered under the accessor's name, as its class.
#define TOOLKIT_CONTROL_ACCESSOR(ControlClass, ControlName) \
  ::toolkit::Ref<ControlClass> ControlName() const { return ControlAs<ControlClass>(#ControlName); }

// A menu-item accessor: the item of the accessor's name anywhere in the window's menu bar.
#define TOOLKIT_MENU_ITEM_ACCESSOR(ItemClass, ItemName) \
  ::toolkit::Ref<ItemClass> ItemName() const { return MenuBar()->Lookup(#ItemName).template Cast<ItemClass>(); }
