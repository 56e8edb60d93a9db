#include "toolkit/LayoutRecords.h"

#include <limits>

namespace toolkit::layout {

PropertyRecordBuilder VisibleControl(std::string_view name, const Place& place, VisibleState state, TabStop tabStop,
                                     Font font, Locks locks, DataBinding binding, InitialParent parent) {
  PropertyRecordBuilder record;
  record.Text("Name", name)
      .Int("Index", std::numeric_limits<int32_t>::min())  // not an element of a control array
      .Int("Left", place.left)
      .Int("Top", place.top)
      .Int("Width", place.width)
      .Int("Height", place.height)
      .Bool("LockLeft", true)
      .Bool("LockTop", locks == Locks::LeftTop)
      .Bool("LockRight", false)
      .Bool("LockBottom", locks == Locks::LeftBottom)
      .Int("TabPanelIndex", place.page.index);
  if (parent == InitialParent::Yes) record.Text("InitialParent", place.page.panel);
  record.Int("TabIndex", place.tabIndex);
  if (tabStop == TabStop::Yes) record.Bool("TabStop", true);
  record.Bool("Visible", state != VisibleState::Hidden)
      .Bool("Enabled", state != VisibleState::ShownDisabled)
      .Text("HelpTag", "")
      .Bool("AutoDeactivate", true)
      .Text("TextFont", font.family)
      .Single("TextSize", font.size)
      .TextUnit("TextUnit", font.unit)
      .Bool("Bold", font.bold)
      .Bool("Italic", false)
      .Bool("Underline", false);
  if (binding == DataBinding::Yes) record.Text("DataSource", "").Text("DataField", "");
  return record;
}

PropertyRecordBuilder UnboundControl(std::string_view name, const Place& place, VisibleState state) {
  return VisibleControl(name, place, state, TabStop::Yes, Font{}, Locks::LeftTop, DataBinding::None);
}

std::string PushButtonRecord(std::string_view name, const Place& place, std::string_view caption, ButtonRole role,
                             VisibleState state) {
  return UnboundControl(name, place, state)
      .Text("Caption", caption)
      .Bool("Default", role == ButtonRole::Default)
      .Bool("Cancel", role == ButtonRole::Cancel)
      .Int("ButtonStyle", 0)
      .Bytes();
}

}  // namespace toolkit::layout
