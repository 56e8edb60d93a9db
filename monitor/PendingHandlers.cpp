// Handlers bound by the layout whose behaviour has not been built yet.
#include "monitor/WindowMain.h"

void WindowMain::TimerLog_Action(toolkit::Timer&) {}
bool WindowMain::HPUEEPROM_Action() { return true; }
