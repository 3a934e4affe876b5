// The dialog manager: dialogs created from templates (the "#32770" class and
// its default procedure), dialog units, modal and modeless runs, EndDialog,
// default buttons and the focus of a dialog.
//
// Dialog base units. Windows derives them from the template's font: the
// average character width and the character height of the font at the
// template's point size (96 DPI). This backend takes them from the text
// metric table of gdi.cpp, so they are fixed per font:
//
//   face                                            pt   base x  base y
//   "MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif",
//   "Tahoma"                                         8      6      13
//   "Times New Roman"                                8      6      12
//   "Times New Roman"                                9      7      14
//   "Times New Roman"                               10      7      15
//   no font (the system font)                        -      8      16
//
// Other fonts of pixel height h (= pt * 96 / 72): base x = round(0.55 h),
// base y = round(1.15 h). A point in dialog units maps to pixels as
// MapDialogRect does: x * baseX / 4 and y * baseY / 8, rounded (MulDiv).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "framework/api.h"
#include "framework/headless/control.h"
#include "framework/headless/dialog_manager.h"
#include "framework/headless/gdi_objects.h"

namespace fw::headless::detail {

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr size_t kTemplateBound = 1 << 20;  // no template of the module comes near

struct DialogState : WindowState {
    HFONT font = nullptr;
    bool ownsFont = false;
    SIZE baseUnits{8, 16};
    bool ended = false;
    INT_PTR result = 0;
    int defId = 0;
    HWND savedFocus = nullptr;
    HWND disabledOwner = nullptr;
};

DialogState* StateOf(HWND hwnd) {
    return WindowStateOf<DialogState>(hwnd);
}

std::string ClassNameOf(const NameOrOrdinal& windowClass) {
    if (!windowClass.IsOrdinal()) {
        return NarrowFromWide(windowClass.name);
    }
    // The predefined classes by ordinal, from ControlClass::Button on.
    static const char* const kNames[] = {"Button",  "Edit",      "Static",
                                         "ListBox", "ScrollBar", "ComboBox"};
    const unsigned index = *windowClass.ordinal - static_cast<unsigned>(ControlClass::Button);
    return index < std::size(kNames) ? kNames[index] : "";
}

// The first answer of `visit` (a child window, nullptr to go on) for the
// children of `parent` in their order.
template <class Visit>
HWND FindChild(HWND parent, Visit visit) {
    Window* w = FindWin(parent);
    if (w == nullptr) {
        return nullptr;
    }
    for (HWND child : w->children) {
        Window* c = FindWin(child);
        if (HWND found = c != nullptr ? visit(child, *c) : nullptr) {
            return found;
        }
    }
    return nullptr;
}

bool IsButton(const Window& w) {
    return EqualNoCase(w.windowClass->name, "Button");
}

HWND FindDefaultButton(HWND dialog) {
    return FindChild(dialog, [](HWND child, const Window& c) {
        return IsButton(c) && (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? child : nullptr;
    });
}

void SetDefaultId(HWND dialog, int id) {
    DialogState* state = StateOf(dialog);
    if (state == nullptr) {
        return;
    }
    HWND old = FindDefaultButton(dialog);
    HWND next = api::GetDlgItem(dialog, id);
    if (old != nullptr && old != next) {
        Send(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
    if (next != nullptr) {
        Window* c = FindWin(next);
        DWORD type = c->style & BS_TYPEMASK;
        if (IsButton(*c) && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) {
            Send(next, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        }
    }
    if ((state = StateOf(dialog)) != nullptr) {
        state->defId = id;
    }
}

// The first control that takes the focus by Tab (visible, enabled, WS_TABSTOP,
// looking into WS_EX_CONTROLPARENT children), or nullptr.
HWND FirstTabItem(HWND parent) {
    return FindChild(parent, [](HWND child, const Window& c) -> HWND {
        if (!(c.style & WS_VISIBLE) || (c.style & WS_DISABLED)) {
            return nullptr;
        }
        if (c.exStyle & WS_EX_CONTROLPARENT) {
            return FirstTabItem(child);
        }
        return (c.style & WS_TABSTOP) ? child : nullptr;
    });
}

void FocusControl(HWND control) {
    if (Send(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
        Send(control, EM_SETSEL, 0, -1);
    }
    api::SetFocus(control);
}

// WM_ERASEBKGND: the client area in the dialog's brush (WM_CTLCOLORDLG).
LRESULT EraseBackground(HWND hwnd, WPARAM wParam) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    LRESULT brush = Send(hwnd, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hwnd));
    if (brush == 0) {
        brush = api::DefWindowProc(hwnd, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hwnd));
    }
    RECT client;
    api::GetClientRect(hwnd, &client);
    api::FillRect(dc, &client, reinterpret_cast<HBRUSH>(brush));
    return 1;
}

LRESULT GetDefaultId(const DialogState* state, HWND hwnd) {
    if (state != nullptr && state->defId != 0) {
        return MAKELONG(state->defId, DC_HASDEFID);
    }
    HWND button = FindDefaultButton(hwnd);
    return button != nullptr ? MAKELONG(api::GetDlgCtrlID(button), DC_HASDEFID) : 0;
}

// The control that had the focus when the dialog was left, while it lives.
HWND SavedFocus(const DialogState* state, HWND hwnd) {
    return state != nullptr && FindWin(state->savedFocus) != nullptr &&
                   IsDescendant(hwnd, state->savedFocus)
               ? state->savedFocus
               : nullptr;
}

// WM_ACTIVATE: a dialog being left keeps its focus control; one coming back
// gives the focus back to it.
LRESULT Activate(DialogState* state, HWND hwnd, WPARAM wParam) {
    if (state == nullptr) {
        return 0;
    }
    HWND focus = api::GetFocus();
    if (LOWORD(wParam) == WA_INACTIVE) {
        if (focus != nullptr && IsDescendant(hwnd, focus)) {
            state->savedFocus = focus;
        }
    } else if (HWND saved = SavedFocus(state, hwnd)) {
        api::SetFocus(saved);
    }
    return 0;
}

LRESULT TakeFocus(const DialogState* state, HWND hwnd) {
    HWND target = SavedFocus(state, hwnd);
    if (target == nullptr) {
        target = FirstTabItem(hwnd);
    }
    if (target != nullptr) {
        FocusControl(target);
    }
    return 0;
}

// WM_NEXTDLGCTL: the control in wParam (lParam's low word set), else the first.
LRESULT NextControl(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam) != 0) {
        HWND target = reinterpret_cast<HWND>(wParam);
        if (FindWin(target) != nullptr) {
            FocusControl(target);
        }
    } else if (HWND first = FirstTabItem(hwnd)) {
        FocusControl(first);
    }
    return 0;
}

// WM_CLOSE: the close box means Cancel, unless Cancel is disabled.
LRESULT Close(HWND hwnd) {
    HWND cancel = api::GetDlgItem(hwnd, IDCANCEL);
    if (cancel == nullptr || api::IsWindowEnabled(cancel)) {
        api::PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(cancel));
    }
    return 0;
}

