// CModePage: the first page of the settings sheet. The controller model, the
// flash type and its geometry (flash chips, channels, read/write cycle,
// driving level) and the test mode (scan mode, test case, ECC limit).
// Filled from JobSettings and the host's flash table; between initialization
// and save the controls are the state. Writes [Setup], [Flash] and [Sorting]
// keys only when the sheet asks it to save.
#ifndef SETUP_PAGES_MODEPAGE_H
#define SETUP_PAGES_MODEPAGE_H

#include <cstdint>
#include <string>

#include "framework/framework.h"
#include "pages/SettingsPage.h"

class CModePage : public CSettingsPage {
    DECLARE_DYNAMIC(CModePage)
public:
    explicit CModePage(const Visit& visit);

    fw::CComboBox m_comboDrivingLevel;
    fw::CComboBox m_comboController;
    fw::CComboBox m_comboFlashType;
    fw::CComboBox m_comboFlashNum;
    fw::CComboBox m_comboChannel;
    fw::CComboBox m_comboRWCycle;
    fw::CComboBox m_comboECC;
    fw::CComboBox m_comboTestCase;

    // Writes the page's keys to path, or to the job file when path is empty.
    // FALSE (after telling the operator) only when the file cannot be written.
    BOOL SaveSettings(const std::string& path) override;

protected:
    void DoDataExchange(fw::CDataExchange* pDX) override;
    // From JobSettings and the host's flash table; file is not used.
    void FillControls(const std::string& file) override;

    void OnUnAutoCheck();
    void OnTrafficLight();
    void OnFastTest();
    void OnOpenShortTest();
    void OnAdvanced();
    void OnRestoreDefaults();

    DECLARE_MESSAGE_MAP()

private:
    void FillController();
    void FillDrivingLevel();
    void FillFlashType();
    void SelectFlashNum();
    void FillChannel();
    void FillRWCycle();
    void FillECC();
    void FillTestCase();
    // Flash number and channel follow the UnAutoCheck box: editable when it
    // is checked, forced to one chip and single channel when it is not.
    void ApplyUnAutoCheckState();
    // Checks one test-mode radio, unchecks the other two; test case and ECC
    // apply to the fast test only.
    void SetTestMode(int nRadioID);

    // What initialization found in JobSettings, written back when the list
    // has no selection at save time (a stored value matching no item), so
    // that the file keeps it.
    uint8_t m_nLoadedDrivingLevel = 0;
    uint8_t m_nLoadedFlashNum = 0;
};

#endif
