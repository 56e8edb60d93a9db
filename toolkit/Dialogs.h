#pragma once
// The system beep and the modal message box, through the dialog seam.
#include <string>

namespace toolkit {

void Beep();
void MsgBox(const std::string& text);

}  // namespace toolkit
