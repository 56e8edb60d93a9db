// Handlers bound by the layout whose behaviour has not been built yet.
#include "monitor/WindowMain.h"

