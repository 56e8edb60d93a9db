// The controls that show once the front page of a tab panel changes: those on the window and
// those on the page in front, each only while its own Visible holds; the others hide.
#include <gtest/gtest.h>

#include <QTabWidget>
#include <QWidget>
#include <memory>
#include <set>
#include <string>

#include "tests/support/ControlWidgets.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/Controls.h"
#include "toolkit/LayoutRecords.h"
#include "toolkit/Window.h"

namespace {

using namespace toolkit::layout;
using Names = std::set<std::string>;

constexpr PanelPage kFirstPage{.panel = "Tabs", .index = 1};
constexpr PanelPage kSecondPage{.panel = "Tabs", .index = 2};

class PagedWindow : public toolkit::Window {
 public:
  // The controls in creation order, the panel among them.
  static constexpr const char* kNames[] = {"Tabs",          "OnTheWindow",     "OnTheFirstPage",
                                           "HiddenOnFirst", "OnTheSecondPage", "HiddenOnSecond"};

  PagedWindow() : toolkit::Window("PagedWindow") {}
  void Layout() override {
    SetProperties(toolkit::PropertyRecordBuilder().Int("Width", 300).Int("Height", 200).Bool("Visible", true).Bytes());
  }
  void CreateControls() override {
    int32_t top = 0;
    const auto label = [&](const char* name, PanelPage page, VisibleState state) {
      top += 20;
      BuildControl<toolkit::Label>(
          name, VisibleControl(name, {.left = 10, .top = top, .width = 80, .height = 16, .page = page}, state,
                               TabStop::None)
                    .Bytes());
    };
    BuildControl<toolkit::TabPanel>(
        "Tabs", UnboundControl("Tabs", {.left = 100, .top = 10, .width = 190, .height = 180}, VisibleState::Shown)
                    .Text("TabDefinition", "One\rTwo")
                    .Int("Value", 0)
                    .Bytes());
    label("OnTheWindow", {}, VisibleState::Shown);
    label("OnTheFirstPage", kFirstPage, VisibleState::Shown);
    label("HiddenOnFirst", kFirstPage, VisibleState::Hidden);
    label("OnTheSecondPage", kSecondPage, VisibleState::Shown);
    label("HiddenOnSecond", kSecondPage, VisibleState::Hidden);
  }

  // The controls whose widgets show.
  Names Shown() const {
    Names shown;
    const QList<QWidget*> widgets = testing_support::ControlWidgets(*this);
    for (qsizetype i = 0; i < widgets.size(); ++i)
      if (!widgets[i]->isHidden()) shown.insert(kNames[i]);
    return shown;
  }
  toolkit::Ref<toolkit::TabPanel> Tabs() const { return ControlAs<toolkit::TabPanel>("Tabs"); }
  toolkit::Ref<toolkit::Label> Label(const char* name) const { return ControlAs<toolkit::Label>(name); }
};

class TabPanelPages : public ::testing::Test {
 protected:
  void SetUp() override {
    window->Construct();
    ASSERT_EQ(testing_support::ControlWidgets(*window).size(), static_cast<qsizetype>(std::size(PagedWindow::kNames)));
  }
  void TearDown() override { window->Close(); }

  testing_support::TestEnvironment environment;
  std::shared_ptr<PagedWindow> window = std::make_shared<PagedWindow>();
};

TEST_F(TabPanelPages, TheControlsOfThePageInFrontShowAndTheOthersHide) {
  EXPECT_EQ(window->Shown(), (Names{"Tabs", "OnTheWindow", "OnTheFirstPage"})) << "the first page in front";

  window->Tabs()->SetValue(1);
  EXPECT_EQ(window->Shown(), (Names{"Tabs", "OnTheWindow", "OnTheSecondPage"}));

  window->Tabs()->SetValue(0);
  EXPECT_EQ(window->Shown(), (Names{"Tabs", "OnTheWindow", "OnTheFirstPage"}));
}

TEST_F(TabPanelPages, TheUsersPickOfAPageShowsItsControls) {
  auto* tabs = window->ContentWidget()->findChild<QTabWidget*>();
  ASSERT_NE(tabs, nullptr);
  tabs->setCurrentIndex(1);
  EXPECT_EQ(window->Tabs()->Value(), 1);
  EXPECT_EQ(window->Shown(), (Names{"Tabs", "OnTheWindow", "OnTheSecondPage"}));
}

TEST_F(TabPanelPages, AControlMadeVisibleShowsOnlyWhileItsPageIsInFront) {
  window->Label("HiddenOnSecond")->SetVisible(true);
  window->Label("OnTheFirstPage")->SetVisible(false);
  EXPECT_EQ(window->Shown(), (Names{"Tabs", "OnTheWindow"}));

  window->Tabs()->SetValue(1);
  EXPECT_EQ(window->Shown(), (Names{"Tabs", "OnTheWindow", "OnTheSecondPage", "HiddenOnSecond"}));

  window->Tabs()->SetValue(0);
  EXPECT_EQ(window->Shown(), (Names{"Tabs", "OnTheWindow"})) << "a control made invisible stays so behind its page";
}

// A layout table that places a control on a panel it has not made yet is refused at once; the
// control would otherwise show on every page.
TEST(TabPanelPage, AControlMadeBeforeItsPanelIsRefused) {
  testing_support::TestEnvironment environment;
  class EarlyControlWindow : public toolkit::Window {
   public:
    EarlyControlWindow() : toolkit::Window("EarlyControlWindow") {}
    void CreateControls() override {
      BuildControl<toolkit::Label>(
          "Early", VisibleControl("Early", {.width = 80, .height = 16, .page = kSecondPage}, VisibleState::Shown,
                                  TabStop::None)
                       .Bytes());
    }
  };
  auto window = std::make_shared<EarlyControlWindow>();
  try {
    window->Construct();
    FAIL() << "the control was placed on a panel that does not exist";
  } catch (const toolkit::RuntimeException& e) {
    EXPECT_NE(std::string(e.what()).find("Early is placed on Tabs"), std::string::npos) << e.what();
  }
}

}  // namespace
