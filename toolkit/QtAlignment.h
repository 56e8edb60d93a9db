#pragma once
// The toolkit's alignment codes, shared by a label's text and a list's columns (0 default,
// 1 left, 2 centre, 3 right), as Qt's, centred vertically. For the toolkit's Qt side only.
#include <Qt>
#include <cstdint>

namespace toolkit {

inline Qt::Alignment AlignmentOf(int32_t code) {
  switch (code) {
    case 2: return Qt::AlignHCenter | Qt::AlignVCenter;
    case 3: return Qt::AlignRight | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

}  // namespace toolkit
