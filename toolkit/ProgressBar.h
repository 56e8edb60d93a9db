#pragma once
// The progress bar. Its value is kept as set, even beyond the maximum; the bar shows it
// within 0 to the maximum. Every operation is a user-interface one.
#include <cstdint>

#include "toolkit/Control.h"

class QProgressBar;

namespace toolkit {

class ProgressBar : public RectControl {
 public:
  int32_t Maximum() const;
  void SetMaximum(int32_t maximum);
  int32_t Value() const;
  void SetValue(int32_t value);

  std::optional<PropertyType> PropertyTypeOf(std::string_view key) const override;
  void ApplyProperty(const PropertyEntry& entry) override;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void SyncWidget(std::string_view key) override;

 private:
  void ShowOn(QProgressBar& bar) const;

  int32_t maximum_ = 100;
  int32_t value_ = 0;
};

}  // namespace toolkit
