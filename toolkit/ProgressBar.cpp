#include "toolkit/ProgressBar.h"

#include <QProgressBar>
#include <algorithm>

#include "toolkit/Threads.h"

namespace toolkit {

int32_t ProgressBar::Maximum() const {
  RequireMainThread();
  return StoredInt("Maximum", 100);
}

void ProgressBar::SetMaximum(int32_t maximum) {
  RequireMainThread();
  Store("Maximum", maximum);
}

int32_t ProgressBar::Value() const {
  RequireMainThread();
  return StoredInt("Value", 0);
}

void ProgressBar::SetValue(int32_t value) {
  RequireMainThread();
  Store("Value", value);
}

std::optional<PropertyType> ProgressBar::PropertyTypeOf(std::string_view key) const {
  if (key == "Value") return PropertyType::Int32;
  return RectControl::PropertyTypeOf(key);
}

QWidget* ProgressBar::CreateWidget(QWidget* parent) {
  auto* bar = new QProgressBar(parent);
  bar->setTextVisible(false);
  return bar;
}

void ProgressBar::SyncWidget(std::string_view key) {
  auto* bar = static_cast<QProgressBar*>(Widget());
  if (key == "Maximum" || key == "Value") {
    // QProgressBar ignores a value outside its range; the control keeps it, the bar shows it
    // cut to the range.
    const int32_t maximum = std::max(StoredInt("Maximum", 100), 0);
    bar->setRange(0, maximum);
    bar->setValue(std::clamp(StoredInt("Value", 0), 0, maximum));
  } else {
    RectControl::SyncWidget(key);
  }
}

}  // namespace toolkit
