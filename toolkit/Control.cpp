#include "toolkit/Control.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/Threads.h"
#include "toolkit/UnhandledErrors.h"
#include "toolkit/Window.h"

namespace toolkit {

std::optional<PropertyType> CommonPropertyType(std::string_view key) {
  using T = PropertyType;
  static const std::map<std::string_view, PropertyType, std::less<>> types = {
      // Places, sizes, codes.
      {"Left", T::Int32}, {"Top", T::Int32}, {"Width", T::Int32}, {"Height", T::Int32},
      {"MinWidth", T::Int32}, {"MinHeight", T::Int32}, {"MaxWidth", T::Int32}, {"MaxHeight", T::Int32},
      {"Frame", T::Int32}, {"MacProcID", T::Int32}, {"Placement", T::Int32}, {"Index", T::Int32},
      {"TabPanelIndex", T::Int32}, {"TabIndex", T::Int32}, {"ListIndex", T::Int32},
      {"TextAlign", T::Int32}, {"Alignment", T::Int32}, {"LimitText", T::Int32}, {"Mode", T::Int32},
      {"Period", T::Int32}, {"Baud", T::Int32}, {"Bits", T::Int32}, {"Parity", T::Int32},
      {"Stop", T::Int32}, {"State", T::Int32}, {"ButtonStyle", T::Int32},
      {"ColumnCount", T::Int32}, {"GridLinesHorizontal", T::Int32}, {"GridLinesVertical", T::Int32},
      {"SelectionType", T::Int32}, {"DefaultRowHeight", T::Int32}, {"HeadingIndex", T::Int32},
      {"_ScrollOffset", T::Int32}, {"_ScrollWidth", T::Int32}, {"Maximum", T::Int32},
      {"Priority", T::Int32}, {"StackSize", T::Int32},
      // Flags.
      {"Visible", T::Boolean}, {"Enabled", T::Boolean}, {"LockLeft", T::Boolean},
      {"LockTop", T::Boolean}, {"LockRight", T::Boolean}, {"LockBottom", T::Boolean},
      {"TabStop", T::Boolean}, {"AutoDeactivate", T::Boolean}, {"Bold", T::Boolean},
      {"Italic", T::Boolean}, {"Underline", T::Boolean}, {"Default", T::Boolean},
      {"Cancel", T::Boolean}, {"Multiline", T::Boolean}, {"Selectable", T::Boolean},
      {"Transparent", T::Boolean}, {"Border", T::Boolean}, {"ScrollbarHorizontal", T::Boolean},
      {"ScrollbarVertical", T::Boolean}, {"ScrollBarVertical", T::Boolean}, {"Styled", T::Boolean},
      {"UseFocusRing", T::Boolean}, {"HideSelection", T::Boolean}, {"ReadOnly", T::Boolean},
      {"AcceptTabs", T::Boolean}, {"AutomaticallyCheckSpelling", T::Boolean},
      {"Password", T::Boolean}, {"SmallTabs", T::Boolean}, {"XON", T::Boolean}, {"CTS", T::Boolean},
      {"DTR", T::Boolean}, {"CloseButton", T::Boolean}, {"Resizeable", T::Boolean},
      {"MaximizeButton", T::Boolean}, {"MinimizeButton", T::Boolean},
      {"FullScreenButton", T::Boolean}, {"Composite", T::Boolean}, {"LiveResize", T::Boolean},
      {"FullScreen", T::Boolean}, {"HasBackColor", T::Boolean}, {"MenuBarVisible", T::Boolean},
      {"HasHeading", T::Boolean}, {"AutoHideScrollbars", T::Boolean},
      {"ColumnsResizable", T::Boolean}, {"RequiresSelection", T::Boolean},
      {"EnableDrag", T::Boolean}, {"EnableDragReorder", T::Boolean}, {"Hierarchical", T::Boolean},
      // Others.
      {"TextUnit", T::TextUnit},
      {"Name", T::Text}, {"Title", T::Text}, {"Text", T::Text}, {"Caption", T::Text},
      {"HelpTag", T::Text}, {"TextFont", T::Text}, {"DataSource", T::Text}, {"DataField", T::Text},
      {"InitialParent", T::Text}, {"InitialValue", T::Text}, {"Format", T::Text}, {"Mask", T::Text},
      {"CueText", T::Text}, {"TabDefinition", T::Text}, {"ColumnWidths", T::Text},
      {"BackColor", T::Colour}, {"TextColor", T::Colour},
      {"LineHeight", T::Double}, {"LineSpacing", T::Double},
      {"TextSize", T::Single},
  };
  auto found = types.find(key);
  if (found == types.end()) return std::nullopt;
  return found->second;
}

Control::~Control() { ForgetEventSource(this); }

std::optional<PropertyType> Control::PropertyTypeOf(std::string_view key) const {
  return CommonPropertyType(key);
}

void Control::ApplyProperty(const PropertyEntry& entry) {
  properties_.insert_or_assign(entry.key, entry.value);
  StoredPropertyChanged(entry.key);
}

const PropertyValue* Control::StoredProperty(std::string_view key) const {
  auto found = properties_.find(key);
  return found == properties_.end() ? nullptr : &found->second;
}

void Control::Deliver(const std::function<void()>& handler) {
  std::shared_ptr<Window> keepAlive = owner_.lock();
  std::shared_ptr<Control> keepSelf = shared_from_this();
  RunEventHandler(this, handler);
}

bool Control::StoredBool(std::string_view key, bool fallback) const { return ValueOr(StoredProperty(key), fallback); }

int32_t Control::StoredInt(std::string_view key, int32_t fallback) const {
  return ValueOr(StoredProperty(key), fallback);
}

std::string Control::StoredText(std::string_view key) const {
  return ValueOr(StoredProperty(key), std::string());
}

// --- RectControl -------------------------------------------------------------------------

namespace {

// Runs a reaction whenever the watched widget is shown.
class ShowWatcher : public QObject {
 public:
  ShowWatcher(QWidget* widget, std::function<void()> shown) : QObject(widget), shown_(std::move(shown)) {
    widget->installEventFilter(this);
  }
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Show) shown_();
    return false;
  }

