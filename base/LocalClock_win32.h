// The local wall clock, the one time source of the main window and the announcer.
#pragma once

#include "base/ClockTime.h"

// The local wall clock, read once.
ClockTime ReadLocalClock();
