// Answers the module's dialogs from inside its modal loops, for hosts that
// run without an operator. A thread timer fires in every modal loop of the
// thread (the module's dialogs, message boxes and sheet alike); on each tick
// the answerer is shown every visible, enabled dialog window of this thread
// and may act on it, typically by posting a button click. A host that follows
// a plan of its own rather than answering each window takes the tick itself
// and looks at OpenDialogs().
#ifndef SETUP_HOST_DIALOG_ANSWERS_H
#define SETUP_HOST_DIALOG_ANSWERS_H

#include <windows.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

class DialogAnswers {
public:
    // answer(window, title, timesSeen): timesSeen counts the ticks on which
    // this window was shown, from 1.
    using Answer = std::function<void(HWND, const std::string&, int)>;
    using Tick = std::function<void()>;

    static constexpr UINT kTickMilliseconds = 50;

    explicit DialogAnswers(Answer answer) {
        s_answer = std::move(answer);
        s_seen.clear();
        m_timer = SetTimer(nullptr, 0, kTickMilliseconds, TimerProc);
    }
    explicit DialogAnswers(Tick tick) {
        s_tick = std::move(tick);
        m_timer = SetTimer(nullptr, 0, kTickMilliseconds, TimerProc);
    }
    ~DialogAnswers() {
        KillTimer(nullptr, m_timer);
        s_answer = nullptr;
        s_tick = nullptr;
    }
    DialogAnswers(const DialogAnswers&) = delete;
    DialogAnswers& operator=(const DialogAnswers&) = delete;

    // Clicks a push button of a dialog as the operator would.
    static void Click(HWND dialog, int id) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

    // The visible top-level dialog windows of this thread, in z-order (the
    // one on top first); enabledOnly leaves out those a modal dialog disabled.
    static std::vector<HWND> OpenDialogs(bool enabledOnly = true) {
        std::pair<std::vector<HWND>, bool> found{{}, enabledOnly};
        EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&found));
        return found.first;
    }

    static std::string TitleOf(HWND window) {
        char title[256] = {};
        GetWindowTextA(window, title, sizeof title);
        return title;
    }

private:
    static bool IsDialog(HWND window) {
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        return std::strcmp(className, "#32770") == 0;
    }

    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD) {
        if (s_tick) {
            s_tick();
            return;
        }
        EnumThreadWindows(GetCurrentThreadId(), VisitWindow, 0);
    }

    static BOOL CALLBACK VisitWindow(HWND window, LPARAM) {
        if (!IsDialog(window) || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
            !s_answer) {
            return TRUE;
        }
        s_answer(window, TitleOf(window), ++s_seen[window]);
        return TRUE;
    }

    static BOOL CALLBACK CollectDialog(HWND window, LPARAM param) {
        auto* found = reinterpret_cast<std::pair<std::vector<HWND>, bool>*>(param);
        if (IsDialog(window) && IsWindowVisible(window) &&
            (!found->second || IsWindowEnabled(window))) {
            found->first.push_back(window);
        }
        return TRUE;
    }

    static inline Answer s_answer;
    static inline Tick s_tick;
    static inline std::map<HWND, int> s_seen;
    UINT_PTR m_timer = 0;
};

#endif
