// Timers on the virtual clock: window timers (WM_TIMER) and thread timers
// (a TIMERPROC), fired in time order as a test moves the clock.
#include <algorithm>

#include "framework/api.h"
#include "framework/headless/window_manager.h"

namespace fw::headless::detail {

namespace {

constexpr int kMinimumTimer = 10;  // USER_TIMER_MINIMUM

}  // namespace

void KillWindowTimers(HWND hwnd) {
    auto& timers = Sys().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
}

}  // namespace fw::headless::detail

namespace fw::api {

using namespace fw::headless::detail;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    InitSystem();
    System& sys = Sys();
    if (hwnd != nullptr && FindWin(hwnd) == nullptr) {
        return 0;
    }
    if (hwnd == nullptr) {
        id = sys.nextThreadTimerId++;
    }
    UINT interval = std::max<UINT>(elapse, kMinimumTimer);
    for (Timer& timer : sys.timers) {
        if (timer.hwnd == hwnd && timer.id == id) {
            timer.interval = interval;
            timer.proc = proc;
            timer.due = sys.now + interval;
            return id != 0 ? id : 1;
        }
    }
    Timer timer;
    timer.hwnd = hwnd;
    timer.id = id;
    timer.interval = interval;
    timer.proc = proc;
    timer.due = sys.now + interval;
    timer.order = sys.timerOrder++;
    sys.timers.push_back(timer);
    return id != 0 ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    auto& timers = Sys().timers;
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        if (it->hwnd == hwnd && it->id == id) {
            timers.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace fw::api

namespace fw::headless {

using namespace detail;

void AdvanceClock(unsigned milliseconds) {
    InitSystem();
    System& sys = Sys();
    uint64_t target = sys.now + milliseconds;
    for (;;) {
        auto next = sys.timers.end();
        for (auto it = sys.timers.begin(); it != sys.timers.end(); ++it) {
            if (it->due <= target && (next == sys.timers.end() || it->due < next->due ||
                                      (it->due == next->due && it->order < next->order))) {
                next = it;
            }
        }
        if (next == sys.timers.end()) {
            break;
        }
        sys.now = std::max(sys.now, next->due);
        next->due += next->interval;
        Timer fired = *next;
        if (fired.proc != nullptr) {
            DispatchScope scope;
            fired.proc(fired.hwnd, WM_TIMER, fired.id, static_cast<DWORD>(sys.now));
        } else {
            Send(fired.hwnd, WM_TIMER, fired.id, 0);
        }
        PumpMessages();
    }
    sys.now = std::max(sys.now, target);
}

DWORD Now() {
    return static_cast<DWORD>(Sys().now);
}

}  // namespace fw::headless
