#include "toolkit/ObjCExceptions.h"

#include "toolkit/Exceptions.h"

namespace toolkit {

void RaiseObjCException(platform::Id exception) {
  std::string reason = platform::ExceptionReason(exception);
  if (reason.empty()) reason = "The operating system raised an exception without a reason.";
  throw ObjCException(reason);
}

}  // namespace toolkit