 private:
  std::function<void()> shown_;
};

}  // namespace

struct RectControl::WidgetHandle {
  QPointer<QWidget> widget;
  // A child of the widget, so it goes with it and never calls back into a control without one.
  ShowWatcher* showWatcher = nullptr;
  std::vector<std::string> pendingKeys;
  bool dueAtRefresh = false;
};

// The one refresh of all widgets whose controls changed since the last one: a single timer, so
// their repaints fall together instead of each widget repainting on its own beat.
class WidgetRefresh {
 public:
  static void Schedule(RectControl& control) {
    static WidgetRefresh refresh;
    refresh.Add(control);
  }

 private:
  void Add(RectControl& control) {
    RectControl::WidgetHandle& handle = *control.widget_;
    if (!handle.dueAtRefresh) {
      handle.dueAtRefresh = true;
      due_.push_back(std::static_pointer_cast<RectControl>(control.shared_from_this()));
    }
    if (!timer_) {  // the first time, or the application was made anew
      timer_ = new QTimer(QCoreApplication::instance());
      timer_->setSingleShot(true);
      timer_->setInterval(1000 / RectControl::kRefreshesPerSecond);
      QObject::connect(timer_, &QTimer::timeout, timer_, [this] { Run(); });
    }
    if (!timer_->isActive()) timer_->start();
  }

  void Run() {
    for (const std::weak_ptr<RectControl>& entry : std::exchange(due_, {})) {
      const std::shared_ptr<RectControl> control = entry.lock();
      if (!control || !control->Widget()) continue;
      control->widget_->dueAtRefresh = false;
      control->SyncPendingProperties();
    }
  }

  QPointer<QTimer> timer_;
  std::vector<std::weak_ptr<RectControl>> due_;
};

RectControl::RectControl() = default;

RectControl::~RectControl() {
  if (widget_ && widget_->widget) delete widget_->widget.data();
}

QWidget* RectControl::Widget() const { return widget_ ? widget_->widget.data() : nullptr; }

bool RectControl::Visible() const {
  RequireMainThread();
  return visible_;
}

void RectControl::SetVisible(bool visible) {
  RequireMainThread();
  Assign("Visible", visible_, visible);
}

bool RectControl::Enabled() const {
  RequireMainThread();
  return enabled_;
}

void RectControl::SetEnabled(bool enabled) {
  RequireMainThread();
  Assign("Enabled", enabled_, enabled);
}

