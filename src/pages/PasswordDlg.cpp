#include "pages/PasswordDlg.h"

#include "module/LanguageText.h"
#include "resource.h"
#include "settings/JobFileSchema.h"

namespace {

using jobsettings::JobKey;

const char kCaption[] = "Password";
constexpr int kMaxPassword = 16;

// Every caption of the dialog comes from the language file.
const LanguageCaption kCaptions[] = {
    {IDC_PASSWORD_LABEL, "IDS_SETUP_UI_PWD"},
    {IDC_CHANGE_PASSWORD, "IDS_SETUP_UI_CHANGE_PWD"},
    {IDC_NEW_PASSWORD_LABEL, "IDS_SETUP_UI_NEW_PWD"},
    {IDC_CHECK_PASSWORD_LABEL, "IDS_SETUP_UI_CHECK_PWD"},
    {IDOK, "IDS_SETUP_UI_OK"},
    {IDCANCEL, "IDS_SETUP_UI_CANCEL"},
    {IDC_REMEMBER_PASSWORD, "IDS_SETUP_UI_REMEMBER_PWD"},
};

}  // namespace

IMPLEMENT_DYNAMIC(CPasswordDlg, fw::CDialog)

BEGIN_MESSAGE_MAP(CPasswordDlg, fw::CDialog)
ON_BN_CLICKED(IDC_CHANGE_PASSWORD, OnChangePassword)
END_MESSAGE_MAP()

CPasswordDlg::CPasswordDlg(const std::string& jobFile, fw::CWnd* pParent)
    : fw::CDialog(IDD_PASSWORD, pParent), m_strJobFile(jobFile) {}

void CPasswordDlg::DoDataExchange(fw::CDataExchange* pDX) {
    fw::CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHECK_PASSWORD, m_editCheck);
    DDX_Control(pDX, IDC_NEW_PASSWORD, m_editNew);
    DDX_Control(pDX, IDC_PASSWORD, m_editPassword);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDV_MaxChars(pDX, m_strPassword, kMaxPassword);
    DDX_Text(pDX, IDC_CHECK_PASSWORD, m_strCheck);
    DDV_MaxChars(pDX, m_strCheck, kMaxPassword);
    DDX_Text(pDX, IDC_NEW_PASSWORD, m_strNew);
    DDV_MaxChars(pDX, m_strNew, kMaxPassword);
}

BOOL CPasswordDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();

    SetLanguageCaptions(*this, kCaptions);

    if (jobsettings::ReadNumber(m_strJobFile, JobKey::RememberPassword) != 0) {
        CheckDlgButton(IDC_REMEMBER_PASSWORD, BST_CHECKED);
        m_editPassword.SetWindowText(jobsettings::ReadText(m_strJobFile, JobKey::Password));
    }

    m_editPassword.SetFocus();
    return FALSE;  // the focus is placed
}

void CPasswordDlg::OnChangePassword() {
    const BOOL bChange = IsDlgButtonChecked(IDC_CHANGE_PASSWORD) == BST_CHECKED;
    for (int id :
         {IDC_NEW_PASSWORD_LABEL, IDC_NEW_PASSWORD, IDC_CHECK_PASSWORD_LABEL, IDC_CHECK_PASSWORD}) {
        GetDlgItem(id)->EnableWindow(bChange);
    }
}

std::string CPasswordDlg::EnteredPassword(const fw::CEdit& edit) {
    return edit.GetWindowText().substr(0, kMaxPassword);
}

void CPasswordDlg::OnOK() {
    const std::string stored = jobsettings::ReadText(m_strJobFile, JobKey::Password);
    if (EnteredPassword(m_editPassword) != stored) {
        m_bAccepted = FALSE;
        MessageBox(GetLanguageText("IDS_SETUP_UI_PWD_ERROR"), kCaption, MB_OK);
        return;
    }

    m_bAccepted = TRUE;
    const bool bRemember = IsDlgButtonChecked(IDC_REMEMBER_PASSWORD) == BST_CHECKED;
    // The dialog's writes are not checked: a job file that cannot be
    // written still lets the operator in, as it always has.
    jobsettings::JobFileWriter writer(m_strJobFile);
    writer.Flag(JobKey::RememberPassword, bRemember);

    if (IsDlgButtonChecked(IDC_CHANGE_PASSWORD) != BST_CHECKED) {
        EndAccepted();
        return;
    }

    const std::string newPassword = EnteredPassword(m_editNew);
    if (newPassword != EnteredPassword(m_editCheck)) {
        m_bAccepted = FALSE;
        MessageBox(GetLanguageText("IDS_SETUP_UI_PWD_DIFFERENT"), kCaption, MB_OK);
        return;
    }
    writer.Text(JobKey::Password, newPassword);
    MessageBox(GetLanguageText("IDS_SETUP_UI_EDIT_SUCCESS"), kCaption, MB_OK);
    EndAccepted();
}

void CPasswordDlg::EndAccepted() {
    // The platform's OK handling; a refused data exchange keeps the dialog
    // open, and a later Cancel must not find the flag set.
    if (!UpdateData(TRUE)) {
        m_bAccepted = FALSE;
        return;
    }
    EndDialog(IDOK);
}
