#pragma once
// The toolkit's window: constructed in two steps (the object, then Construct, which raises
// the window's construction events), owning its controls by name, and registered as the
// open instance of its class while it is open.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/PropertyRecord.h"
#include "toolkit/Ref.h"

namespace toolkit {

class MenuBar;
class WindowPeer;

class Window : public std::enable_shared_from_this<Window> {
 public:
  explicit Window(std::string registeredClassName);
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The window's construction: registers it as its class's open instance, raises Layout,
  // CreateControls, the controls' Open events, AddMenuHandlers and Event_Open, then shows it
  // when its Visible property says so.
  void Construct();

  // The open instance of a window class, by its registered name; nil when none is open.
  // Serves worker threads too.
  static Ref<Window> OpenInstance(std::string_view registeredClassName);
  // The toolkit's own finaliser: lets go of every open window (no Close events) and of the
  // closed ones still kept, so that their widgets go before the GUI framework does.
  static void ReleaseOpenInstances();
  // Closes every open window, raising their Close events (the application quits).
  static void CloseOpenInstances();

  // Window events; the default handlers do nothing.
  virtual void Layout() {}
  virtual void CreateControls() {}
  virtual void AddMenuHandlers(Window& /*window*/) {}
  virtual void Event_Open() {}
  virtual void Event_Close() {}

  // Controls.
  template <class T>
  Ref<T> New() {
    return Ref<T>(std::shared_ptr<T>(new T()));
  }
  // Registers the control under its name; throws RuntimeException when the name is taken.
  void AddControl(const std::string& name, Ref<Control> control);
  Ref<Control> ControlByName(std::string_view name) const;  // serves worker threads too
  template <class T>
  Ref<T> ControlAs(std::string_view name) const {
    return ControlByName(name).template Cast<T>();
  }
  // Builds one control: a new object of class T, registered under the name and given its
  // property record; returns it, ready for its event bindings.
  template <class T>
  Ref<T> BuildControl(const std::string& name, std::string_view record) {
    Ref<T> control = New<T>();
    AddControl(name, control);
    SetProperties(*control, record);
    return control;
  }
  // Applies a property record to a control of this window, or to the window itself.
  void SetProperties(Control& target, std::string_view record);
  void SetProperties(std::string_view record);

  // Window properties.
  std::string Title() const;
  int32_t Width() const;
  int32_t Height() const;
  bool Visible() const;
  const PropertyValue* StoredProperty(std::string_view key) const;

  // Menus.
  void SetMenuBar(Ref<MenuBar> bar);
  Ref<toolkit::MenuBar> MenuBar() const;
  void AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
  // The user chose the item: the window's bound handler runs, or else the item's own action.
  void ChooseMenuItem(std::string_view itemName);

  // Closing: raises Event_Close, ends the window's registration as open instance and takes
  // it off the screen. While the event loop runs, the toolkit keeps the closed window until
  // the loop is back to waiting, as the handler that closed it may belong to its own widgets.
  void Close();
  // Whether the window is its class's open instance: constructed and not closed.
  bool IsOpen() const;
  // Shows the window modally; blocks until it closes when the dialog seam says so.
  void ShowModal();

  // Presses the first button marked so ("Default", "Cancel") that the user can operate, as the
  // user presses it; false when there is none.
  bool PressButtonMarked(std::string_view mark);

  // Re-evaluates which controls show after the front page of a tab panel changed.
  void RefreshShownControls();
  // Places every control again after the content area changed size; Width and Height are the
  // size the layout was designed for.
  void PlaceControls();
  QWidget* ContentWidget() const;

 private:
  void ApplyWindowProperty(const PropertyEntry& entry);
  // The controls with a place in the window, in creation order.
  std::vector<RectControl*> RectControls() const;

  std::string className_;
  std::map<std::string, PropertyValue, std::less<>> properties_;
  Ref<toolkit::MenuBar> menuBar_;
  std::map<std::string, std::function<bool()>, std::less<>> menuHandlers_;
  std::unique_ptr<WindowPeer> peer_;  // destroyed after the controls (declared before them)
  std::map<std::string, Ref<Control>, std::less<>> controls_;
  std::vector<Ref<Control>> creationOrder_;
};

// The single instance of a window class: the open window registered as T::kRegisteredName,
// or a new one, constructed (and so built) here, when none is open.
template <class T>
Ref<T> SingleInstance() {
  if (Ref<Window> open = Window::OpenInstance(T::kRegisteredName)) return open.template Cast<T>();
  auto window = New<T>();
  window->Construct();
  return window;
}

}  // namespace toolkit
