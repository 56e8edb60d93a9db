// The shared layout-record builders write, for the controls of both windows, exactly the
// entries their layout tables have always held, in the same order and so to the same bytes.
#include "toolkit/LayoutRecords.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/AppendPropertyEntry.h"
#include "toolkit/Control.h"

namespace {

using toolkit::PropertyEntry;
using toolkit::TextUnitCode;
using namespace toolkit::layout;

constexpr int32_t kNoIndex = std::numeric_limits<int32_t>::min();

struct RecordCase {
  const char* control;
  std::string bytes;
  std::vector<PropertyEntry> expected;
};

std::string Encoded(const std::vector<PropertyEntry>& entries) {
  toolkit::PropertyRecordBuilder builder;
  for (const PropertyEntry& entry : entries) testing_support::AppendPropertyEntry(builder, entry);
  return builder.Bytes();
}

TEST(LayoutRecords, ControlsOfBothWindowsKeepTheirRecordsEntryForEntry) {
  const RecordCase cases[] = {
      {"main window: a hidden value label on the panel's first page, in bold Consolas",
       VisibleControl("LabelValue_Pression",
                      {.left = 490, .top = 138, .width = 101, .height = 19,
                       .page = {.panel = "TabPanel1", .index = 1}, .tabIndex = 15},
                      VisibleState::Hidden, TabStop::None,
                      Font{.family = "Consolas", .size = 16, .unit = 1, .bold = true}).Bytes(),
       {{"Name", "LabelValue_Pression"}, {"Index", kNoIndex}, {"Left", 490}, {"Top", 138}, {"Width", 101},
        {"Height", 19}, {"LockLeft", true}, {"LockTop", true}, {"LockRight", false}, {"LockBottom", false},
        {"TabPanelIndex", 1}, {"InitialParent", "TabPanel1"}, {"TabIndex", 15}, {"Visible", false},
        {"Enabled", true}, {"HelpTag", ""}, {"AutoDeactivate", true}, {"TextFont", "Consolas"},
        {"TextSize", 16.0f}, {"TextUnit", TextUnitCode{1}}, {"Bold", true}, {"Italic", false},
        {"Underline", false}, {"DataSource", ""}, {"DataField", ""}}},
      {"main window: a hidden check box locked to the bottom",
       VisibleControl("CheckBox1", {.left = 576, .top = 53, .width = 236, .height = 20, .tabIndex = 6},
                      VisibleState::Hidden, TabStop::Yes, Font{}, Locks::LeftBottom).Bytes(),
       {{"Name", "CheckBox1"}, {"Index", kNoIndex}, {"Left", 576}, {"Top", 53}, {"Width", 236}, {"Height", 20},
        {"LockLeft", true}, {"LockTop", false}, {"LockRight", false}, {"LockBottom", true}, {"TabPanelIndex", 0},
        {"InitialParent", ""}, {"TabIndex", 6}, {"TabStop", true}, {"Visible", false}, {"Enabled", true},
        {"HelpTag", ""}, {"AutoDeactivate", true}, {"TextFont", "System"}, {"TextSize", 0.0f},
        {"TextUnit", TextUnitCode{0}}, {"Bold", false}, {"Italic", false}, {"Underline", false},
        {"DataSource", ""}, {"DataField", ""}}},
      {"main window: the text field, whose record has no initial parent",
       VisibleControl("TextField1", {.left = 235, .top = 52, .width = 37, .height = 22, .tabIndex = 8},
                      VisibleState::Hidden, TabStop::Yes, Font{}, Locks::LeftTop, DataBinding::Yes,
                      InitialParent::None).Bytes(),
       {{"Name", "TextField1"}, {"Index", kNoIndex}, {"Left", 235}, {"Top", 52}, {"Width", 37}, {"Height", 22},
        {"LockLeft", true}, {"LockTop", true}, {"LockRight", false}, {"LockBottom", false}, {"TabPanelIndex", 0},
        {"TabIndex", 8}, {"TabStop", true}, {"Visible", false}, {"Enabled", true}, {"HelpTag", ""},
        {"AutoDeactivate", true}, {"TextFont", "System"}, {"TextSize", 0.0f}, {"TextUnit", TextUnitCode{0}},
        {"Bold", false}, {"Italic", false}, {"Underline", false}, {"DataSource", ""}, {"DataField", ""}}},
      {"main window: the connect button, shown and disabled",
       PushButtonRecord("ConnectButton", {.left = 466, .top = 22, .width = 98, .height = 20, .tabIndex = 2},
                        "Connect", ButtonRole::Default, VisibleState::ShownDisabled),
       {{"Name", "ConnectButton"}, {"Index", kNoIndex}, {"Left", 466}, {"Top", 22}, {"Width", 98}, {"Height", 20},
        {"LockLeft", true}, {"LockTop", true}, {"LockRight", false}, {"LockBottom", false}, {"TabPanelIndex", 0},
        {"InitialParent", ""}, {"TabIndex", 2}, {"TabStop", true}, {"Visible", true}, {"Enabled", false},
        {"HelpTag", ""}, {"AutoDeactivate", true}, {"TextFont", "System"}, {"TextSize", 0.0f},
        {"TextUnit", TextUnitCode{0}}, {"Bold", false}, {"Italic", false}, {"Underline", false},
        {"Caption", "Connect"}, {"Default", true}, {"Cancel", false}, {"ButtonStyle", 0}}},
      {"HPU window: the cancel button",
       PushButtonRecord("PushButtonCancel", {.left = 483, .top = 330, .width = 80, .height = 20, .tabIndex = 2},
                        "Cancel", ButtonRole::Cancel),
       {{"Name", "PushButtonCancel"}, {"Index", kNoIndex}, {"Left", 483}, {"Top", 330}, {"Width", 80},
        {"Height", 20}, {"LockLeft", true}, {"LockTop", true}, {"LockRight", false}, {"LockBottom", false},
        {"TabPanelIndex", 0}, {"InitialParent", ""}, {"TabIndex", 2}, {"TabStop", true}, {"Visible", true},
        {"Enabled", true}, {"HelpTag", ""}, {"AutoDeactivate", true}, {"TextFont", "System"},
        {"TextSize", 0.0f}, {"TextUnit", TextUnitCode{0}}, {"Bold", false}, {"Italic", false},
        {"Underline", false}, {"Caption", "Cancel"}, {"Default", false}, {"Cancel", true}, {"ButtonStyle", 0}}},
  };
  for (const RecordCase& c : cases) {
    EXPECT_EQ(toolkit::DecodePropertyRecord(c.bytes, toolkit::CommonPropertyType), c.expected) << c.control;
    EXPECT_EQ(c.bytes, Encoded(c.expected)) << c.control;
  }
}

}  // namespace
