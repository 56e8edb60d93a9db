#include "monitor/WindowMain.h"

#include "app/NSProcessInfoToken.h"

WindowMain::~WindowMain() {
  // Released in declaration order: a token held here ends its activity now.
  d = nullptr;
  token = nullptr;
}

namespace single {

toolkit::Ref<::WindowMain> WindowMain() {
  if (toolkit::Ref<toolkit::Window> open = toolkit::Window::OpenInstance(::WindowMain::kRegisteredName))
    return open.Cast<::WindowMain>();
  auto window = toolkit::New<::WindowMain>();
  window->Construct();
  return window;
}

}  // namespace single
