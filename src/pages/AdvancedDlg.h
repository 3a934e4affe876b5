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
    fw::CComboBox m_comboFixedCapability;
    fw::CComboBox m_comboCheckLevel;
    fw::CComboBox m_comboSortingBlockNum;
    fw::CComboBox m_comboAutoMPTimer;
    fw::CComboBox m_comboStartDelay;
    fw::CComboBox m_comboCheckFlashPin;
    fw::CComboBox m_comboSandiskID;
    fw::CComboBox m_comboCheckTog;
    fw::CComboBox m_comboUIType;
    fw::CComboBox m_comboID00Err;
    fw::CComboBox m_comboGPI;
    fw::CEdit m_editMinCap;

    // What the job file held when the dialog opened. Every number is read as
    // its low byte (the stored format's width) except MinCap.
    uint8_t m_nHubPort = 0;
    BOOL m_bFactoryDriver = FALSE;
    BOOL m_bCheckDDR = FALSE;
    uint8_t m_nSortingBlockNum = 0;
    uint8_t m_nAutoMPTimer = 1;
    uint8_t m_nStartDelay = 0;
    uint8_t m_bSpecialSortingClassCheck = 0;
    uint8_t m_bCheckDataRetain = 0;
    BOOL m_bSetSum19nmFeature = FALSE;
    uint8_t m_bUELC = 0;
    uint8_t m_bCloseReadRetry = 0;
    BOOL m_bCheckFixedCap = FALSE;
    uint8_t m_nCheckLevel = 0;
    uint8_t m_nFixedCapability = 1;
    uint8_t m_nCheckFlashPin = 0;
    uint8_t m_nSandiskIDMode = 0;
    uint8_t m_nCheckTog = 0;
    uint8_t m_nForRamos = 0;
    uint8_t m_nUIType = 0;
    uint8_t m_bMinCapLimit = 0;
    int32_t m_nMinCap = 0;  // megabytes
    uint8_t m_nID00Err = 0;
    uint8_t m_nGPI = 0;
    uint8_t m_bCacheProgram = 0;
    BOOL m_bMultiPlane = FALSE;
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

    void LoadAdvancedSettings();
    uint8_t ReadByte(jobsettings::JobKey key) const;
    void ShowVidPid(BOOL bShow);
};

#endif
