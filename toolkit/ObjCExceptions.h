#pragma once
// Turns an exception object of the operating system's runtime into the toolkit's ObjCException.
#include "platform/ObjectRuntime.h"

namespace toolkit {

// Raises ObjCException carrying the exception's reason.
[[noreturn]] void RaiseObjCException(platform::Id exception);

}  // namespace toolkit
