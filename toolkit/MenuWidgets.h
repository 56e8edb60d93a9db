#pragma once
// The Qt widgets that show a menu bar in one window. Internal to the toolkit.
#include "toolkit/Menu.h"

class QMenuBar;

namespace toolkit {

// Fills the window's Qt menu bar with a menu per menu of the bar and an action per item; choosing
// an item chooses it in the window. Each action joins its item's peers, which mirror the item.
void AddMenuBarWidgets(Window& window, QMenuBar& widgets, const Ref<MenuBar>& bar);

}  // namespace toolkit