void RectControl::ApplyProperty(const PropertyEntry& entry) {
  const std::string& key = entry.key;
  if (key == "Visible")
    SetVisible(std::get<bool>(entry.value));
  else if (key == "Enabled")
    SetEnabled(std::get<bool>(entry.value));
  else if (key == "TabPanelIndex")
    Assign(key, tabPanelIndex_, std::get<int32_t>(entry.value));
  else if (key == "InitialParent")
    JoinTabPanel(std::get<std::string>(entry.value));
  else
    Control::ApplyProperty(entry);
}

void RectControl::JoinTabPanel(const std::string& panelName) {
  Ref<Window> window = OwnerWindow();
  tabPanel_ = window && !panelName.empty() ? window->ControlAs<TabPanel>(panelName).Shared() : nullptr;
  // A layout table that places a control on a panel it has not made yet would show the control
  // on every page.
  if (!panelName.empty() && tabPanel_.expired())
    throw RuntimeException("The control " + Name() + " is placed on " + panelName +
                           ", which is no tab panel of its window (yet).");
  RefreshShown();
}

namespace {

// A control's start and length along one axis, in a content area `growth` longer than designed.
// Wide enough that no stored place overflows.
std::pair<int64_t, int64_t> AlongAxis(int64_t start, int64_t length, bool lockedToStart, bool lockedToEnd, int64_t growth) {
  if (!lockedToEnd) return {start, length};
  if (lockedToStart) return {start, length + growth};
  return {start + growth, length};
}

int ToPixels(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

void RectControl::Place() {
  QWidget* widget = Widget();
  if (!widget) return;
  Ref<Window> window = OwnerWindow();
  const QSize area = widget->parentWidget()->size();
  const int64_t wider = window ? int64_t{area.width()} - window->Width() : 0;
  const int64_t higher = window ? int64_t{area.height()} - window->Height() : 0;
  const auto [left, width] =
      AlongAxis(Left(), Width(), StoredBool("LockLeft", true), StoredBool("LockRight", false), wider);
  const auto [top, height] =
      AlongAxis(Top(), Height(), StoredBool("LockTop", true), StoredBool("LockBottom", false), higher);
  widget->setGeometry(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

bool RectControl::Operable() const {
  QWidget* widget = Widget();
  return widget && widget->isVisibleTo(widget->parentWidget()) && widget->isEnabled();
}

void RectControl::Attached() {
  Ref<Window> window = OwnerWindow();
  widget_ = std::make_unique<WidgetHandle>();
  widget_->widget = CreateWidget(window->ContentWidget());
  RefreshShown();
}

void RectControl::RefreshShown() {
  QWidget* widget = Widget();
  if (!widget) return;
  bool shown = visible_;
  if (std::shared_ptr<TabPanel> panel = tabPanel_.lock(); shown && panel && tabPanelIndex_ > 0)
    shown = panel->Value() + 1 == tabPanelIndex_;
  widget->setVisible(shown);
}

void RectControl::StoredPropertyChanged(std::string_view key) {
  if (Widget()) SyncWidget(key);
}

void RectControl::SyncWidgetSoon(std::string_view key) {
  QWidget* widget = Widget();
  if (!widget) return;
  WidgetHandle& handle = *widget_;
  if (!handle.showWatcher) handle.showWatcher = new ShowWatcher(widget, [this] { SyncPendingProperties(); });
  if (std::find(handle.pendingKeys.begin(), handle.pendingKeys.end(), key) == handle.pendingKeys.end())
    handle.pendingKeys.emplace_back(key);
  // A widget out of sight (the trace behind the page "Values") catches up when it shows.
  if (widget->isVisible()) WidgetRefresh::Schedule(*this);
}

void RectControl::SyncPendingProperties() {
  for (const std::string& pending : std::exchange(widget_->pendingKeys, {})) SyncWidget(pending);
}

void RectControl::SyncWidget(std::string_view key) {
  QWidget* widget = Widget();
  if (key == "Left" || key == "Top" || key == "Width" || key == "Height" || key.starts_with("Lock")) {
    Place();
  } else if (key == "Visible" || key == "TabPanelIndex") {
    RefreshShown();
  } else if (key == "Enabled") {
    widget->setEnabled(enabled_);
  }
}

}  // namespace toolkit
