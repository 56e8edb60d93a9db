#include "app/NSProcessInfoToken.h"

#include "app/NSProcessInfo.h"

NSProcessInfoToken::~NSProcessInfoToken() { Destructor(); }

void NSProcessInfoToken::Destructor() {
  RunReportingFailure([this] {
    if (ref && NSProcessRef && NSProcessInfo::OSVersion() >= NSProcessInfo::kActivityVersion) {
      GuardedSend(NSProcessRef, "endActivity:", ref);
    }
  });
  if (NSProcessRef) RunReportingFailure([this] { GuardedSend(NSProcessRef, "release"); });
  if (ref) RunReportingFailure([this] { GuardedSend(ref, "release"); });
  NSProcessRef = nullptr;
  ref = nullptr;
}
