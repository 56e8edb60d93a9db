#include "monitor/WindowMain.h"

#include "app/NSProcessInfoToken.h"

WindowMain::~WindowMain() {
  // Released in declaration order: a token held here ends its activity now.
  d = nullptr;
  token = nullptr;
}

namespace single {

toolkit::Ref<::WindowMain> WindowMain() { return toolkit::SingleInstance<::WindowMain>(); }

}  // namespace single
