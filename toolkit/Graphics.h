#pragma once
// A graphics context: a drawing colour and a rectangle to draw in, from (0, 0) to
// (Width, Height). The list box hands one to its cell-painting event for each cell.
#include <cstdint>

#include "toolkit/PropertyRecord.h"

class QPainter;

namespace toolkit {

// A colour from its parts; alpha 0 is opaque, 255 fully transparent.
constexpr Colour RGB(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 0) {
  return Colour{red, green, blue, alpha};
}

class Graphics {
 public:
  // Draws through the painter, whose origin is the top left of the width x height area.
  Graphics(QPainter& painter, int32_t width, int32_t height);
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  Colour ForeColor() const { return foreColor_; }
  void SetForeColor(Colour colour) { foreColor_ = colour; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // Fills the rectangle with the drawing colour; what lies outside the area is cut off.
  void FillRect(int32_t left, int32_t top, int32_t width, int32_t height);

 private:
  QPainter& painter_;
  int32_t width_, height_;
  Colour foreColor_ = RGB(0, 0, 0);
};

}  // namespace toolkit
