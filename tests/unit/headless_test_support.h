// Helpers of the headless backend's own tests: in-memory dialog templates,
// a dialog procedure that records what its dialog is told, and a fixture
// that fails a test on every error the backend recorded.
#ifndef SETUP_TESTS_HEADLESS_TEST_SUPPORT_H
#define SETUP_TESTS_HEADLESS_TEST_SUPPORT_H

#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/api.h"
#include "framework/templates/dialog_template.h"
#include "framework/headless/headless.h"

namespace headless_test {

using fw::ControlClass;
using fw::DialogItemTemplate;
using fw::DialogTemplate;
using fw::NameOrOrdinal;

inline DialogItemTemplate Item(ControlClass controlClass, int id, uint32_t style, int16_t x,
                               int16_t y, int16_t cx, int16_t cy, const char* text = "") {
    DialogItemTemplate item;
    item.style = WS_CHILD | WS_VISIBLE | style;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    item.windowClass = NameOrOrdinal::Ordinal(static_cast<uint16_t>(controlClass));
    item.title = NameOrOrdinal::Name(fw::WideFromNarrow(text));
    return item;
}

inline DialogItemTemplate NamedItem(const char* className, int id, uint32_t style, int16_t x,
                                    int16_t y, int16_t cx, int16_t cy) {
    DialogItemTemplate item = Item(ControlClass::Static, id, style, x, y, cx, cy);
    item.windowClass = NameOrOrdinal::Name(fw::WideFromNarrow(className));
    return item;
}

inline DialogTemplate Dialog(uint32_t style, int16_t cx, int16_t cy, const char* face,
                             uint16_t pointSize, std::vector<DialogItemTemplate> items,
                             const char* caption = "Test") {
    DialogTemplate dialog;
    dialog.format = fw::TemplateFormat::Classic;
    dialog.style = style | DS_SETFONT;
    dialog.cx = cx;
    dialog.cy = cy;
    dialog.caption = fw::WideFromNarrow(caption);
    fw::DialogFont font;
    font.pointSize = pointSize;
    font.face = fw::WideFromNarrow(face);
    dialog.font = font;
    dialog.items = std::move(items);
    return dialog;
}

// What a recording dialog procedure saw.
struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DRAWITEMSTRUCT draw{};       // WM_DRAWITEM: a copy of what came
    DELETEITEMSTRUCT deleted{};  // WM_DELETEITEM: a copy of what came
};

inline std::vector<Seen>& Log() {
    static std::vector<Seen> s_log;
    return s_log;
}

// Notifications (WM_COMMAND, WM_NOTIFY codes) and WM_INITDIALOG are logged;
// WM_INITDIALOG returns TRUE (the default focus).
inline INT_PTR CALLBACK RecordingProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || message == WM_INITDIALOG || message == WM_DRAWITEM ||
        message == WM_MEASUREITEM || message == WM_DELETEITEM) {
        Seen seen{message, wParam, lParam};
        if (message == WM_DRAWITEM) {
            seen.draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        } else if (message == WM_DELETEITEM) {
            seen.deleted = *reinterpret_cast<const DELETEITEMSTRUCT*>(lParam);
        }
        Log().push_back(seen);
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The notification codes a control sent to its dialog, in order.
inline std::vector<WORD> CommandsFrom(int id) {
    std::vector<WORD> codes;
    for (const Seen& seen : Log()) {
        if (seen.message == WM_COMMAND && LOWORD(seen.wParam) == id) {
            codes.push_back(HIWORD(seen.wParam));
        }
    }
    return codes;
}

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::headless::Reset();
        Log().clear();
    }
    void TearDown() override {
        for (const std::string& error : fw::headless::TakeErrors()) {
            ADD_FAILURE() << "backend error: " << error;
        }
        fw::headless::Reset();
    }

    // A modeless dialog of the template, its procedure recording.
    HWND Create(const DialogTemplate& dialog, DLGPROC proc = RecordingProc, LPARAM param = 0) {
        m_bytes.push_back(dialog.Serialize(fw::TemplateFormat::Classic));
        return fw::api::CreateDialogIndirectParam(
            fw::api::ModuleInstance(), reinterpret_cast<LPCDLGTEMPLATE>(m_bytes.back().data()),
            nullptr, proc, param);
    }

    std::vector<std::vector<uint8_t>> m_bytes;
};

inline std::string TextOf(HWND hwnd) {
    char buffer[512];
    fw::api::GetWindowText(hwnd, buffer, sizeof(buffer));
    return buffer;
}

// A window's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND hwnd) {
    RECT rect;
    fw::api::GetWindowRect(hwnd, &rect);
    fw::api::MapWindowPoints(nullptr, fw::api::GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

}  // namespace headless_test

#endif  // !_WIN32

#endif
