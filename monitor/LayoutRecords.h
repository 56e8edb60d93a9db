#pragma once
// The entries that many layout-table rows share, written once: a control's place, its font,
// and the settings every visible control's record carries.
#include <cstdint>
#include <string_view>

#include "toolkit/PropertyRecord.h"

namespace layout {

inline constexpr toolkit::Colour kBlack = toolkit::Colour::FromRGB(0, 0, 0);
inline constexpr toolkit::Colour kWhite = toolkit::Colour::FromRGB(255, 255, 255);

struct Place {
  int32_t left, top, width, height;
  int32_t page;      // 0: on the window; 1, 2: a page of TabPanel1
  int32_t tabIndex;
};

enum class Locks { LeftTop, LeftBottom };
enum class TabStop { None, Yes };
enum class DataBinding { None, Yes };

struct Font {
  std::string_view family = "System";
  float size = 0;
  uint8_t unit = 0;
  bool bold = false;
};

struct VisibleState {
  bool visible = true;
  bool enabled = true;
};
inline constexpr VisibleState kShown{};
inline constexpr VisibleState kHidden{false, true};

// Name, Index, place, locks, page and parent, tab order, state, help tag, font and the
// data-binding entries, as a visible control's record holds them.
toolkit::PropertyRecordBuilder VisibleControl(std::string_view name, const Place& place, VisibleState state,
                                              TabStop tabStop, Font font = {}, Locks locks = Locks::LeftTop,
                                              DataBinding binding = DataBinding::Yes, bool hasInitialParent = true);
// The same for a control bound to no data: a tab stop in the system font, locked to the
// window's left and top.
toolkit::PropertyRecordBuilder UnboundControl(std::string_view name, const Place& place, VisibleState state);

}  // namespace layout
