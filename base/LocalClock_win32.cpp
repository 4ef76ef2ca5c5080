// The local wall clock, read once.
#include "base/LocalClock_win32.h"

#include <windows.h>

ClockTime ReadLocalClock() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wHour, now.wMinute, now.wSecond, now.wYear, now.wMonth, now.wDay, now.wMilliseconds};
}
