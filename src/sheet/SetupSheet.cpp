#include "sheet/SetupSheet.h"

#include "module/LanguageText.h"
#include "module/globals.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "resource.h"
#include "settings/JobSettings.h"
#include "setup/host.h"
#include "sheet/AdvancedTransfer.h"

namespace {

// The font that DoModal forces on the sheet and its pages. Module-wide,
// because the platform's sheet-creation callback gets no pointer to the
// sheet; empty face or size 0: the templates keep their own fonts.
std::string s_strSheetFontFace;
WORD s_nSheetFontSize = 0;

bool HasSheetFont() {
    return !s_strSheetFontFace.empty() && s_nSheetFontSize > 0;
}

// The rectangle of a child window in the client coordinates of its parent.
fw::CRect ChildRect(const fw::CWnd* pParent, int nID) {
    fw::CRect rect;
    if (fw::CWnd* pChild = pParent->GetDlgItem(nID)) {
        pChild->GetWindowRect(&rect);
        pParent->ScreenToClient(&rect);
    }
    return rect;
}

void MoveChild(const fw::CWnd* pParent, int nID, fw::CRect rect, int dx) {
    if (fw::CWnd* pChild = pParent->GetDlgItem(nID)) {
        rect.OffsetRect(dx, 0);
        pChild->MoveWindow(&rect, FALSE);
    }
}

// The file dialogs of export and import: job files only, no read-only box,
// and the save-as dialog asks before it replaces a file.
const char kJobFileFilter[] = "Job Files (*.ini)|*.ini||";
constexpr DWORD kJobFileDialogFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

// What the operator is told when a page refuses to export, by page (mode,
// bin, flash check). Fixed English texts, blanks included, as the stations'
// operators know them.
const char* const kPageExportFailures[] = {
    "Fail to export mode Info ",
    "Fail to export Bin Info ",
    "Fail to export flash Info ",
};

// The process's current directory as it was when made, put back when it goes
// unless released: a file dialog leaves the process in the folder it showed.
class CurrentDirectoryKeeper {
public:
    CurrentDirectoryKeeper() : m_strDir(files::CurrentDirectory()) {}
    ~CurrentDirectoryKeeper() {
        if (m_bRestore) {
            files::ChangeDirectory(m_strDir);
        }
    }
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

    const std::string& Dir() const { return m_strDir; }
    void Release() { m_bRestore = false; }

private:
    std::string m_strDir;
    bool m_bRestore = true;
};

const struct {
    int nTab;
    const char* key;
} kTabTitles[] = {
    {0, "IDS_SETUP_UI_SHEET_MODE"},
    {1, "IDS_SETUP_UI_SHEET_BIN_INFO"},
    {2, "IDS_SETUP_UI_SHEET_AUTOPRODUCTION"},
};

}  // namespace

IMPLEMENT_DYNAMIC(CSetupSheet, fw::CPropertySheet)

BEGIN_MESSAGE_MAP(CSetupSheet, fw::CPropertySheet)
ON_COMMAND(IDOK, OnOK)
ON_BN_CLICKED(IDC_EXPORT_SET, OnExport)
ON_BN_CLICKED(IDC_IMPORT_SET, OnImport)
END_MESSAGE_MAP()

CSetupSheet::CSetupSheet(const std::string& caption, const Visit& visit)
    : fw::CPropertySheet(caption), m_visit(visit) {}

void CSetupSheet::AddPage(CSettingsPage* pPage) {
    fw::CPropertySheet::AddPage(pPage);
}

CSettingsPage* CSetupSheet::GetSettingsPage(int nPage) const {
    fw::CPropertyPage* pPage = GetPage(nPage);
    if (pPage == nullptr || !pPage->IsKindOf(RUNTIME_CLASS(CSettingsPage))) {
        return nullptr;
    }
    return static_cast<CSettingsPage*>(pPage);
}

INT_PTR CSetupSheet::DoModal(LPCSTR lpszFaceName, WORD nFontSize) {
    s_strSheetFontFace = lpszFaceName != nullptr ? lpszFaceName : "";
    s_nSheetFontSize = nFontSize;
    if (HasSheetFont()) {
        m_psh.dwFlags |= PSH_USECALLBACK;
        m_psh.pfnCallback = &CSetupSheet::SheetCallback;
    }
    return fw::CPropertySheet::DoModal();
}

int CALLBACK CSetupSheet::SheetCallback(HWND, UINT message, LPARAM lParam) {
    if (message == PSCB_PRECREATE && lParam != 0 && HasSheetFont()) {
        // The platform's own sheet template: writable, but nothing says how
        // much room follows it, so the rewrite stays within the template's
        // own size. "Times New Roman" is longer than the face the platform
        // names; the template's caption makes up for it, as the sheet sets
        // its title from the header. A template that still does not fit
        // keeps the platform's font.
        auto* pTemplate = reinterpret_cast<LPDLGTEMPLATE>(lParam);
        fw::CDialogTemplate dlgTemplate(pTemplate);
        const size_t cbTemplate = dlgTemplate.GetTemplateSize();
        if (dlgTemplate.SetFont(s_strSheetFontFace.c_str(), s_nSheetFontSize) &&
            dlgTemplate.RemoveCaption()) {
            dlgTemplate.CopyTo(pTemplate, cbTemplate);
        }
    }
    return 0;
}

