#pragma once
// Opening the desktop's display for the GUI framework. Internal to the toolkit.
#include <QApplication>
#include <memory>

namespace toolkit {

// The GUI framework's application over the desktop's display. When no display is named: nil,
// after one line on standard error. When the one named cannot be opened: that line, then the
// process ends with status 1, as the framework would end it there anyway.
std::unique_ptr<QApplication> OpenDisplay(const char* programPath);

}  // namespace toolkit
