#pragma once
// The base of every control a window owns. A control keeps its own properties (the source
// of truth that handlers and tests read); a visual control mirrors them onto its widget.
// Each property has one home: a member of its own for what the program reads or sets through
// the control (Visible, Text, Value, ...), the property map for the rest, which only the toolkit
// keeps or hands to the widget (place, fonts, tab order, help tag, data binding, ...).
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "toolkit/PropertyRecord.h"
#include "toolkit/Ref.h"

class QWidget;

namespace toolkit {

class TabPanel;
class Window;

class Control : public std::enable_shared_from_this<Control> {
 public:
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  // The window that owns the control; nil once the window is gone.
  Ref<Window> OwnerWindow() const { return Ref<Window>(owner_.lock()); }

  // The type of a property-record key in this control's class, none when the class has no
  // such key.
  virtual std::optional<PropertyType> PropertyTypeOf(std::string_view key) const;
  // Applies one decoded entry of a property record: a class sets the keys it has a member for
  // through that member and passes the others on; the base stores them in the property map.
  virtual void ApplyProperty(const PropertyEntry& entry);
  // A property of the map; nullptr for one never stored there.
  const PropertyValue* StoredProperty(std::string_view key) const;

 protected:
  Control() = default;

  // Runs a handler for an event that the event loop (or the test runner) delivers: the
  // owning window stays alive while it runs, and an escaping exception is reported.
  void Deliver(const std::function<void()>& handler);

  bool StoredBool(std::string_view key, bool fallback) const;
  int32_t StoredInt(std::string_view key, int32_t fallback) const;
  std::string StoredText(std::string_view key) const;
  // Sets a property that has a member of its own.
  template <class T>
  void Assign(std::string_view key, T& member, std::type_identity_t<T> value) {
    // Handlers set the same values again and again (every frame shows its labels); the widget
    // already mirrors an unchanged value.
    if (member == value) return;
    member = std::move(value);
    StoredPropertyChanged(key);
  }

  // Called when the control joins its window (after registration, before its properties).
  virtual void Attached() {}
  // The control's Open event, raised once its window's controls all exist.
  virtual void Opened() {}
  // Called after a property changed, in its member or in the map, so a visual control can
  // refresh its widget.
  virtual void StoredPropertyChanged(std::string_view /*key*/) {}

 private:
  friend class Window;
  std::string name_;
  std::weak_ptr<Window> owner_;
  std::map<std::string, PropertyValue, std::less<>> properties_;
};

// A control with a place in the window and a widget.
class RectControl : public Control {
 public:
  // How often at most a widget shows properties that change with every frame: as often as a
  // person can read a changing value, as a meter's display does, though the converter sends
  // four times a second and the line can carry sixty frames.
  static constexpr int kRefreshesPerSecond = 2;

  ~RectControl() override;

  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  int32_t Left() const { return StoredInt("Left", 0); }
  int32_t Top() const { return StoredInt("Top", 0); }
  int32_t Width() const { return StoredInt("Width", 0); }
  int32_t Height() const { return StoredInt("Height", 0); }
  // 0: on the window; 1, 2, ...: on that page of the tab panel named by InitialParent.
  int32_t TabPanelIndex() const { return tabPanelIndex_; }

  void ApplyProperty(const PropertyEntry& entry) override;

  // Puts the widget at the control's place for the content area's present size: a control
  // locked to the right or bottom edge only keeps its distance to that edge, one locked to both
  // opposite edges grows with the area, and any other keeps its place.
  void Place();
  // Whether the user can operate the control now: it shows (its page in front too) and is enabled.
  bool Operable() const;

  // Re-evaluates whether the widget shows: its own Visible, and its page being in front.
  void RefreshShown();

 protected:
  RectControl();
  // Makes the widget; called once, when the control joins its window.
  virtual QWidget* CreateWidget(QWidget* parent) = 0;
  QWidget* Widget() const;
  // Pushes the state of one property onto the widget.
  virtual void SyncWidget(std::string_view key);
  // For properties that can change thousands of times a second (a label's text, the trace):
  // the widget gets the latest state at the next refresh, at most kRefreshesPerSecond times a
  // second, instead of once per change, and a hidden widget when it shows. One refresh serves
  // every widget, so the window repaints once for all the controls that changed. The control's
  // own property is up to date at once.
  void SyncWidgetSoon(std::string_view key);

  void Attached() override;
  void StoredPropertyChanged(std::string_view key) override;

 private:
  friend class WidgetRefresh;
  void SyncPendingProperties();
  // Puts the control on a page of the window's tab panel of that name, which must be made
  // before the controls on its pages (RuntimeException otherwise); no name leaves it on the
  // window.
  void JoinTabPanel(const std::string& panelName);

  struct WidgetHandle;  // guards against the widget going with its window first
  std::unique_ptr<WidgetHandle> widget_;
  bool visible_ = true;
  bool enabled_ = true;
  int32_t tabPanelIndex_ = 0;
  std::weak_ptr<TabPanel> tabPanel_;
};

// Property-record keys and their types shared by every class.
std::optional<PropertyType> CommonPropertyType(std::string_view key);

}  // namespace toolkit