void CSetupSheet::BuildPropPageArray() {
    fw::CPropertySheet::BuildPropPageArray();
    if (!HasSheetFont()) {
        return;
    }
    // Each entry states its own size; the next one starts that far on.
    const auto* pEntryBytes = reinterpret_cast<const BYTE*>(m_psh.ppsp);
    for (UINT i = 0; i < m_psh.nPages; ++i) {
        const auto* pEntry = reinterpret_cast<LPCPROPSHEETPAGE>(pEntryBytes);
        if (pEntry->pResource != nullptr) {
            fw::CDialogTemplate dlgTemplate(pEntry->pResource);
            if (dlgTemplate.SetFont(s_strSheetFontFace.c_str(), s_nSheetFontSize)) {
                ReplacePageTemplate(pEntry, dlgTemplate);
            }
        }
        pEntryBytes += pEntry->dwSize;
    }
}

BOOL CSetupSheet::OnInitDialog() {
    const BOOL bResult = fw::CPropertySheet::OnInitDialog();

    // 20 pixels further left, 10 pixels wider.
    fw::CRect rectSheet;
    GetWindowRect(&rectSheet);
    rectSheet.left -= 20;
    rectSheet.right -= 10;
    MoveWindow(&rectSheet, TRUE);

    if (fw::CTabCtrl* pTab = GetTabControl()) {
        fw::CRect rectTab;
        pTab->GetWindowRect(&rectTab);
        ScreenToClient(&rectTab);
        rectTab.right += 10;
        pTab->MoveWindow(&rectTab, FALSE);
    }

    // The standard buttons trade places; all rectangles are taken first.
    const fw::CRect rectOK = ChildRect(this, IDOK);
    const fw::CRect rectCancel = ChildRect(this, IDCANCEL);
    const fw::CRect rectHelp = ChildRect(this, IDHELP);
    const fw::CRect rectApply = ChildRect(this, ID_APPLY_NOW);
    MoveChild(this, IDOK, rectApply, -80);
    MoveChild(this, IDCANCEL, rectHelp, -71);
    MoveChild(this, ID_APPLY_NOW, rectOK, 10);
    MoveChild(this, IDHELP, rectCancel, 10);

    for (int nID : {IDHELP, ID_APPLY_NOW}) {
        if (fw::CWnd* pButton = GetDlgItem(nID)) {
            pButton->ShowWindow(SW_HIDE);
        }
    }

    SetDlgItemText(IDOK, GetLanguageText("IDS_SETUP_UI_OK"));
    SetDlgItemText(IDCANCEL, GetLanguageText("IDS_SETUP_UI_CANCEL"));

    fw::CWnd* pApply = GetDlgItem(ID_APPLY_NOW);
    fw::CFont* pFont = pApply != nullptr ? pApply->GetFont() : nullptr;

    // Import and export on the row of the standard buttons, at the left,
    // each the size of OK.
    fw::CRect rectImport(6, rectOK.top, 6 + rectOK.Width(), rectOK.bottom);
    m_btnImport.Create(GetLanguageText("IDS_SETUP_UI_IMPORT_SET"),
                       WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, rectImport,
                       this, IDC_IMPORT_SET);
    m_btnImport.SetFont(pFont, TRUE);
    fw::CRect rectExport(96, rectOK.top, 96 + rectOK.Width(), rectOK.bottom);
    m_btnExport.Create(GetLanguageText("IDS_SETUP_UI_EXPORT_SET"),
                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, rectExport, this,
                       IDC_EXPORT_SET);
    m_btnExport.SetFont(pFont, TRUE);

    if (fw::CTabCtrl* pTab = GetTabControl()) {
        for (const auto& title : kTabTitles) {
            // At most 259 characters, as the platform's item buffer holds.
            pTab->SetItemText(title.nTab, GetLanguageText(title.key).substr(0, 259));
        }
    }

    // Every page is created and initialized now, so that OK saves all of
    // them; the mode page is the one shown.
    for (int nPage : {2, 1, 0}) {
        SetActivePage(nPage);
    }
    return bResult;
}

void CSetupSheet::OnOK() {
    // The pages' keys are written together, each file once, after the last
    // page saved: a sheet of pages writes a hundred keys.
    ini::WriteBatch batch;
    // The first page that refuses keeps the sheet open; what the pages
    // before it wrote stays written.
    for (int nPage = 0; nPage < GetPageCount(); ++nPage) {
        CSettingsPage* pPage = GetSettingsPage(nPage);
        if (pPage != nullptr && !pPage->SaveSettings(m_visit.jobFile)) {
            ReportUnwritten(batch.Commit());
            return;
        }
    }
    if (!ReportUnwritten(batch.Commit())) {
        // Closing would tell the station of settings that are not in the file.
        return;
    }
    // Posted, not sent: the station handles it when it gets to it. A
    // station without the window is not told.
    fw::PostToTopLevelWindow(SETUP_STATION_CLASS, SETUP_STATION_TITLE, SETUP_STATION_MESSAGE, 0, 0);
    EndDialog(1);
}

