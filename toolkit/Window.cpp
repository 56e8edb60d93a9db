#include "toolkit/Window.h"

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QThread>

#include "toolkit/Controls.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Menu.h"
#include "toolkit/MenuWidgets.h"
#include "toolkit/Seams.h"
#include "toolkit/Threads.h"
#include "toolkit/UnhandledErrors.h"

namespace toolkit {

class WindowPeer : public QMainWindow {
 public:
  explicit WindowPeer(Window& window) : window_(window), content_(new QWidget(this)) {
    setCentralWidget(content_);
    content_->setAutoFillBackground(true);
    content_->installEventFilter(this);
  }
  QWidget* Content() const { return content_; }
  QPointer<QEventLoop> modalLoop;

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (window_.IsOpen()) RunEventHandler(&window_, [this] { window_.Close(); });
    event->accept();
  }
  // The controls follow the edges of the content area that they are locked to.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == content_ && event->type() == QEvent::Resize) window_.PlaceControls();
    return QMainWindow::eventFilter(watched, event);
  }
  // Return and Escape that no control used press the window's button marked for them.
  void keyPressEvent(QKeyEvent* event) override {
    if (!PressDialogButton(*event)) QMainWindow::keyPressEvent(event);
  }

 private:
  bool PressDialogButton(const QKeyEvent& event) {
    const bool keypadEnter = event.key() == Qt::Key_Enter && event.modifiers() == Qt::KeypadModifier;
    if (event.modifiers() != Qt::NoModifier && !keypadEnter) return false;
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return window_.PressButtonMarked("Default");
    if (event.key() == Qt::Key_Escape) return window_.PressButtonMarked("Cancel");
    return false;
  }

  Window& window_;
  QWidget* content_;
};

namespace {

std::map<std::string, std::shared_ptr<Window>, std::less<>>& OpenWindows() {
  static std::map<std::string, std::shared_ptr<Window>, std::less<>> windows;
  return windows;
}

// Windows closed while the event loop runs. A handler of one of their own widgets may still be
// under way below the code that closed them (a menu's key handler, a button's click), so they
// are kept until the main loop is back to waiting for events.
std::vector<std::shared_ptr<Window>>& ClosedWindows() {
  static std::vector<std::shared_ptr<Window>> windows;
  return windows;
}

void ReleaseClosedWindows() {
  auto closed = std::move(ClosedWindows());
  ClosedWindows().clear();
}

void KeepClosedWindow(std::shared_ptr<Window> window) {
  // Outside the event loop (start-up, the finalisers, a test's direct calls) no widget's
  // handler is under way: the window may go at once.
  if (QThread::currentThread()->loopLevel() == 0) return;
  static QPointer<QAbstractEventDispatcher> watched;
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(); watched != dispatcher) {
    watched = dispatcher;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, [] {
      // A nested loop (a modal window's) runs inside some handler still.
      if (QThread::currentThread()->loopLevel() == 1) ReleaseClosedWindows();
    });
  }
  ClosedWindows().push_back(std::move(window));
}

}  // namespace

Window::Window(std::string registeredClassName) : className_(std::move(registeredClassName)) {}

// A window going away is open no more (the registry would hold it), so a close that its widgets
// raise on the way is no close of the window.
Window::~Window() { ForgetEventSource(this); }

void Window::Construct() {
  RequireMainThread();
  peer_ = std::make_unique<WindowPeer>(*this);
  OpenWindows()[className_] = shared_from_this();
  try {
    Layout();
    CreateControls();
    for (auto& control : creationOrder_) control->Opened();
    AddMenuHandlers(*this);
    Event_Open();
  } catch (...) {
    OpenWindows().erase(className_);
    throw;
  }
  if (Visible()) {
    int menuHeight = peer_->menuWidget() ? peer_->menuWidget()->sizeHint().height() : 0;
    peer_->resize(Width(), Height() + menuHeight);
    peer_->show();
  }
}

Ref<Window> Window::OpenInstance(std::string_view registeredClassName) {
  auto& windows = OpenWindows();
  auto found = windows.find(registeredClassName);
  return found == windows.end() ? Ref<Window>() : Ref<Window>(found->second);
}

void Window::CloseOpenInstances() {
  std::vector<std::shared_ptr<Window>> windows;
  for (auto& [name, window] : OpenWindows()) windows.push_back(window);
  for (auto& window : windows) RunEventHandler(window.get(), [&] { window->Close(); });
}

void Window::ReleaseOpenInstances() {
  auto windows = std::move(OpenWindows());
  OpenWindows().clear();
  ReleaseClosedWindows();
}

bool Window::IsOpen() const {
  auto found = OpenWindows().find(className_);
  return found != OpenWindows().end() && found->second.get() == this;
}

void Window::AddControl(const std::string& name, Ref<Control> control) {
  RequireMainThread();
  if (!controls_.emplace(name, control).second)
    throw RuntimeException("The window has a control named \"" + name + "\" already.");
  control->name_ = name;
  control->owner_ = weak_from_this();
  creationOrder_.push_back(control);
  control->Attached();
}

Ref<Control> Window::ControlByName(std::string_view name) const {
  auto found = controls_.find(name);
  return found == controls_.end() ? Ref<Control>() : found->second;
}

void Window::SetProperties(Control& target, std::string_view record) {
  RequireMainThread();
  for (const PropertyEntry& entry :
       DecodePropertyRecord(record, [&target](std::string_view key) { return target.PropertyTypeOf(key); }))
    target.ApplyProperty(entry);
}

