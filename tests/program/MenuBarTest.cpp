#include <gtest/gtest.h>

#include "app/MainMenuBar.h"
#include "tests/support/TestEnvironment.h"

namespace {

struct MenuShape {
  const char* menu;
  std::vector<const char*> items;
  bool visible;
};

TEST(MenuBar, HoldsFiveMenusWithTheirItemsInOrder) {
  testing_support::TestEnvironment environment;
  toolkit::Ref<MainMenuBar> bar = single::MainMenuBar();
  const std::vector<MenuShape> expected = {
      {"FileMenu", {"FileQuit"}, true},
      {"EditMenu",
       {"EditUndo", "EditSeparator1", "EditCut", "EditCopy", "EditPaste", "EditClear", "EditSeparator2", "EditSelectAll"},
       true},
      {"SerialPortMenu", {"ActualSerialPort", "UntitledSeparator", "SelectSerialPortMenu"}, false},
      {"ConverterMenu", {"ConverterEEPROM"}, false},
      {"HPUMenu", {"HPUEEPROM"}, false},
  };
  ASSERT_EQ(bar->Count(), static_cast<int32_t>(expected.size()));
  for (size_t m = 0; m < expected.size(); ++m) {
    toolkit::Ref<toolkit::MenuItem> menu = bar->Item(static_cast<int32_t>(m));
    EXPECT_EQ(menu->Name(), expected[m].menu);
    EXPECT_EQ(menu->Visible(), expected[m].visible) << expected[m].menu;
    ASSERT_EQ(menu->Count(), static_cast<int32_t>(expected[m].items.size())) << expected[m].menu;
    for (size_t i = 0; i < expected[m].items.size(); ++i)
      EXPECT_EQ(menu->Item(static_cast<int32_t>(i))->Name(), expected[m].items[i]);
  }
}

TEST(MenuBar, IsOneInstanceBuiltOnce) {
  testing_support::TestEnvironment environment;
  EXPECT_EQ(single::MainMenuBar().Get(), single::MainMenuBar().Get());
}

TEST(MenuBar, FindsTheTwoHiddenEepromItemsByNameDespiteTheirSharedText) {
  testing_support::TestEnvironment environment;
  toolkit::Ref<MainMenuBar> bar = single::MainMenuBar();
  toolkit::Ref<toolkit::MenuItem> converter = bar->Lookup("ConverterEEPROM");
  toolkit::Ref<toolkit::MenuItem> hpu = bar->Lookup("HPUEEPROM");
  ASSERT_FALSE(converter.IsNil());
  ASSERT_FALSE(hpu.IsNil());
  EXPECT_NE(converter.Get(), hpu.Get());
  for (const auto& item : {converter, hpu}) {
    EXPECT_EQ(item->Text(), "EEPROM");
    EXPECT_FALSE(item->Visible());
    EXPECT_FALSE(item->AutoEnable());
  }
  EXPECT_EQ(bar->Child("HPUMenu")->Item(0).Get(), hpu.Get());
}

TEST(MenuBar, QuitIsTheOnlyQuitItemAndSeparatorsAreDashes) {
  testing_support::TestEnvironment environment;
  toolkit::Ref<MainMenuBar> bar = single::MainMenuBar();
  EXPECT_FALSE(bar->Lookup("FileQuit").Cast<toolkit::QuitMenuItem>().IsNil());
  EXPECT_EQ(bar->Lookup("FileQuit")->KeyboardShortcut(), "Cmd+Q");
  EXPECT_TRUE(bar->Lookup("EditQuit").IsNil());
  EXPECT_TRUE(bar->Lookup("EditCut").Cast<toolkit::QuitMenuItem>().IsNil());
  for (const char* name : {"EditSeparator1", "EditSeparator2", "UntitledSeparator"})
    EXPECT_TRUE(bar->Lookup(name)->IsSeparator()) << name;
}

TEST(MenuBar, ChoosingQuitAsksTheEventLoopToQuit) {
  testing_support::TestEnvironment environment;
  toolkit::Ref<MainMenuBar> bar = single::MainMenuBar();
  bar->Lookup("FileQuit")->DefaultAction();
  EXPECT_EQ(environment.loop.quits, 1);
}

}  // namespace