// The dialog defaults that DefDlgProc adds to DefWindowProc's.
LRESULT DialogDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DialogState* state = StateOf(hwnd);
    switch (msg) {
        case WM_ERASEBKGND:
            return EraseBackground(hwnd, wParam);
        case WM_SETFONT:
            if (state != nullptr) {
                state->font = reinterpret_cast<HFONT>(wParam);
            }
            return 0;
        case WM_GETFONT:
            return state != nullptr ? reinterpret_cast<LRESULT>(state->font) : 0;
        case DM_SETDEFID:
            SetDefaultId(hwnd, static_cast<int>(wParam));
            return TRUE;
        case DM_GETDEFID:
            return GetDefaultId(state, hwnd);
        case WM_ACTIVATE:
            return Activate(state, hwnd, wParam);
        case WM_SETFOCUS:
            return TakeFocus(state, hwnd);
        case WM_NEXTDLGCTL:
            return NextControl(hwnd, wParam, lParam);
        case WM_CLOSE:
            return Close(hwnd);
        case WM_NOTIFYFORMAT:
            return 1;  // NFR_ANSI
        default:
            return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

int MulDivRound(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    long long product = static_cast<long long>(a) * b;
    long long half = (c > 0 ? c : -c) / 2;
    bool negative = (product < 0) != (c < 0);
    long long magnitude = (product < 0 ? -product : product) + half;
    long long quotient = magnitude / (c > 0 ? c : -c);
    return static_cast<int>(negative ? -quotient : quotient);
}

SIZE DialogBaseUnits(std::string_view face, int pointSize) {
    if (pointSize <= 0 || pointSize == kMessageBoxFontPointSize || face.empty()) {
        return SIZE{8, 16};
    }
    LOGFONT font{};
    font.lfHeight = -MulDivRound(pointSize, 96, 72);
    std::strncpy(font.lfFaceName, std::string(face).c_str(), LF_FACESIZE - 1);
    FontMetrics metrics = MetricsOf(font);
    return SIZE{metrics.averageWidth, metrics.height};
}

}  // namespace

