#include "toolkit/Clock.h"
#include "toolkit/Seams.h"
#include "toolkit/Threads.h"

namespace toolkit {

void WaitPass() {
  Clock().OnMainThreadWaitPass();
  YieldToNextThread();
}

}  // namespace toolkit
