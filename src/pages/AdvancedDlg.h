// CAdvancedDlg: the advanced settings of a job, opened from the mode page.
// Unlike the sheet's pages it works on the job file directly: it reads
// section [Advanced] (and [Setup] UIType) each time it opens and writes them
// back on its own OK, whatever the operator later does with the sheet. It
// also resets the station's hub profile file and checks the hub VID/PID list
// for the hub port styles that need them. The keys are rows of the job file's
// schema (settings/JobFileSchema.h); the sheet's export and import copy some
// of them (sheet/AdvancedTransfer.h).
#ifndef SETUP_PAGES_ADVANCEDDLG_H
#define SETUP_PAGES_ADVANCEDDLG_H

#include <cstdint>
#include <string>

#include "framework/framework.h"
#include "module/Visit.h"
#include "settings/JobFileSchema.h"

class CAdvancedDlg : public fw::CDialog {
    DECLARE_DYNAMIC(CAdvancedDlg)
public:
    explicit CAdvancedDlg(const Visit& visit, fw::CWnd* pParent = nullptr);

    // Writes the keys from the controls to the job file. FALSE when nothing
    // could be written (the hub VID/PID list of style 4 is not valid, or the
    // hub profile file of style 3 could not be deleted) and when a key could
    // not be written; the operator has been told.
    BOOL SaveAdvancedSettings();

    fw::CComboBox m_comboHubPort;
    // The lists after the hub port style, in the order of the dialog's key
    // table.
    static constexpr int kListCount = 11;
    fw::CComboBox m_lists[kListCount];
    fw::CEdit m_editMinCap;
    // The hub VID/PID list, as the job file held it when the dialog opened
    // and as its OK took it.
    std::string m_strVidPid;

protected:
    void DoDataExchange(fw::CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Enter: the same as the dialog's own OK button.
    void OnOK() override;

    void OnAdvancedOk();
    void OnAdvancedCancel();
    void OnFixedCapCheck();
    void OnMinCapLimit();
    void OnSelchangeHubPort();

    DECLARE_MESSAGE_MAP()

private:
    const Visit m_visit;

    // A number as the dialog shows it: its low byte (MinCap whole), after
    // the key's rule.
    uint8_t ReadByte(jobsettings::JobKey key) const;
    void ShowVidPid(BOOL bShow);
    // The list control of ID nID.
    fw::CComboBox* List(int nID);
};

#endif
