#include "toolkit/Dialogs.h"

#include "toolkit/Seams.h"
#include "toolkit/Threads.h"

namespace toolkit {

void Beep() { Dialogs().Beep(); }

void MsgBox(const std::string& text) {
  RequireMainThread();
  Dialogs().MessageBox(text);
}

}  // namespace toolkit