BOOL CSetupSheet::ReportUnwritten(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        MessageBox("The settings could not be written to " + path + ".",
                   GetLanguageText("IDS_SETUP_MESSAGE_NOTE").c_str(), MB_OK | MB_ICONEXCLAMATION);
    }
    return paths.empty();
}

void CSetupSheet::OnExport() {
    // An export that stops, however, leaves the current directory as it was
    // before the dialog; a finished one makes the host directory current.
    CurrentDirectoryKeeper currentDir;
    fw::CFileDialog dlg(FALSE, nullptr, nullptr, kJobFileDialogFlags, kJobFileFilter, nullptr);
    dlg.SetTitle(GetLanguageText("IDS_SETUP_UI_EXPORT_TITLE"));
    dlg.SetInitialDir(m_visit.appDir);
    if (dlg.DoModal() != IDOK) {
        return;
    }
    m_strExportPath = dlg.GetPathName();
    // Exactly ".ini", case and all: "job1.INI" becomes "job1.INI.ini", and a
    // folder whose name holds ".ini" is taken as the whole path. Exported
    // files have always been named so.
    if (m_strExportPath.find(".ini") == std::string::npos) {
        m_strExportPath += ".ini";
    }
    const std::string caption = GetLanguageText("IDS_SETUP_MESSAGE_NOTE");

    // Everything goes into the file at once, after the last step: an export
    // that stops leaves the file as it was instead of one that mixes two
    // jobs.
    ini::WriteBatch batch;
    int nPage = 0;
    for (const char* failure : kPageExportFailures) {
        CSettingsPage* pPage = GetSettingsPage(nPage++);
        if (pPage != nullptr && !pPage->SaveSettings(m_strExportPath)) {
            batch.Discard();
            MessageBox(failure, caption.c_str(), MB_OK);
            return;
        }
    }
    if (!CopyAdvancedSettings(TransferDirection::Export, m_visit.jobFile, m_strExportPath)) {
        batch.Discard();
        MessageBox("Fail to export Advanced Info  ", caption.c_str(), MB_OK);
        return;
    }
    if (!ReportUnwritten(batch.Commit())) {
        return;
    }
    MessageBox(GetLanguageText("IDS_SETUP_UI_EXPORT_SUCCESS"), caption.c_str(), MB_OK);
    currentDir.Release();
    files::ChangeDirectory(m_visit.appDir);
}

void CSetupSheet::OnImport() {
    // The dialog changes the current directory; the import puts it back
    // however it ends.
    CurrentDirectoryKeeper currentDir;
    fw::CFileDialog dlg(TRUE, nullptr, nullptr, kJobFileDialogFlags, kJobFileFilter, nullptr);
    dlg.SetTitle(GetLanguageText("IDS_SETUP_UI_IMPORT_TITLE"));
    dlg.SetInitialDir(currentDir.Dir());
    if (dlg.DoModal() != IDOK) {
        return;
    }
    const std::string path = dlg.GetPathName();
    const std::string caption = GetLanguageText("IDS_SETUP_MESSAGE_NOTE");

    // Nothing is imported unless all of it is: the settings and the pages
    // change only once the file was read whole and its advanced keys are in
    // the job file; OK would otherwise save a mix of two jobs.
    const CJobSettings settingsBefore = JobSettings;
    // A file that cannot be read whole (missing, a folder or a device, too
    // large) would give the pages the settings already shown, the fallback
    // file or the defaults, and the job the advanced defaults.
    // A load that fails leaves the record as it was.
    if (!files::CanOpenForReading(path) || JobSettings.Load(path) == 0) {
        MessageBox("The job file " + path + " cannot be read. Nothing was imported.",
                   caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // The advanced keys go into the job file now, whatever the operator does
    // with the sheet; before the pages change, so that a job file that cannot
    // take them leaves the sheet as it was.
    if (!CopyAdvancedSettings(TransferDirection::Import, m_visit.jobFile, path)) {
        JobSettings = settingsBefore;
        MessageBox(
            "The settings could not be written to " + m_visit.jobFile + ". Nothing was imported.",
            caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // The pages refill from JobSettings, and the flash check page reads its
    // own few keys from the imported file, so that OK saves what was
    // imported.
    for (int nPage = 0; nPage < GetPageCount(); ++nPage) {
        CSettingsPage* pPage = GetSettingsPage(nPage);
        if (pPage != nullptr && !pPage->LoadSettings(path)) {
            return;
        }
    }
    MessageBox(GetLanguageText("IDS_SETUP_UI_IMPORT_SUCCESS"), caption.c_str(), MB_OK);
}