bool DialogEnded(HWND hwnd) {
    DialogState* state = StateOf(hwnd);
    return state != nullptr && state->ended;
}

INT_PTR DialogResult(HWND hwnd) {
    DialogState* state = StateOf(hwnd);
    return state != nullptr ? state->result : 0;
}

OwnerDisabler::OwnerDisabler(HWND owner) {
    if (owner != nullptr && FindWin(owner) != nullptr && api::IsWindowEnabled(owner)) {
        api::EnableWindow(owner, FALSE);
        m_owner = owner;
    }
}

OwnerDisabler::~OwnerDisabler() {
    Release();
}

void OwnerDisabler::Release() {
    if (m_owner != nullptr && FindWin(m_owner) != nullptr) {
        api::EnableWindow(m_owner, TRUE);
    }
    m_owner = nullptr;
}

LRESULT CALLBACK DefDlgProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (msg == WM_NCCREATE && w->state == nullptr) {
        w->state = std::make_unique<DialogState>();
    }
    auto dialogProc = reinterpret_cast<DLGPROC>(api::GetWindowLongPtr(hwnd, DWLP_DLGPROC));
    INT_PTR result = 0;
    if (dialogProc != nullptr) {
        api::SetWindowLongPtr(hwnd, DWLP_MSGRESULT, 0);
        result = dialogProc(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        // The font made from the template goes with the dialog.
        DialogState* state = StateOf(hwnd);
        if (state != nullptr && state->ownsFont && state->font != nullptr) {
            api::DeleteObject(state->font);
            state->font = nullptr;
        }
    }
    if (result == 0 && FindWin(hwnd) != nullptr) {
        return DialogDefault(hwnd, msg, wParam, lParam);
    }
    // The procedure handled the message: these messages answer with its
    // return value, the others with DWLP_MSGRESULT.
    if ((msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) || msg == WM_COMPAREITEM ||
        msg == WM_INITDIALOG) {
        return result;
    }
    if (FindWin(hwnd) == nullptr) {
        return 0;
    }
    return api::GetWindowLongPtr(hwnd, DWLP_MSGRESULT);
}

std::optional<fw::DialogTemplate> ParseTemplateAt(const void* bytes) {
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return ParseDialogTemplate(ByteView(static_cast<const uint8_t*>(bytes), kTemplateBound));
}

