#include "toolkit/Graphics.h"

#include <QPainter>

namespace toolkit {

Graphics::Graphics(QPainter& painter, int32_t width, int32_t height)
    : painter_(painter), width_(width), height_(height) {}

void Graphics::FillRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  painter_.save();
  painter_.setClipRect(0, 0, width_, height_, Qt::IntersectClip);
  painter_.fillRect(left, top, width, height,
                    QColor(foreColor_.red, foreColor_.green, foreColor_.blue, 255 - foreColor_.alpha));
  painter_.restore();
}

}  // namespace toolkit
