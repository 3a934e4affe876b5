// The property sheet of comctl32: a dialog made from comctl32's own sheet
// template (handed to the creation callback first, PSCB_PRECREATE, as a
// writable copy twice the template's size), a tab per page, the standard
// buttons OK (1), Cancel (2), Apply Now (12321, disabled until a page
// reports a change) and Help (9, hidden unless the sheet or a page asks for
// help), pages created from their templates when first activated, and the
// notifications: PSN_KILLACTIVE to the page being left (a nonzero answer
// keeps it), PSN_SETACTIVE to the page being entered (-1 skips it),
// PSN_APPLY, PSN_QUERYCANCEL and PSN_RESET.
//
// Layout (comctl32's rules): the tab control is sized so that its display
// area holds the largest page (in the sheet's dialog units); the sheet's
// client area is the tab control plus the tab control's offset (its padding)
// on the left and right, and below it a row of buttons, one padding from the
// bottom, with a padding above and below. The visible buttons sit side by
// side at the right edge, each a padding apart, in the order OK, Cancel,
// Apply Now, Help; a hidden button takes the next place to the right of them.
//
// The sheet runs as a modeless sheet does, in the backend's modal loop: OK
// (after every page applied) and Cancel close it by leaving it without a
// current page (PSM_GETCURRENTPAGEHWND answers NULL); EndDialog(sheet, r)
// ends the run with r, a closed sheet with IDCANCEL.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "framework/api.h"
#include "framework/headless/dialog_manager.h"
#include "framework/headless/window_manager.h"

namespace fw::headless::detail {

namespace {

constexpr int kTabControlId = 12320;
constexpr int kApplyId = 12321;

struct PageInfo {
    std::vector<uint8_t> sheetPage;  // the backend's copy of the PROPSHEETPAGE
    std::optional<fw::DialogTemplate> dialogTemplate;
    std::string title;
    HWND hwnd = nullptr;
    bool dirty = false;

