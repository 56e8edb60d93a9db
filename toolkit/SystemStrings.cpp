#include "toolkit/SystemStrings.h"

#include "platform/StringObjects.h"

namespace toolkit {

SystemString StringToCFString(std::string_view text) { return platform::NewStringObject(text); }

std::string StringFromCFString(SystemString string) { return platform::StringObjectText(string); }

void LockCFString(SystemString string) { platform::RetainObject(string); }

void UnlockCFString(SystemString string) { platform::ReleaseObject(string); }

}  // namespace toolkit
