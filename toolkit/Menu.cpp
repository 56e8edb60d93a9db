#include "toolkit/Menu.h"

#include <QKeySequence>

#include "toolkit/Application.h"
#include "toolkit/MenuPeers.h"
#include "toolkit/Threads.h"

namespace toolkit {

// "Cmd+" names the platform's command key, which is Ctrl here.
QKeySequence MenuShortcut(const std::string& shortcut) {
  std::string text = shortcut;
  if (text.rfind("Cmd+", 0) == 0) text = "Ctrl+" + text.substr(4);
  return QKeySequence(QString::fromStdString(text));
}

MenuItem::MenuItem() : peers_(std::make_unique<MenuItemPeers>()) { RequireMainThread(); }
MenuItem::~MenuItem() = default;

std::string MenuItem::Name() const {
  RequireMainThread();
  return name_;
}

void MenuItem::SetName(const std::string& name) {
  RequireMainThread();
  name_ = name;
}

std::string MenuItem::Text() const {
  RequireMainThread();
  return text_;
}

void MenuItem::SetText(const std::string& text) {
  RequireMainThread();
  text_ = text;
  peers_->ForEach([&](QAction& action) { action.setText(QString::fromStdString(text)); });
}

std::string MenuItem::KeyboardShortcut() const {
  RequireMainThread();
  return shortcut_;
}

void MenuItem::SetKeyboardShortcut(const std::string& shortcut) {
  RequireMainThread();
  shortcut_ = shortcut;
  peers_->ForEach([&](QAction& action) { action.setShortcut(MenuShortcut(shortcut)); });
}

bool MenuItem::AutoEnable() const {
  RequireMainThread();
  return autoEnable_;
}

void MenuItem::SetAutoEnable(bool autoEnable) {
  RequireMainThread();
  autoEnable_ = autoEnable;
}

bool MenuItem::Visible() const {
  RequireMainThread();
  return visible_;
}

void MenuItem::SetVisible(bool visible) {
  RequireMainThread();
  visible_ = visible;
  peers_->ForEach([&](QAction& action) { action.setVisible(visible); });
}

bool MenuItem::Enabled() const {
  RequireMainThread();
  return enabled_;
}

void MenuItem::SetEnabled(bool enabled) {
  RequireMainThread();
  enabled_ = enabled;
  peers_->ForEach([&](QAction& action) { action.setEnabled(enabled); });
}

void MenuItem::Append(Ref<MenuItem> item) {
  RequireMainThread();
  if (item.IsNil()) throw NilObjectException();
  children_.push_back(std::move(item));
}

int32_t MenuItem::Count() const {
  RequireMainThread();
  return static_cast<int32_t>(children_.size());
}

Ref<MenuItem> MenuItem::Item(int32_t index) const {
  RequireMainThread();
  if (index < 0 || index >= Count()) return nullptr;
  return children_[static_cast<size_t>(index)];
}

Ref<MenuItem> MenuItem::Child(std::string_view name) const {
  RequireMainThread();
  for (const auto& child : children_)
    if (child->name_ == name) return child;
  return nullptr;
}

Ref<MenuItem> MenuItem::Lookup(std::string_view name) const {
  RequireMainThread();
  for (const auto& child : children_) {
    if (child->name_ == name) return child;
    if (Ref<MenuItem> below = child->Lookup(name)) return below;
  }
  return nullptr;
}

void QuitMenuItem::DefaultAction() { runtime::Quit(); }

}  // namespace toolkit
