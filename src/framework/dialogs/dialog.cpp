#include "framework/dialogs/dialog.h"

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "framework/api.h"
#include "framework/windows/app.h"
#include "framework/templates/dialog_template.h"
#include "framework/templates/resources.h"

namespace fw {

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

// The property a test driver recognises the module's dialogs and pages by.
const char kTemplateIdProperty[] = "SetupTemplateId";

}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()
// clang-format on

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

BOOL CDialog::InitModalIndirect(std::vector<uint8_t> dialogTemplate, CWnd* pParentWnd,
                                std::vector<uint8_t> dialogInit, UINT nID) {
    if (dialogTemplate.empty()) {
        return FALSE;
    }
    m_templateInMemory = std::move(dialogTemplate);
    m_dialogInitInMemory = std::move(dialogInit);
    m_pParentWnd = pParentWnd;
    m_nIDTemplate = nID;
    return TRUE;
}

BOOL CDialog::LoadTemplate(std::vector<uint8_t>& bytes) const {
    if (!m_templateInMemory.empty()) {
        bytes = m_templateInMemory;
        return TRUE;
    }
    if (m_nIDTemplate == 0) {
        return FALSE;
    }
    std::optional<ByteView> resource =
        LoadResourceBytes(ResourceType::Dialog, static_cast<uint16_t>(m_nIDTemplate));
    if (!resource) {
        return FALSE;
    }
    // A copy: the dialog manager wants the template DWORD-aligned, which a
    // vector's storage is.
    bytes.assign(resource->begin(), resource->end());
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    std::vector<uint8_t> dialogTemplate;
    if (m_hWnd != nullptr || !LoadTemplate(dialogTemplate)) {
        return -1;
    }
    INT_PTR result = api::DialogBoxIndirectParam(
        api::ModuleInstance(), reinterpret_cast<LPCDLGTEMPLATE>(dialogTemplate.data()),
        GetSafeOwner(m_pParentWnd), &AfxDlgProc, reinterpret_cast<LPARAM>(this));
    if (m_hWnd != nullptr) {
        // The window outlived its modal run; the object lets go of it.
        UnsubclassWindow();
    }
    return result;
}

void CDialog::EndDialog(int nResult) {
    api::EndDialog(m_hWnd, nResult);
}

INT_PTR CALLBACK CDialog::AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Every other message reaches the object through its window procedure,
    // which hands what it does not handle to the dialog manager, which asks
    // this procedure: FALSE, the default handling.
    if (message != WM_INITDIALOG || FromHandlePermanent(hWnd) != nullptr) {
        return FALSE;
    }
    auto* pDialog = reinterpret_cast<CDialog*>(lParam);
    return pDialog != nullptr ? pDialog->StartDialog(hWnd, wParam, lParam) : FALSE;
}

INT_PTR CDialog::StartDialog(HWND hWnd, WPARAM wParam, LPARAM lParam) {
    try {
        if (!SubclassWindow(hWnd)) {
            return FALSE;
        }
    } catch (const std::exception& e) {
        ReportUnhandledException(std::string("exception while attaching a dialog: ") + e.what(),
                                 hWnd);
        return FALSE;
    }
    return static_cast<INT_PTR>(AfxCallWndProc(this, hWnd, WM_INITDIALOG, wParam, lParam));
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_INITDIALOG) {
        LRESULT result = HandleInitDialog();
        if (pResult != nullptr) {
            *pResult = result;
        }
        return TRUE;
    }
    if (message == WM_DESTROY) {
        ReleaseTemplateBitmaps();  // the controls still exist
    }
    if (message == WM_NCDESTROY) {
        api::RemoveProp(m_hWnd, kTemplateIdProperty);
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

LRESULT CDialog::HandleInitDialog() {
    api::SetProp(m_hWnd, kTemplateIdProperty,
                 reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(m_nIDTemplate)));
    NoteTemplateBitmaps();
    ExecuteDlgInit();
    return OnInitDialog();
}

