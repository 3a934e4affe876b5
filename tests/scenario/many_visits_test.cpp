// Many visits through Show in one process, each with the windows the pages
// open (the password dialog with a wrong password's message, the sheet, the
// advanced settings dialog and its message, the bin page's colour dialog, the
// flash ID editor with an ID added and one deleted and its colour dialog),
// ended with OK or Cancel in turn. Natively (under AddressSanitizer) the
// headless window system's windows, GDI objects and device contexts are back
// at their start after every visit and the leak check finds nothing; under
// Wine the bytes in use in the process's heaps grow by less than 5 KB a visit
// from the tenth visit to the last, so that a leak of 10 KB a visit fails. The test
// prints its figures. SETUP_SOAK_VISITS sets the number of visits for a long
// run; SETUP_SOAK_LEAK_KB makes the test itself leak that much a visit, to
// see the check fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "resource.h"

#ifdef _WIN32
#include <windows.h>
// Included after windows.h, which it needs.
#include <psapi.h>
#else
#include "framework/headless/headless.h"
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#endif

namespace {

// Under Wine a visit takes a good part of a second. The heaps' bytes in use
// stay the same to the byte from visit to visit once the first ten have
// warmed up, so ten more show a leak of 10 KB a visit (100 KB) clearly.
#ifdef _WIN32
const int kDefaultVisits = 20;
#else
const int kDefaultVisits = 200;
#endif
const int kWarmUpVisits = 10;
const long long kAllowedGrowthPerVisit = 5 * 1024;

int EnvNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

const char kJob[] =
    "[PASSWORD]\r\nPWD=Secret\r\n"
    "[BIN]\r\nColorBin=1\r\n"
    "[Advanced]\r\nHubPort=3\r\n"           // the advanced OK asks for the hubs in order
    "[CheckFlash]\r\nCheckFlashMode=1\r\n"  // the flash ID check: Add/Modify is enabled
    "[CheckID]\r\nNum=1\r\nFID0=0x98,0xDE,0x94,0x93,0x76,0x50\r\nCOLOR0=0\r\nFIDCOR0=255\r\n";

// What a step of a visit does on the open sheet: one per page that opens
// dialogs of its own, in tab order.
using PageStep = std::function<void(Operator&, SheetDriver&, int visit)>;

// The mode page: the advanced settings dialog, its OK (with its message) on
// even visits, Cancel on odd ones.
void ModePageStep(Operator& op, SheetDriver& sheet, int visit) {
    sheet.PickTab(0);
    op.OnDialog(IDD_ADVANCED, [&op, visit](DialogDriver& d) {
        if (visit % 2 == 0) {
            op.OnMessageBox([](MessageBoxSeen&) { return IDOK; });
            d.Click(IDC_ADVANCED_OK);
        } else {
            d.Click(IDC_ADVANCED_CANCEL);
        }
    });
    sheet.Click(IDC_ADVANCED);
}

// The bin page: the colour dialog of bin 1, a colour picked or cancelled.
void BinPageStep(Operator& op, SheetDriver& sheet, int visit) {
    sheet.PickTab(1);
    op.OnColorDialog([visit](ColorDialogSeen&) {
        return visit % 3 == 0 ? ColorChoice::Cancel()
                              : ColorChoice::Pick(RGB(visit % 256, 128, 255 - visit % 256));
    });
    sheet.Click(IDC_BIN_SWATCH1);
}

// The flash check page: the flash ID editor, with a colour picked or
// cancelled, one ID added and the first one deleted (the table keeps its
// length from visit to visit), then OK on even visits and Cancel on odd ones.
void FlashCheckPageStep(Operator& op, SheetDriver& sheet, int visit) {
    sheet.PickTab(2);
    op.OnDialog(IDD_FLASH_ID, [&op, visit](DialogDriver& d) {
        op.OnColorDialog([visit](ColorDialogSeen&) {
            return visit % 3 == 1 ? ColorChoice::Cancel()
                                  : ColorChoice::Pick(RGB(255 - visit % 256, visit % 256, 64));
        });
        d.Click(IDC_FID_SWATCH);
        char byte[3];
        std::snprintf(byte, sizeof byte, "%02X", visit % 256);
        d.Type(IDC_FID_BYTE1, byte);
        d.Click(IDC_FID_ADD);
        d.Select(IDC_FID_LIST, 0);
        d.Click(IDC_FID_DELETE);
        d.Click(visit % 2 == 0 ? IDOK : IDCANCEL);
    });
    sheet.Click(IDC_ADD_MODIFY);
}

const std::vector<PageStep>& PageSteps() {
    static const std::vector<PageStep> steps = {ModePageStep, BinPageStep, FlashCheckPageStep};
    return steps;
}

// One visit: the password (wrong first on odd visits), every page step, then
// OK on even visits and Cancel on odd ones. Returns what Show returned.
int OneVisit(Station& station, int visit) {
    Operator op;
    op.OnDialog(IDD_PASSWORD, [&op, visit](DialogDriver& d) {
        if (visit % 2 == 1) {
            op.OnMessageBox([](MessageBoxSeen&) { return IDOK; });
            d.Type(IDC_PASSWORD, "wrong");
            d.Click(IDOK);
        }
        d.Type(IDC_PASSWORD, "Secret");
        d.Click(IDOK);
    });
    op.OnSheet([&op, visit](SheetDriver& sheet) {
        for (const PageStep& step : PageSteps()) {
            step(op, sheet, visit);
        }
        sheet.Click(visit % 2 == 0 ? IDOK : IDCANCEL);
    });
    return station.Show(op);
}

// What the window system holds: windows of the thread, and natively GDI
// objects and device contexts.
struct Held {
    size_t windows = 0, gdiObjects = 0, deviceContexts = 0;
    bool operator==(const Held& o) const {
        return windows == o.windows && gdiObjects == o.gdiObjects &&
               deviceContexts == o.deviceContexts;
    }
    std::string Text() const {
        return std::to_string(windows) + " windows, " + std::to_string(gdiObjects) +
               " GDI objects, " + std::to_string(deviceContexts) + " device contexts";
    }
};

#ifdef _WIN32
BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<size_t*>(count);
    return TRUE;
}

