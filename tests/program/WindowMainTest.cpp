#include <gtest/gtest.h>

#include <QCheckBox>
#include <QRect>
#include <QWidget>
#include <map>

#include "monitor/WindowMain.h"
#include "tests/support/ControlWidgets.h"
#include "tests/support/DialogKeys.h"
#include "tests/support/program/StartedProgram.h"
#include "tests/support/TestEnvironment.h"

namespace {

class MainWindow : public ::testing::Test {
 protected:
  testing_support::TestEnvironment environment;
  program_fixtures::StartedProgram program;
  toolkit::Ref<WindowMain> window = single::WindowMain();
};

template <class T>
void ExpectControl(const WindowMain& window, const char* name, toolkit::Ref<T> viaAccessor) {
  toolkit::Ref<toolkit::Control> registered = window.ControlByName(name);
  ASSERT_FALSE(registered.IsNil()) << name;
  EXPECT_EQ(registered.Get(), viaAccessor.Get()) << name;
  EXPECT_FALSE(registered.template Cast<T>().IsNil()) << name << " is not of its class";
  EXPECT_EQ(registered->Name(), name);
}

TEST_F(MainWindow, EachAccessorFindsTheControlRegisteredUnderItsNameAndClass) {
  const WindowMain& w = *window;
  ExpectControl(w, "PortListUpdater", w.PortListUpdater());
  ExpectControl(w, "SerialPortsPopupMenu", w.SerialPortsPopupMenu());
  ExpectControl(w, "Label1", w.Label1());
  ExpectControl(w, "Serial1", w.Serial1());
  ExpectControl(w, "ConnectButton", w.ConnectButton());
  ExpectControl(w, "TabPanel1", w.TabPanel1());
  ExpectControl(w, "TextArea1", w.TextArea1());
  ExpectControl(w, "LabelName_Uin", w.LabelName_Uin());
  ExpectControl(w, "LabelName_Uout", w.LabelName_Uout());
  ExpectControl(w, "LabelName_Iout", w.LabelName_Iout());
  ExpectControl(w, "LabelName_Pout", w.LabelName_Pout());
  ExpectControl(w, "LabelName_T", w.LabelName_T());
  ExpectControl(w, "LabelName_RPM", w.LabelName_RPM());
  ExpectControl(w, "LabelValue_Uin", w.LabelValue_Uin());
  ExpectControl(w, "LabelValue_Uout", w.LabelValue_Uout());
  ExpectControl(w, "LabelValue_Iout", w.LabelValue_Iout());
  ExpectControl(w, "LabelValue_Pout", w.LabelValue_Pout());
  ExpectControl(w, "LabelValue_T", w.LabelValue_T());
  ExpectControl(w, "LabelValue_RPM", w.LabelValue_RPM());
  ExpectControl(w, "LabelName_Pression", w.LabelName_Pression());
  ExpectControl(w, "LabelName_ModeHPU", w.LabelName_ModeHPU());
  ExpectControl(w, "LabelName_Pitch", w.LabelName_Pitch());
  ExpectControl(w, "LabelValue_Pression", w.LabelValue_Pression());
  ExpectControl(w, "LabelValue_ModeHPU", w.LabelValue_ModeHPU());
  ExpectControl(w, "LabelValue_Pitch", w.LabelValue_Pitch());
  ExpectControl(w, "CheckBoxLog", w.CheckBoxLog());
  ExpectControl(w, "TimerLog", w.TimerLog());
  ExpectControl(w, "CheckBox1", w.CheckBox1());
  ExpectControl(w, "PushButton1", w.PushButton1());
  ExpectControl(w, "TextField1", w.TextField1());
  ExpectControl(w, "Label2", w.Label2());
  ExpectControl(w, "CheckBox2", w.CheckBox2());
}

TEST_F(MainWindow, WindowPropertiesFollowTheLayoutTable) {
  EXPECT_EQ(window->Title(), "Hydrogenerator Monitoring");
  EXPECT_EQ(window->Width(), 722);
  EXPECT_EQ(window->Height(), 438);
  const toolkit::PropertyValue* back = window->StoredProperty("BackColor");
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(std::get<toolkit::Colour>(*back), toolkit::Colour::FromRGB(0xE1, 0xE3, 0xE3));
  // The value labels: bold Consolas at 24 pixels, centred, in #5A91A8.
  toolkit::Ref<toolkit::Label> value = window->LabelValue_Uin();
  EXPECT_EQ(std::get<std::string>(*value->StoredProperty("TextFont")), "Consolas");
  EXPECT_EQ(std::get<float>(*value->StoredProperty("TextSize")), 24.0f);
  EXPECT_TRUE(std::get<bool>(*value->StoredProperty("Bold")));
  EXPECT_EQ(std::get<int32_t>(*value->StoredProperty("TextAlign")), 2);
  EXPECT_EQ(std::get<toolkit::Colour>(*value->StoredProperty("TextColor")), toolkit::Colour::FromRGB(0x5A, 0x91, 0xA8));
  // The trace lies on the page "Raw data", the labels on "Values", which is in front.
  EXPECT_EQ(window->TextArea1()->TabPanelIndex(), 2);
  EXPECT_EQ(window->LabelValue_Uin()->TabPanelIndex(), 1);
  EXPECT_EQ(window->TabPanel1()->Value(), 0);
  EXPECT_EQ(window->TabPanel1()->Pages(), (std::vector<std::string>{"Values", "Raw data"}));
  // A control on the page behind keeps its own Visible.
  EXPECT_TRUE(window->TextArea1()->Visible());
  EXPECT_EQ(std::get<bool>(*window->CheckBox1()->StoredProperty("LockBottom")), true);
  EXPECT_FALSE(window->CheckBox1()->Visible());
}

TEST_F(MainWindow, SerialPortLineSettingsAreTheStoredCodes) {
  toolkit::LineSettings settings = window->Serial1()->Settings();
  EXPECT_EQ(settings.baudCode, 8);
  EXPECT_EQ(settings.bitsCode, 3);
  EXPECT_EQ(settings.parityCode, 0);
  EXPECT_EQ(settings.stopCode, 0);
  EXPECT_FALSE(settings.xon);
  EXPECT_FALSE(settings.cts);
  EXPECT_FALSE(settings.dtr);
}

TEST_F(MainWindow, OnAResizeOnlyCheckBox1MovesAndItKeepsItsDistanceToTheBottom) {
  QWidget* checkBox1 = nullptr;
  std::map<QWidget*, QRect> designed;
  for (QWidget* widget : testing_support::ControlWidgets(*window)) {
    designed[widget] = widget->geometry();
    if (auto* box = qobject_cast<QCheckBox*>(widget); box && box->text() == "Disable App Nap") checkBox1 = box;
  }
  ASSERT_NE(checkBox1, nullptr);
  ASSERT_EQ(designed.size(), 29u) << "every control with a place";

  testing_support::ResizeBy(*window, 120, 80);
  const int growth = window->ContentWidget()->height() - window->Height();
  ASSERT_GT(growth, 0);
  for (const auto& [widget, place] : designed) {
    const QRect expected = widget == checkBox1 ? place.translated(0, growth) : place;
    EXPECT_EQ(widget->geometry(), expected) << "designed at " << testing::PrintToString(place);
  }
}

TEST_F(MainWindow, ReturnPressesTheShownConnectButtonOnceEnabledNeverTheHiddenDefault) {
  testing_support::PressCounter connect(*window->ConnectButton());
  testing_support::PressCounter hidden(*window->PushButton1());
  testing_support::Type(*window->ContentWidget(), Qt::Key_Return);
  EXPECT_EQ(connect.presses, 0) << "disabled";
  window->ConnectButton()->SetEnabled(true);
  testing_support::Type(*window->ContentWidget(), Qt::Key_Return);
  EXPECT_EQ(connect.presses, 1);
  EXPECT_EQ(hidden.presses, 0);
}

}  // namespace