void CDialog::NoteTemplateBitmaps() {
    m_templateBitmaps.clear();
    for (HWND child = api::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
         child = api::GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = {};
        api::GetClassName(child, className, sizeof(className));
        std::string name(className);
        for (char& c : name) {
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        if (name != "static") {
            continue;
        }
        if ((api::GetWindowLongPtr(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) {
            continue;
        }
        HANDLE bitmap =
            reinterpret_cast<HANDLE>(api::SendMessage(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
        if (bitmap != nullptr) {
            m_templateBitmaps.emplace_back(child, bitmap);
        }
    }
}

void CDialog::ReleaseTemplateBitmaps() {
    for (const auto& [control, bitmap] : m_templateBitmaps) {
        // Only while the control still shows it: one the module put in its
        // place was handed back to the module.
        if (!api::IsWindow(control) || reinterpret_cast<HANDLE>(api::SendMessage(
                                           control, STM_GETIMAGE, IMAGE_BITMAP, 0)) != bitmap) {
            continue;
        }
        HANDLE taken =
            reinterpret_cast<HANDLE>(api::SendMessage(control, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (taken == bitmap) {
            api::DeleteObject(static_cast<HGDIOBJ>(taken));
        }
    }
    m_templateBitmaps.clear();
}

BOOL CDialog::ExecuteDlgInit() {
    std::optional<std::vector<DlgInitEntry>> entries;
    if (!m_dialogInitInMemory.empty()) {
        entries = ParseDlgInit(ByteView(m_dialogInitInMemory));
    } else if (m_templateInMemory.empty() && m_nIDTemplate != 0) {
        entries = LoadDlgInit(static_cast<uint16_t>(m_nIDTemplate));
    } else {
        return TRUE;
    }
    if (!entries) {
        return FALSE;
    }
    BOOL allAdded = TRUE;
    for (const DlgInitEntry& entry : *entries) {
        UINT message = entry.message;
        // The resource compiler stores the 16-bit Windows message numbers.
        if (message == kDlgInitListBoxAddString) {
            message = LB_ADDSTRING;
        } else if (message == kDlgInitComboBoxAddString) {
            message = CB_ADDSTRING;
        }
        if (message != LB_ADDSTRING && message != CB_ADDSTRING) {
            continue;
        }
        const std::string text = entry.Text();
        if (SendDlgItemMessage(entry.controlId, message, 0,
                               reinterpret_cast<LPARAM>(text.c_str())) < 0) {
            allAdded = FALSE;
        }
    }
    return allAdded;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

// --- Data exchange -------------------------------------------------------------

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = api::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == nullptr) {
        throw std::logic_error("data exchange: the dialog has no control " + std::to_string(nIDC));
    }
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_hWndLastControl != nullptr) {
        api::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl) {
            api::SendMessage(m_hWndLastControl, EM_SETSEL, 0, -1);
        }
    }
    throw CUserException();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != nullptr) {
        return;
    }
    // Binding does not make the control the one a following DDV_ checks.
    HWND hWndCtrl = api::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == nullptr) {
        throw std::logic_error("data exchange: the dialog has no control " + std::to_string(nIDC));
    }
    if (!rControl.SubclassWindow(hWndCtrl)) {
        throw std::logic_error("data exchange: control " + std::to_string(nIDC) +
                               " is already bound to another object");
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = WindowText(hWndCtrl);
    } else if (WindowText(hWndCtrl) != value) {
        // Only a changed text is set, so an unchanged edit sends no EN_CHANGE.
        api::SetWindowText(hWndCtrl, value.c_str());
    }
}

std::string MaxCharsPrompt(int nChars) {
    char text[64];
    std::snprintf(text, sizeof(text), "Please enter no more than %d characters.", nChars);
    return text;
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars) {
    if (pDX->m_bSaveAndValidate) {
        // Lengths count the bytes of the narrow text, as the edit's limit does.
        if (nChars >= 0 && value.size() > static_cast<size_t>(nChars)) {
            api::MessageBox(CWnd::GetSafeOwner(pDX->m_pDlgWnd), MaxCharsPrompt(nChars).c_str(),
                            AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
            pDX->Fail();
        }
    } else if (pDX->m_hWndLastControl != nullptr && pDX->m_bEditLastControl) {
        api::SendMessage(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
    }
}

}  // namespace fw