Held HeldNow() {
    Held held;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow,
                        reinterpret_cast<LPARAM>(&held.windows));
    held.gdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    return held;
}

// The bytes in the busy blocks of every heap of the process, each heap
// locked while it is walked: what a leak of the module, or of the system
// libraries it calls, adds to, without the steps in which a heap grows and
// shrinks that the commit charge shows (some hundred KB either way).
size_t HeapBytesInUse() {
    std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(std::min<size_t>(
        heaps.size(), ::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data())));
    size_t total = 0;
    for (HANDLE heap : heaps) {
        if (!::HeapLock(heap)) {
            continue;
        }
        PROCESS_HEAP_ENTRY entry = {};
        while (::HeapWalk(heap, &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                total += entry.cbData;
            }
        }
        ::HeapUnlock(heap);
    }
    return total;
}

// The process's private bytes (its commit charge): PrivateUsage, or where
// the call fills only the basic counters (Wine) PagefileUsage, documented as
// the same figure. 0 when neither is given.
size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(),
                                reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof counters)) {
        return 0;
    }
    return counters.cb >= sizeof counters && counters.PrivateUsage != 0 ? counters.PrivateUsage
                                                                        : counters.PagefileUsage;
}
#else
Held HeldNow() {
    return {fw::headless::LiveWindows(), fw::headless::LiveGdiObjects(),
            fw::headless::LiveDeviceContexts()};
}
#endif

TEST(ManyVisits, NothingGrowsOverManyVisits) {
    Station station;
    station.WriteJob(kJob);
    const Held start = HeldNow();
#ifdef _WIN32
    size_t privateAfterTenth = 0, privateAfterLast = 0, heapAfterTenth = 0, heapAfterLast = 0;
#endif
    const int kVisits = std::max(EnvNumber("SETUP_SOAK_VISITS", kDefaultVisits), kWarmUpVisits + 1);
    const int leakPerVisit = EnvNumber("SETUP_SOAK_LEAK_KB", 0) * 1024;
    std::vector<std::vector<char>> leaked;
    int confirmed = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (int visit = 0; visit < kVisits; ++visit) {
        SCOPED_TRACE("visit " + std::to_string(visit));
        const int result = OneVisit(station, visit);
        if (leakPerVisit > 0) {
            leaked.emplace_back(static_cast<size_t>(leakPerVisit), '\x5A');
        }
        ASSERT_EQ(visit % 2 == 0 ? 1 : 0, result);
        confirmed += result;
        const Held now = HeldNow();
        ASSERT_EQ(start.Text(), now.Text()) << "left behind by the visit";
#ifdef _WIN32
        if (visit == kWarmUpVisits - 1) {
            privateAfterTenth = PrivateBytes();
            heapAfterTenth = HeapBytesInUse();
        }
        privateAfterLast = PrivateBytes();
        heapAfterLast = HeapBytesInUse();
#endif
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("%d visits (%d confirmed) in %.1f s, %.1f ms each; held after every visit: %s\n",
                kVisits, confirmed, seconds, 1000 * seconds / kVisits, start.Text().c_str());
#ifdef _WIN32
    const auto kb = [](size_t bytes) { return static_cast<long long>(bytes / 1024); };
    const int measured = kVisits - kWarmUpVisits;
    const long long growth =
        static_cast<long long>(heapAfterLast) - static_cast<long long>(heapAfterTenth);
    const long long allowed = kAllowedGrowthPerVisit * measured;
    std::printf(
        "heap bytes in use after visit %d: %lld KB, after visit %d: %lld KB (%+lld KB, "
        "%.1f KB a visit; %lld KB allowed)\n",
        kWarmUpVisits, kb(heapAfterTenth), kVisits, kb(heapAfterLast), growth / 1024,
        growth / 1024.0 / measured, allowed / 1024);
    std::printf("private bytes after visit %d: %lld KB, after visit %d: %lld KB\n", kWarmUpVisits,
                kb(privateAfterTenth), kVisits, kb(privateAfterLast));
    if (heapAfterTenth == 0 || heapAfterLast == 0) {
        [] { GTEST_SKIP() << "the process's heaps cannot be walked here"; }();
    }
    EXPECT_LT(growth, allowed) << "the heaps grew by 5 KB or more a visit";
#elif defined(__SANITIZE_ADDRESS__)
    const int leaks = __lsan_do_recoverable_leak_check();
    std::printf("leak check after %d visits: %s\n", kVisits, leaks ? "LEAKS" : "no leaks");
    EXPECT_EQ(0, leaks) << "the leak check found memory no longer reachable";
#else
    // GTEST_SKIP returns from the lambda only: the checks above still count.
    [] { GTEST_SKIP() << "no leak check: not built with AddressSanitizer"; }();
#endif
}

}  // namespace
