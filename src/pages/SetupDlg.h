// CSetupDlg: the third page of the settings sheet, the flash check. How the
// station checks each drive's flash: against one flash name chosen from the
// host's flash table, against the list of up to six flash IDs (edited in the
// flash ID editor), or not at all; three test options (LED short, UID only,
// warm-up), the open/short chip enable, and a read-loop group (direction,
// times, page, block) that the page shows but keeps disabled.
//
// Filled from JobSettings, the host's flash table and, for five keys
// (LoopSel, OpenShortCE, PR_Times, PR_Page, PR_Block), the job file itself;
// between initialization and save the controls are the state, except the
// flash ID table, which the editor changes in JobSettings. Writes [CheckFlash]
// and [CheckID] only when the sheet asks it to save; it is the one page that
// may refuse: name check without a flash name.
#ifndef SETUP_PAGES_SETUPDLG_H
#define SETUP_PAGES_SETUPDLG_H

#include <cstdint>
#include <string>

#include "framework/framework.h"
#include "pages/SettingsPage.h"

class CSetupDlg : public CSettingsPage {
    DECLARE_DYNAMIC(CSetupDlg)
public:
    explicit CSetupDlg(const Visit& visit);

    // The read-loop boxes' texts (times 1256, block 1257, page 1258).
    std::string m_strLoopTimes = "0";
    std::string m_strLoopBlock = "0";
    std::string m_strLoopPage = "0";

    fw::CComboBox m_comboFlashName;
    fw::CComboBox m_comboLoopSelect;
    fw::CComboBox m_comboOpenShortCE;

    // Writes [CheckFlash] and [CheckID] to path, or to the job file when path
    // is empty. FALSE, after telling the operator, when name check is chosen
    // without a flash name (the [CheckFlash] keys are written, [CheckID] is
    // not) or when the file cannot be written.
    BOOL SaveSettings(const std::string& path) override;

protected:
    void DoDataExchange(fw::CDataExchange* pDX) override;
    // From JobSettings, with the five keys the page reads from a file read
    // from file.
    void FillControls(const std::string& file) override;

    void OnAddModify();
    void OnCheckFlashName();
    void OnCheckFlashId();
    void OnNotCheck();
    void OnLoopSelectChange();
    void OnOpenShortCEChange();

    DECLARE_MESSAGE_MAP()

private:
    // Replaces the flash ID box's text with one line per ID of JobSettings.
    void FillFlashIdList();
    void EnableItem(int nID, BOOL bEnable);
};

#endif
