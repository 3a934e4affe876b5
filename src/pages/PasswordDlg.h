// CPasswordDlg: the password that guards the settings sheet. The password is
// kept in plain text in the job file, section [PASSWORD]; the dialog also
// changes it and, on request, remembers it for the next visit.
#ifndef SETUP_PAGES_PASSWORDDLG_H
#define SETUP_PAGES_PASSWORDDLG_H

#include <string>

#include "framework/framework.h"

class CPasswordDlg : public fw::CDialog {
    DECLARE_DYNAMIC(CPasswordDlg)
public:
    // The dialog of the visit whose job file is jobFile.
    explicit CPasswordDlg(const std::string& jobFile, fw::CWnd* pParent = nullptr);

    // Set only when the dialog closed through OK after a correct password
    // (and, when changing it, two equal new passwords). Show reads it.
    BOOL m_bAccepted = FALSE;

    fw::CEdit m_editCheck;
    fw::CEdit m_editNew;
    fw::CEdit m_editPassword;
    std::string m_strPassword;
    std::string m_strCheck;
    std::string m_strNew;

protected:
    void DoDataExchange(fw::CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnChangePassword();

    DECLARE_MESSAGE_MAP()

private:
    const std::string m_strJobFile;

    // The first 16 characters of an edit: all the password rules look at.
    static std::string EnteredPassword(const fw::CEdit& edit);
    void EndAccepted();
};

#endif