HWND CreateDialogFromTemplate(const fw::DialogTemplate& dialogTemplate, HINSTANCE instance,
                              HWND parent, DLGPROC proc, LPARAM param, bool forceVisible) {
    DWORD style = dialogTemplate.style;
    DWORD exStyle = dialogTemplate.exStyle;
    if (style & DS_MODALFRAME) {
        exStyle |= WS_EX_DLGMODALFRAME;
    }
    if (style & DS_CONTROL) {
        exStyle |= WS_EX_CONTROLPARENT;
    }
    bool child = (style & WS_CHILD) != 0;

    // The font, and the base units it gives.
    HFONT font = nullptr;
    SIZE units{8, 16};
    if (dialogTemplate.font && dialogTemplate.font->pointSize != kMessageBoxFontPointSize) {
        const DialogFont& templateFont = *dialogTemplate.font;
        LOGFONT logFont{};
        logFont.lfHeight = -MulDivRound(templateFont.pointSize, 96, 72);
        logFont.lfWeight = templateFont.weight;
        logFont.lfItalic = templateFont.italic ? 1 : 0;
        logFont.lfCharSet = templateFont.charset;
        std::strncpy(logFont.lfFaceName, templateFont.Face().c_str(), LF_FACESIZE - 1);
        font = api::CreateFontIndirect(&logFont);
        units = DialogBaseUnits(templateFont.Face(), templateFont.pointSize);
    }

    // The template gives the client area; the window adds its frame.
    RECT insets = ClientInsets(style, exStyle);
    int clientWidth = MulDivRound(dialogTemplate.cx, units.cx, 4);
    int clientHeight = MulDivRound(dialogTemplate.cy, units.cy, 8);
    int width = clientWidth + insets.left + insets.right;
    int height = clientHeight + insets.top + insets.bottom;
    int x = MulDivRound(dialogTemplate.x, units.cx, 4) - insets.left;
    int y = MulDivRound(dialogTemplate.y, units.cy, 8) - insets.top;
    if (style & DS_CENTER) {
        x = (kScreenWidth - width) / 2;
        y = (kScreenHeight - height) / 2;
    } else if (!child && !(style & DS_ABSALIGN) && parent != nullptr) {
        POINT origin = ClientOriginOnScreen(parent);
        x += origin.x;
        y += origin.y;
    }

    std::string className =
        dialogTemplate.windowClass.IsNone() || dialogTemplate.windowClass.IsOrdinal()
            ? std::string("#32770")
            : NarrowFromWide(dialogTemplate.windowClass.name);
    std::string caption = dialogTemplate.Caption();
    HWND hwnd = api::CreateWindowEx(exStyle, className.c_str(), caption.c_str(),
                                    style & ~static_cast<DWORD>(WS_VISIBLE), x, y, width, height,
                                    parent, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        api::DeleteObject(font);
        return nullptr;
    }
    if (DialogState* state = StateOf(hwnd)) {
        state->font = font;
        state->ownsFont = font != nullptr;
        state->baseUnits = units;
    } else if (font != nullptr) {
        api::DeleteObject(font);
        font = nullptr;
    }
    api::SetWindowLongPtr(hwnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    if (font != nullptr) {
        Send(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    }

    for (const DialogItemTemplate& item : dialogTemplate.items) {
        if (FindWin(hwnd) == nullptr) {
            return nullptr;
        }
        std::string itemClass = ClassNameOf(item.windowClass);
        std::string text = item.title.IsOrdinal() ? std::string() : item.Text();
        std::vector<uint8_t> creation;
        if (!item.creationData.empty()) {
            uint16_t size = static_cast<uint16_t>(item.creationData.size() + 2);
            creation.push_back(static_cast<uint8_t>(size & 0xFF));
            creation.push_back(static_cast<uint8_t>(size >> 8));
            creation.insert(creation.end(), item.creationData.begin(), item.creationData.end());
        }
        HWND control = api::CreateWindowEx(
            item.exStyle | WS_EX_NOPARENTNOTIFY, itemClass.c_str(), text.c_str(),
            item.style | WS_CHILD, MulDivRound(item.x, units.cx, 4),
            MulDivRound(item.y, units.cy, 8), MulDivRound(item.cx, units.cx, 4),
            MulDivRound(item.cy, units.cy, 8), hwnd,
            reinterpret_cast<HMENU>(
                static_cast<uintptr_t>(static_cast<uint32_t>(item.id) & 0xFFFFu)),
            instance, creation.empty() ? nullptr : creation.data());
        if (control == nullptr) {
            if (style & DS_NOFAILCREATE) {
                continue;
            }
            api::DestroyWindow(hwnd);
            return nullptr;
        }
        if (font != nullptr) {
            Send(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        if (instance != nullptr && item.title.IsOrdinal() && EqualNoCase(itemClass, "Static") &&
            (item.style & SS_TYPEMASK) == SS_BITMAP) {
            HBITMAP bitmap = LoadBitmapObject(*item.title.ordinal);
            if (bitmap != nullptr) {
                StaticTakeImage(control, bitmap);
            }
        }
    }

    HWND focus = FirstTabItem(hwnd);
    LRESULT wantsFocus = Send(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param);
    if (FindWin(hwnd) == nullptr) {
        return nullptr;
    }
    if (wantsFocus != 0) {
        // WM_INITDIALOG may have changed what can take the focus.
        focus = FirstTabItem(hwnd);
        if (focus != nullptr) {
            FocusControl(focus);
        } else if (!child) {
            api::SetFocus(hwnd);
        }
    }
    Window* w = FindWin(hwnd);
    if (w != nullptr && ((style & WS_VISIBLE) || forceVisible) && !(w->style & WS_VISIBLE) &&
        !DialogEnded(hwnd)) {
        api::ShowWindow(hwnd, SW_SHOWNORMAL);
    }
    return FindWin(hwnd) != nullptr ? hwnd : nullptr;
}

}  // namespace fw::headless::detail

namespace fw::api {

using namespace fw::headless;
using namespace fw::headless::detail;

INT_PTR DialogBoxIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent,
                               DLGPROC proc, LPARAM param) {
    std::optional<fw::DialogTemplate> parsed = ParseTemplateAt(dialogTemplate);
    if (!parsed) {
        return -1;
    }
    parsed->style &= ~static_cast<DWORD>(WS_CHILD);
    HWND owner = parent != nullptr ? TopLevelOf(parent) : nullptr;
    OwnerDisabler disabler(owner);
    HWND hwnd = CreateDialogFromTemplate(*parsed, instance, owner, proc, param, true);
    if (hwnd == nullptr) {
        return -1;
    }
    if (DialogState* state = StateOf(hwnd)) {
        state->disabledOwner = owner;
    }
    fw::headless::PumpMessages();

    if (FindWin(hwnd) != nullptr && !DialogEnded(hwnd)) {
        fw::headless::ModalWindow modal;
        modal.kind = fw::headless::ModalWindow::Dialog;
        modal.hwnd = hwnd;
        modal.owner = parent;
        modal.templateId =
            static_cast<int>(reinterpret_cast<uintptr_t>(GetProp(hwnd, "SetupTemplateId")));
        modal.caption = FindWin(hwnd)->text;
        if (!RunModalHook(modal)) {
            EndDialog(hwnd, IDCANCEL);
        }
        fw::headless::PumpMessages();
        if (FindWin(hwnd) != nullptr && !DialogEnded(hwnd)) {
            RecordError("dialog " + std::to_string(modal.templateId) +
                        " was still open when the modal hook returned; it was ended with IDCANCEL");
            EndDialog(hwnd, IDCANCEL);
        }
    }
    INT_PTR result = FindWin(hwnd) != nullptr ? DialogResult(hwnd) : IDCANCEL;
    disabler.Release();
    if (FindWin(hwnd) != nullptr) {
        DestroyWindow(hwnd);
    }
    return result;
}

HWND CreateDialogIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent,
                               DLGPROC proc, LPARAM param) {
    std::optional<fw::DialogTemplate> parsed = ParseTemplateAt(dialogTemplate);
    if (!parsed) {
        return nullptr;
    }
    return CreateDialogFromTemplate(*parsed, instance, parent, proc, param, false);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    DialogState* state = StateOf(dialog);
    if (state == nullptr) {
        return FALSE;
    }
    state->ended = true;
    state->result = result;
    HWND owner = state->disabledOwner;
    state->disabledOwner = nullptr;
    if (owner != nullptr && FindWin(owner) != nullptr) {
        EnableWindow(owner, TRUE);
    }
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    DialogState* state = StateOf(dialog);
    if (state == nullptr || rect == nullptr) {
        return FALSE;
    }
    rect->left = MulDivRound(rect->left, state->baseUnits.cx, 4);
    rect->right = MulDivRound(rect->right, state->baseUnits.cx, 4);
    rect->top = MulDivRound(rect->top, state->baseUnits.cy, 8);
    rect->bottom = MulDivRound(rect->bottom, state->baseUnits.cy, 8);
    return TRUE;
}

}  // namespace fw::api