    PROPSHEETPAGE* Page() { return reinterpret_cast<PROPSHEETPAGE*>(sheetPage.data()); }
};

struct SheetInfo {
    PROPSHEETHEADER header{};
    std::vector<PageInfo> pages;
    // The writable copy of the sheet's own template, in a block of its size.
    std::unique_ptr<uint8_t[]> sheetTemplate;
    size_t sheetTemplateSize = 0;
    HWND hwnd = nullptr;
    int active = -1;
    bool activeValid = true;
    bool hasHelp = false;
    bool hasApply = true;
    int startPage = 0;
    short widest = 0;
    short tallest = 0;
};

std::map<uintptr_t, SheetInfo*>& Sheets() {
    static std::map<uintptr_t, SheetInfo*> s_sheets;
    return s_sheets;
}

SheetInfo* InfoOf(HWND sheet) {
    auto it = Sheets().find(Key(sheet));
    return it == Sheets().end() ? nullptr : it->second;
}

// comctl32's sheet template: 220 x 140 dialog units in "MS Shell Dlg" 8.
fw::DialogTemplate SheetTemplate() {
    fw::DialogTemplate sheet;
    sheet.format = TemplateFormat::Classic;
    sheet.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CONTEXTHELP | DS_MODALFRAME |
                  DS_SETFONT | DS_3DLOOK;
    sheet.cx = 220;
    sheet.cy = 140;
    sheet.caption = u"Properties for %s";
    DialogFont font;
    font.pointSize = 8;
    font.face = u"MS Shell Dlg";
    sheet.font = font;
    auto button = [](int32_t id, const char16_t* text, int16_t x, uint32_t style) {
        DialogItemTemplate item;
        item.style = WS_CHILD | WS_VISIBLE | style;
        item.x = x;
        item.y = 122;
        item.cx = 50;
        item.cy = 14;
        item.id = id;
        item.windowClass = NameOrOrdinal::Ordinal(static_cast<uint16_t>(ControlClass::Button));
        item.title = NameOrOrdinal::Name(text);
        return item;
    };
    sheet.items.push_back(button(IDOK, u"OK", 4, WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON));
    sheet.items.push_back(button(IDCANCEL, u"Cancel", 58, WS_TABSTOP));
    sheet.items.push_back(button(kApplyId, u"&Apply", 112, WS_TABSTOP | WS_DISABLED));
    sheet.items.push_back(button(IDHELP, u"Help", 166, WS_GROUP | WS_TABSTOP));
    DialogItemTemplate tab;
    tab.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP | WS_TABSTOP | TCS_MULTILINE;
    tab.x = 4;
    tab.y = 4;
    tab.cx = 212;
    tab.cy = 114;
    tab.id = kTabControlId;
    tab.windowClass = NameOrOrdinal::Name(u"SysTabControl32");
    sheet.items.push_back(tab);
    return sheet;
}

std::optional<fw::DialogTemplate> PageTemplate(const PROPSHEETPAGE& page) {
    if (page.dwFlags & PSP_DLGINDIRECT) {
        return ParseTemplateAt(page.pResource);
    }
    if (!IS_INTRESOURCE(page.pszTemplate)) {
        return std::nullopt;  // named templates: the module has none
    }
    return LoadDialogTemplate(LOWORD(reinterpret_cast<uintptr_t>(page.pszTemplate)));
}

LRESULT NotifyPage(SheetInfo& info, int index, UINT code, LPARAM lParam) {
    HWND page = info.pages[static_cast<size_t>(index)].hwnd;
    if (page == nullptr) {
        return 0;
    }
    PSHNOTIFY notify{};
    notify.hdr.hwndFrom = info.hwnd;
    notify.hdr.idFrom = 0;
    notify.hdr.code = code;
    notify.lParam = lParam;
    return Send(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
}

// PSN_KILLACTIVE to the current page: may it be left?
bool CanLeave(SheetInfo& info) {
    if (info.active < 0 || info.pages[static_cast<size_t>(info.active)].hwnd == nullptr) {
        return true;
    }
    return NotifyPage(info, info.active, PSN_KILLACTIVE, 0) == 0;
}

RECT PageRect(HWND sheet) {
    HWND tab = api::GetDlgItem(sheet, kTabControlId);
    RECT rect{};
    api::GetClientRect(tab, &rect);
    Send(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    api::MapWindowPoints(tab, sheet, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool CreatePage(SheetInfo& info, int index) {
    PageInfo& page = info.pages[static_cast<size_t>(index)];
    if (page.hwnd != nullptr) {
        return true;
    }
    PROPSHEETPAGE* sheetPage = page.Page();
    if ((sheetPage->dwFlags & PSP_USECALLBACK) && sheetPage->pfnCallback != nullptr &&
        sheetPage->pfnCallback(nullptr, PSPCB_CREATE, sheetPage) == 0) {
        return false;
    }
    std::optional<fw::DialogTemplate> dialogTemplate = PageTemplate(*sheetPage);
    if (!dialogTemplate) {
        return false;
    }
    dialogTemplate->style &=
        ~static_cast<uint32_t>(DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | WS_POPUP | WS_DISABLED |
                               WS_VISIBLE | WS_THICKFRAME);
    dialogTemplate->style |= WS_CHILD | WS_TABSTOP | DS_3DLOOK | DS_CONTROL;
    dialogTemplate->exStyle |= WS_EX_CONTROLPARENT;
    HWND hwnd =
        CreateDialogFromTemplate(*dialogTemplate, sheetPage->hInstance, info.hwnd,
                                 sheetPage->pfnDlgProc, reinterpret_cast<LPARAM>(sheetPage), false);
    if (hwnd == nullptr) {
        return false;
    }
    // The vector of pages does not move while the sheet runs.
    info.pages[static_cast<size_t>(index)].hwnd = hwnd;
    RECT area = PageRect(info.hwnd);
    api::SetWindowPos(hwnd, HWND_TOP, area.left, area.top, area.right - area.left,
                      area.bottom - area.top, SWP_NOACTIVATE);
    return true;
}

void ShowPage(SheetInfo& info, int index) {
    if (info.active == index) {
        api::ShowWindow(info.pages[static_cast<size_t>(index)].hwnd, SW_SHOW);
        return;
    }
    if (info.active >= 0 && info.pages[static_cast<size_t>(info.active)].hwnd != nullptr) {
        api::ShowWindow(info.pages[static_cast<size_t>(info.active)].hwnd, SW_HIDE);
    }
    api::ShowWindow(info.pages[static_cast<size_t>(index)].hwnd, SW_SHOW);
    info.active = index;
    Send(api::GetDlgItem(info.hwnd, kTabControlId), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// Makes page `index` the current one. The page being left has been asked
// (PSN_KILLACTIVE) when `askCurrent` is false.
bool SetCurSel(SheetInfo& info, int index, bool askCurrent) {
    int count = static_cast<int>(info.pages.size());
    if (index < 0 || index >= count) {
        return false;
    }
    if (askCurrent && !CanLeave(info)) {
        return false;
    }
    for (;;) {
        if (!CreatePage(info, index)) {
            return false;
        }
        LRESULT answer = NotifyPage(info, index, PSN_SETACTIVE, 0);
        if (answer == 0) {
            break;
        }
        if (answer == -1) {
            if (++index >= count) {
                return false;
            }
            continue;
        }
        break;  // a template ID: this page stays (the module's pages never answer so)
    }
    ShowPage(info, index);
    return true;
}

bool Apply(SheetInfo& info, LPARAM lParam) {
    if (!CanLeave(info)) {
        return false;
    }
    for (int i = 0; i < static_cast<int>(info.pages.size()); ++i) {
        LRESULT answer = NotifyPage(info, i, PSN_APPLY, lParam);
        if (answer == PSNRET_INVALID) {
            SetCurSel(info, i, false);
            return false;
        }
        if (answer == PSNRET_INVALID_NOCHANGEPAGE) {
            return false;
        }
    }
    for (PageInfo& page : info.pages) {
        page.dirty = false;
    }
    api::EnableWindow(api::GetDlgItem(info.hwnd, kApplyId), FALSE);
    return true;
}

void Cancel(SheetInfo& info) {
    if (info.active >= 0 && NotifyPage(info, info.active, PSN_QUERYCANCEL, 0) != 0) {
        return;
    }
    for (int i = 0; i < static_cast<int>(info.pages.size()); ++i) {
        NotifyPage(info, i, PSN_RESET, 1);
    }
    info.activeValid = false;
}

POINT Padding(HWND sheet) {
    HWND tab = api::GetDlgItem(sheet, kTabControlId);
    RECT rect{};
    api::GetWindowRect(tab, &rect);
    POINT origin{rect.left, rect.top};
    api::ScreenToClient(sheet, &origin);
    return origin;
}

bool SizeMismatch(SheetInfo& info) {
    RECT page{0, 0, info.widest, info.tallest};
    api::MapDialogRect(info.hwnd, &page);
    RECT tab{};
    api::GetClientRect(api::GetDlgItem(info.hwnd, kTabControlId), &tab);
    return page.right != tab.right || page.bottom != tab.bottom;
}

void AdjustSize(SheetInfo& info) {
    HWND sheet = info.hwnd;
    HWND tab = api::GetDlgItem(sheet, kTabControlId);
    RECT button{};
    api::GetClientRect(api::GetDlgItem(sheet, IDOK), &button);
    POINT padding = Padding(sheet);

    RECT page{0, 0, info.widest, info.tallest};
    api::MapDialogRect(sheet, &page);
    RECT display{};
    api::GetClientRect(tab, &display);
    Send(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    // The sheet does not shrink below its template.
    page.right = page.left + std::max(page.right - page.left, display.right - display.left);
    page.bottom = page.top + std::max(page.bottom - page.top, display.bottom - display.top);
    Send(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&page));
    api::SetWindowPos(tab, nullptr, 0, 0, page.right - page.left, page.bottom - page.top,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    RECT tabClient{};
    api::GetClientRect(tab, &tabClient);
    int clientWidth = tabClient.right + 2 * padding.x;
    int clientHeight = tabClient.bottom + button.bottom + 3 * padding.y;
    Window* w = FindWin(sheet);
    RECT insets = ClientInsets(w->style, w->exStyle);
    api::SetWindowPos(sheet, nullptr, 0, 0, clientWidth + insets.left + insets.right,
                      clientHeight + insets.top + insets.bottom,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AdjustButtons(SheetInfo& info) {
    HWND sheet = info.hwnd;
    RECT button{};
    api::GetClientRect(api::GetDlgItem(sheet, IDOK), &button);
    RECT client{};
    api::GetClientRect(sheet, &client);
    POINT padding = Padding(sheet);
    int step = padding.x + button.right;
    int y = client.bottom - (padding.y + button.bottom);

    std::vector<int> shown{IDOK, IDCANCEL};
    std::vector<int> hidden;
    (info.hasApply ? shown : hidden).push_back(kApplyId);
    (info.hasHelp ? shown : hidden).push_back(IDHELP);
    int x = client.right - step * static_cast<int>(shown.size());
    for (int id : shown) {
        api::SetWindowPos(api::GetDlgItem(sheet, id), nullptr, x, y, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        x += step;
    }
    for (int id : hidden) {
        HWND hwnd = api::GetDlgItem(sheet, id);
        api::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        api::ShowWindow(hwnd, SW_HIDE);
        x += step;
    }
    Send(sheet, DM_SETDEFID, IDOK, 0);
    api::EnableWindow(api::GetDlgItem(sheet, kApplyId), FALSE);
}

void SetTitle(SheetInfo& info, DWORD flags, LPCSTR caption) {
    std::string title = caption != nullptr && !IS_INTRESOURCE(caption) ? caption : "";
    if (flags & PSH_PROPTITLE) {
        title = "Properties for " + title;
    }
    api::SetWindowText(info.hwnd, title.c_str());
}

bool DoCommand(SheetInfo& info, WORD id) {
    switch (id) {
        case IDOK:
            if (Apply(info, 1)) {
                info.activeValid = false;
            }
            return true;
        case IDCANCEL:
            Cancel(info);
            return true;
        case kApplyId:
            Apply(info, 0);
            return true;
        case IDHELP:
            if (info.active >= 0) {
                NotifyPage(info, info.active, PSN_HELP, 0);
            }
            return true;
        default:
            return false;
    }
}

INT_PTR Answer(HWND hwnd, LRESULT value) {
    api::SetWindowLongPtr(hwnd, DWLP_MSGRESULT, value);
    return TRUE;
}

// WM_INITDIALOG: the tabs, the layout for the largest page, the creation
// callback's PSCB_INITIALIZED, the start page and the title.
INT_PTR InitSheet(HWND hwnd, LPARAM lParam) {
    auto* info = reinterpret_cast<SheetInfo*>(lParam);
    info->hwnd = hwnd;
    Sheets()[Key(hwnd)] = info;
    api::SetWindowLongPtr(hwnd, DWLP_USER, lParam);
    HWND tab = api::GetDlgItem(hwnd, kTabControlId);
    for (size_t i = 0; i < info->pages.size(); ++i) {
        TCITEM item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(info->pages[i].title.c_str());
        Send(tab, TCM_INSERTITEM, i, reinterpret_cast<LPARAM>(&item));
    }
    if (SizeMismatch(*info)) {
        AdjustSize(*info);
        AdjustButtons(*info);
    }
    if ((info->header.dwFlags & PSH_USECALLBACK) && info->header.pfnCallback != nullptr) {
        info->header.pfnCallback(hwnd, PSCB_INITIALIZED, 0);
    }
    if ((info = InfoOf(hwnd)) == nullptr) {
        return TRUE;
    }
    info->active = -1;
    SetCurSel(*info, info->startPage, false);
    Send(tab, TCM_SETCURSEL, static_cast<WPARAM>(std::max(0, info->active)), 0);
    SetTitle(*info, info->header.dwFlags, info->header.pszCaption);
    return TRUE;
}

// WM_NOTIFY from the tab control: the page being left may refuse
// (TCN_SELCHANGING); the page chosen is shown (TCN_SELCHANGE).
INT_PTR TabNotify(SheetInfo& info, HWND hwnd, const NMHDR* header) {
    if (header == nullptr || header->idFrom != kTabControlId) {
        return FALSE;
    }
    if (header->code == TCN_SELCHANGING) {
        return Answer(hwnd, CanLeave(info) ? FALSE : TRUE);
    }
    if (header->code == TCN_SELCHANGE) {
        HWND tab = header->hwndFrom;
        int index = static_cast<int>(Send(tab, TCM_GETCURSEL, 0, 0));
        SheetInfo* live = &info;
        if (!SetCurSel(info, index, false) && (live = InfoOf(hwnd)) != nullptr) {
            Send(tab, TCM_SETCURSEL, static_cast<WPARAM>(std::max(0, live->active)), 0);
        }
        return TRUE;
    }
    return FALSE;
}

// PSM_SETCURSEL: the page by index, or by its entry (lParam).
INT_PTR SelectPage(SheetInfo& info, HWND hwnd, WPARAM wParam, LPARAM lParam) {
    int index = static_cast<int>(wParam);
    if (lParam != 0) {
        for (size_t i = 0; i < info.pages.size(); ++i) {
            if (reinterpret_cast<LPARAM>(info.pages[i].Page()) == lParam) {
                index = static_cast<int>(i);
            }
        }
    }
    return Answer(hwnd, SetCurSel(info, index, true) ? TRUE : FALSE);
}

// PSM_CHANGED and PSM_UNCHANGED: Apply Now is enabled while a page has
// changes.
INT_PTR PageChanged(SheetInfo& info, HWND hwnd, HWND page, bool changed) {
    bool anyDirty = false;
    for (PageInfo& entry : info.pages) {
        if (entry.hwnd == page) {
            entry.dirty = changed;
        }
        anyDirty = anyDirty || entry.dirty;
    }
    api::EnableWindow(api::GetDlgItem(hwnd, kApplyId), anyDirty ? TRUE : FALSE);
    return TRUE;
}

HWND CurrentPage(const SheetInfo& info) {
    return info.activeValid && info.active >= 0 ? info.pages[static_cast<size_t>(info.active)].hwnd
                                                : nullptr;
}

// WM_DESTROY: the pages that were created are released (PSPCB_RELEASE).
INT_PTR ReleasePages(SheetInfo& info) {
    for (PageInfo& page : info.pages) {
        PROPSHEETPAGE* sheetPage = page.Page();
        if (page.hwnd != nullptr && (sheetPage->dwFlags & PSP_USECALLBACK) &&
            sheetPage->pfnCallback != nullptr) {
            sheetPage->pfnCallback(nullptr, PSPCB_RELEASE, sheetPage);
        }
    }
    return FALSE;
}

INT_PTR CALLBACK SheetDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        return InitSheet(hwnd, lParam);
    }
    SheetInfo* info = InfoOf(hwnd);
    if (info == nullptr) {
        return FALSE;
    }
    switch (msg) {
        case WM_CLOSE:
            Cancel(*info);
            return TRUE;
        case WM_COMMAND:
            if (!DoCommand(*info, LOWORD(wParam)) && CurrentPage(*info) != nullptr) {
                // No default handling: the command goes to the current page.
                Send(CurrentPage(*info), WM_COMMAND, wParam, lParam);
            }
            return TRUE;
        case WM_NOTIFY:
            return TabNotify(*info, hwnd, reinterpret_cast<const NMHDR*>(lParam));
        case PSM_SETCURSEL:
            return SelectPage(*info, hwnd, wParam, lParam);
        case PSM_GETCURRENTPAGEHWND:
            return Answer(hwnd, reinterpret_cast<LRESULT>(CurrentPage(*info)));
        case PSM_GETTABCONTROL:
            return Answer(hwnd, reinterpret_cast<LRESULT>(api::GetDlgItem(hwnd, kTabControlId)));
        case PSM_CHANGED:
        case PSM_UNCHANGED:
            return PageChanged(*info, hwnd, reinterpret_cast<HWND>(wParam), msg == PSM_CHANGED);
        case PSM_SETTITLE:
            SetTitle(*info, static_cast<DWORD>(wParam), reinterpret_cast<LPCSTR>(lParam));
            return TRUE;
        case PSM_INDEXTOHWND: {
            size_t index = static_cast<size_t>(wParam);
            return Answer(hwnd, index < info->pages.size()
                                    ? reinterpret_cast<LRESULT>(info->pages[index].hwnd)
                                    : 0);
        }
        case WM_DESTROY:
            return ReleasePages(*info);
        case WM_NCDESTROY:
            Sheets().erase(Key(hwnd));
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

}  // namespace fw::headless::detail

namespace fw::api {

using namespace fw::headless;
using namespace fw::headless::detail;

INT_PTR PropertySheet(LPCPROPSHEETHEADER header) {
    if (header == nullptr || !(header->dwFlags & PSH_PROPSHEETPAGE) || header->nPages == 0 ||
        header->ppsp == nullptr) {
        return -1;  // pages made by CreatePropertySheetPage are not offered here
    }
    SheetInfo info;
    std::memcpy(&info.header, header,
                std::min<size_t>(header->dwSize != 0 ? header->dwSize : sizeof(info.header),
                                 sizeof(info.header)));
    info.hasHelp = (header->dwFlags & PSH_HASHELP) != 0;
    info.hasApply = !(header->dwFlags & PSH_NOAPPLYNOW);
    info.startPage =
        (header->dwFlags & PSH_USEPSTARTPAGE) ? 0 : static_cast<int>(header->nStartPage);
    if (info.startPage < 0 || info.startPage >= static_cast<int>(header->nPages)) {
        info.startPage = 0;
    }

    // Each page entry states its own size; the next one follows it.
    const uint8_t* entry = reinterpret_cast<const uint8_t*>(header->ppsp);
    for (UINT i = 0; i < header->nPages; ++i) {
        auto* source = reinterpret_cast<const PROPSHEETPAGE*>(entry);
        DWORD size = source->dwSize != 0 ? source->dwSize : sizeof(PROPSHEETPAGE);
        PageInfo page;
        page.sheetPage.assign(std::max<size_t>(size, sizeof(PROPSHEETPAGE)), 0);
        std::memcpy(page.sheetPage.data(), source, size);
        PROPSHEETPAGE* copy = page.Page();
        page.dialogTemplate = PageTemplate(*copy);
        if (!page.dialogTemplate) {
            return -1;
        }
        page.title = page.dialogTemplate->Caption();
        if ((copy->dwFlags & PSP_USETITLE) && copy->pszTitle != nullptr) {
            page.title = IS_INTRESOURCE(copy->pszTitle) ? "" : copy->pszTitle;
        }
        if (copy->dwFlags & PSP_HASHELP) {
            info.hasHelp = true;
        }
        info.widest = std::max(info.widest, page.dialogTemplate->cx);
        info.tallest = std::max(info.tallest, page.dialogTemplate->cy);
        if ((copy->dwFlags & PSP_USECALLBACK) && copy->pfnCallback != nullptr) {
            copy->pfnCallback(nullptr, PSPCB_ADDREF, copy);
        }
        info.pages.push_back(std::move(page));
        entry += size;
    }

    // The sheet's own template, writable, in a block of exactly its size: no
    // room after it is documented, and a callback writing past it is caught.
    const std::vector<uint8_t> bytes = SheetTemplate().Serialize(TemplateFormat::Classic);
    info.sheetTemplateSize = bytes.size();
    info.sheetTemplate = std::make_unique<uint8_t[]>(bytes.size());
    std::memcpy(info.sheetTemplate.get(), bytes.data(), bytes.size());
    if ((header->dwFlags & PSH_USECALLBACK) && header->pfnCallback != nullptr) {
        header->pfnCallback(nullptr, PSCB_PRECREATE,
                            reinterpret_cast<LPARAM>(info.sheetTemplate.get()));
    }
    std::optional<fw::DialogTemplate> sheetTemplate =
        ParseDialogTemplate(ByteView(info.sheetTemplate.get(), info.sheetTemplateSize));
    if (!sheetTemplate) {
        return -1;
    }

    HWND owner = header->hwndParent != nullptr ? TopLevelOf(header->hwndParent) : nullptr;
    OwnerDisabler disabler(owner);
    HWND sheet = CreateDialogFromTemplate(*sheetTemplate, header->hInstance, owner, SheetDialogProc,
                                          reinterpret_cast<LPARAM>(&info), true);
    if (sheet == nullptr) {
        Sheets().erase(Key(info.hwnd));
        return -1;
    }
    fw::headless::PumpMessages();

    auto running = [&]() {
        return FindWin(sheet) != nullptr && !DialogEnded(sheet) && info.activeValid;
    };
    if (running()) {
        fw::headless::ModalWindow modal;
        modal.kind = fw::headless::ModalWindow::PropertySheet;
        modal.hwnd = sheet;
        modal.owner = header->hwndParent;
        modal.caption = FindWin(sheet)->text;
        if (!RunModalHook(modal) && FindWin(sheet) != nullptr) {
            Cancel(info);
        }
        fw::headless::PumpMessages();
        if (running()) {
            RecordError(
                "the property sheet was still open when the modal hook returned; it "
                "was cancelled");
            Cancel(info);
        }
    }
    INT_PTR result =
        FindWin(sheet) != nullptr && DialogEnded(sheet) ? DialogResult(sheet) : IDCANCEL;
    disabler.Release();
    if (FindWin(sheet) != nullptr) {
        DestroyWindow(sheet);
    }
    Sheets().erase(Key(sheet));
    return result;
}

}  // namespace fw::api