void Window::SetProperties(std::string_view record) {
  RequireMainThread();
  for (const PropertyEntry& entry : DecodePropertyRecord(record, CommonPropertyType)) ApplyWindowProperty(entry);
}

void Window::ApplyWindowProperty(const PropertyEntry& entry) {
  properties_[entry.key] = entry.value;
  QWidget* content = peer_->Content();
  const std::string& key = entry.key;
  if (key == "Title") {
    peer_->setWindowTitle(QString::fromStdString(Title()));
  } else if (key == "Width" || key == "Height") {
    content->resize(Width(), Height());
  } else if (key == "MinWidth" || key == "MinHeight") {
    content->setMinimumSize(ValueOr<int32_t>(StoredProperty("MinWidth"), 0), ValueOr<int32_t>(StoredProperty("MinHeight"), 0));
  } else if (key == "MaxWidth" || key == "MaxHeight") {
    content->setMaximumSize(ValueOr<int32_t>(StoredProperty("MaxWidth"), QWIDGETSIZE_MAX),
                            ValueOr<int32_t>(StoredProperty("MaxHeight"), QWIDGETSIZE_MAX));
  } else if (key == "BackColor" || key == "HasBackColor") {
    if (ValueOr<bool>(StoredProperty("HasBackColor"), false)) {
      Colour colour = ValueOr<Colour>(StoredProperty("BackColor"), Colour{});
      QPalette palette = content->palette();
      palette.setColor(QPalette::Window, QColor(colour.red, colour.green, colour.blue));
      content->setPalette(palette);
    }
  } else if (key == "MaximizeButton" || key == "MinimizeButton" || key == "CloseButton") {
    peer_->setWindowFlag(key == "MaximizeButton"   ? Qt::WindowMaximizeButtonHint
                         : key == "MinimizeButton" ? Qt::WindowMinimizeButtonHint
                                                   : Qt::WindowCloseButtonHint,
                         std::get<bool>(entry.value));
  }
}

std::string Window::Title() const { return ValueOr<std::string>(StoredProperty("Title"), ""); }
int32_t Window::Width() const { return ValueOr<int32_t>(StoredProperty("Width"), 0); }
int32_t Window::Height() const { return ValueOr<int32_t>(StoredProperty("Height"), 0); }
bool Window::Visible() const { return ValueOr<bool>(StoredProperty("Visible"), false); }

const PropertyValue* Window::StoredProperty(std::string_view key) const {
  auto found = properties_.find(key);
  return found == properties_.end() ? nullptr : &found->second;
}

void Window::SetMenuBar(Ref<toolkit::MenuBar> bar) {
  RequireMainThread();
  menuBar_ = bar;
  QMenuBar* widgets = peer_->menuBar();
  widgets->clear();
  if (bar) AddMenuBarWidgets(*this, *widgets, bar);
}

Ref<MenuBar> Window::MenuBar() const {
  RequireMainThread();
  return menuBar_;
}

void Window::AddMenuHandler(const std::string& itemName, std::function<bool()> handler) {
  RequireMainThread();
  menuHandlers_[itemName] = std::move(handler);
}

void Window::ChooseMenuItem(std::string_view itemName) {
  std::shared_ptr<Window> keepAlive = shared_from_this();
  RunEventHandler(this, [&] {
    auto handler = menuHandlers_.find(itemName);
    if (handler != menuHandlers_.end()) {
      handler->second();
      return;
    }
    if (menuBar_)
      if (Ref<MenuItem> item = menuBar_->Lookup(itemName)) item->DefaultAction();
  });
}

void Window::Close() {
  RequireMainThread();
  if (!IsOpen()) return;
  std::shared_ptr<Window> keepAlive = shared_from_this();
  struct FinishClosing {
    Window& window;
    ~FinishClosing() {
      OpenWindows().erase(window.className_);
      window.peer_->hide();
      if (window.peer_->modalLoop) window.peer_->modalLoop->quit();
      KeepClosedWindow(window.shared_from_this());
    }
  } finish{*this};
  Event_Close();
}

void Window::ShowModal() {
  RequireMainThread();
  // Qt applies modality as a window is shown, so one already up is shown afresh.
  peer_->hide();
  peer_->setWindowModality(Qt::ApplicationModal);
  peer_->show();
  if (!Dialogs().ModalShowBlocks() || !IsOpen()) return;
  std::shared_ptr<Window> keepAlive = shared_from_this();
  QEventLoop loop;
  peer_->modalLoop = &loop;
  loop.exec();
}

std::vector<RectControl*> Window::RectControls() const {
  std::vector<RectControl*> controls;
  for (const Ref<Control>& control : creationOrder_)
    if (auto* rect = dynamic_cast<RectControl*>(control.Get())) controls.push_back(rect);
  return controls;
}

void Window::RefreshShownControls() {
  for (RectControl* control : RectControls()) control->RefreshShown();
}

void Window::PlaceControls() {
  for (RectControl* control : RectControls()) control->Place();
}

bool Window::PressButtonMarked(std::string_view mark) {
  for (RectControl* control : RectControls()) {
    auto* button = dynamic_cast<PushButton*>(control);
    if (button && ValueOr<bool>(button->StoredProperty(mark), false) && button->Operable()) {
      button->Push();
      return true;
    }
  }
  return false;
}

QWidget* Window::ContentWidget() const { return peer_->Content(); }

}  // namespace toolkit
