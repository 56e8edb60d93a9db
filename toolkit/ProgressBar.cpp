#include "toolkit/ProgressBar.h"

#include <QProgressBar>
#include <algorithm>

#include "toolkit/Threads.h"

namespace toolkit {

int32_t ProgressBar::Maximum() const {
  RequireMainThread();
  return maximum_;
}

void ProgressBar::SetMaximum(int32_t maximum) {
  RequireMainThread();
  Assign("Maximum", maximum_, maximum);
}

int32_t ProgressBar::Value() const {
  RequireMainThread();
  return value_;
}

void ProgressBar::SetValue(int32_t value) {
  RequireMainThread();
  Assign("Value", value_, value);
}

std::optional<PropertyType> ProgressBar::PropertyTypeOf(std::string_view key) const {
  if (key == "Value") return PropertyType::Int32;
  return RectControl::PropertyTypeOf(key);
}

void ProgressBar::ApplyProperty(const PropertyEntry& entry) {
  if (entry.key == "Maximum")
    SetMaximum(std::get<int32_t>(entry.value));
  else if (entry.key == "Value")
    SetValue(std::get<int32_t>(entry.value));
  else
    RectControl::ApplyProperty(entry);
}

QWidget* ProgressBar::CreateWidget(QWidget* parent) {
  auto* bar = new QProgressBar(parent);
  bar->setTextVisible(false);
  ShowOn(*bar);
  return bar;
}

void ProgressBar::SyncWidget(std::string_view key) {
  if (key == "Maximum" || key == "Value")
    ShowOn(*static_cast<QProgressBar*>(Widget()));
  else
    RectControl::SyncWidget(key);
}

// QProgressBar ignores a value outside its range; the control keeps it, the bar shows it cut to
// the range.
void ProgressBar::ShowOn(QProgressBar& bar) const {
  const int32_t maximum = std::max(maximum_, 0);
  bar.setRange(0, maximum);
  bar.setValue(std::clamp(value_, 0, maximum));
}

}  // namespace toolkit
