#pragma once
// Opening the desktop's display for the GUI framework. Internal to the toolkit.
#include <QApplication>
#include <memory>

namespace toolkit {

// The GUI framework's application over the desktop's display; nil, after one line on standard
// error, when there is no display to open: none is named, or the one named cannot be opened.
std::unique_ptr<QApplication> OpenDisplay(const char* programPath);

}  // namespace toolkit
