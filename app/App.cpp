#include "app/App.h"

namespace single {

toolkit::Ref<::App> App() { return toolkit::runtime::GetAppObject().Cast<::App>(); }

}  // namespace single
