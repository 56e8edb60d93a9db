#pragma once
// The application object: no properties, no menu handlers, no document types.
#include "toolkit/Application.h"

class App : public toolkit::Application {
 public:
  App() {}
  void Event_Open() override {}
};

namespace single {
// The registered application object; makes no user-interface call, so any thread may ask.
toolkit::Ref<::App> App();
}  // namespace single
