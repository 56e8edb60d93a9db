#pragma once
// The entries that many rows of a window's layout table share, written once: a control's place,
// its font, and the settings every visible control's record carries.
#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/PropertyRecord.h"

namespace toolkit::layout {

inline constexpr Colour kBlack = Colour::FromRGB(0, 0, 0);
inline constexpr Colour kWhite = Colour::FromRGB(255, 255, 255);

// A page of a tab panel, by the panel's name and the page's index from 1. The default, no
// panel and index 0, is the window itself.
struct PanelPage {
  std::string_view panel = "";
  int32_t index = 0;
};

// Where a control lies: its rectangle, the page it is on and its place in the tab order.
struct Place {
  int32_t left = 0, top = 0, width = 0, height = 0;
  PanelPage page = {};
  int32_t tabIndex = 0;
};

enum class Locks { LeftTop, LeftBottom };

// Whether the record has these entries at all.
enum class TabStop { None, Yes };
enum class DataBinding { None, Yes };
enum class InitialParent { None, Yes };

struct Font {
  std::string_view family = "System";
  float size = 0;
  uint8_t unit = 0;
  bool bold = false;
};

// How a control starts; a hidden one is enabled.
enum class VisibleState { Shown, ShownDisabled, Hidden };

// Name, Index, place, locks, page and parent, tab order, state, help tag, font and the
// data-binding entries, as a visible control's record holds them.
PropertyRecordBuilder VisibleControl(std::string_view name, const Place& place, VisibleState state, TabStop tabStop,
                                     Font font = {}, Locks locks = Locks::LeftTop,
                                     DataBinding binding = DataBinding::Yes, InitialParent parent = InitialParent::Yes);
// The same for a control bound to no data: a tab stop in the system font, locked to the
// window's left and top.
PropertyRecordBuilder UnboundControl(std::string_view name, const Place& place, VisibleState state);

// The button that Return presses, or the one Escape presses.
enum class ButtonRole { Default, Cancel };

std::string PushButtonRecord(std::string_view name, const Place& place, std::string_view caption, ButtonRole role,
                             VisibleState state = VisibleState::Shown);

}  // namespace toolkit::layout
