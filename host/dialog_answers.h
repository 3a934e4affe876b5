// Answers the module's dialogs from inside its modal loops, for hosts that
// run without an operator. A thread timer fires in every modal loop of the
// thread (the module's dialogs, message boxes and sheet alike); on each tick
// the answerer is shown every visible, enabled dialog window of this thread
// and may act on it, typically by posting a button click.
#ifndef SETUP_HOST_DIALOG_ANSWERS_H
#define SETUP_HOST_DIALOG_ANSWERS_H

#include <windows.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>

class DialogAnswers {
public:
    // answer(window, title, timesSeen): timesSeen counts the ticks on which
    // this window was shown, from 1.
    using Answer = std::function<void(HWND, const std::string&, int)>;

    explicit DialogAnswers(Answer answer) {
        s_answer = std::move(answer);
        s_seen.clear();
        m_timer = SetTimer(nullptr, 0, 50, TimerProc);
    }
    ~DialogAnswers() {
        KillTimer(nullptr, m_timer);
        s_answer = nullptr;
    }
    DialogAnswers(const DialogAnswers&) = delete;
    DialogAnswers& operator=(const DialogAnswers&) = delete;

    // Clicks a push button of a dialog as the operator would.
    static void Click(HWND dialog, int id) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), VisitWindow, 0);
    }

    static BOOL CALLBACK VisitWindow(HWND window, LPARAM) {
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window) ||
            !IsWindowEnabled(window) || !s_answer) {
            return TRUE;
        }
        char title[256] = {};
        GetWindowTextA(window, title, sizeof title);
        s_answer(window, title, ++s_seen[window]);
        return TRUE;
    }

    static inline Answer s_answer;
    static inline std::map<HWND, int> s_seen;
    UINT_PTR m_timer = 0;
};

#endif
