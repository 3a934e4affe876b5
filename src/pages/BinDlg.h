// CBinDlg: the second page of the settings sheet. How finished drives are
// sorted into bins: sixteen standard bins, eight U3 bins and one SSD bin,
// each with a threshold and a display colour, and the switches that choose
// the bin set the station shows and whether it checks bin colours.
//
// The page keeps no copy of the settings: it fills its controls from the
// [BIN] and [U3Bin] members of JobSettings, reads thresholds and flags back
// from the controls when it saves, and keeps colours in JobSettings itself (a
// colour picked in the colour dialog is stored there at once; saving writes
// it). Each colour shows in a swatch, a CColorStatic attached to one of the
// template's bitmap statics.
//
// Only U3 bins 1 and 2 are live on the page (their edits and swatches are the
// only U3 ones ever enabled or shown); all eight are still loaded and saved.
#ifndef SETUP_PAGES_BINDLG_H
#define SETUP_PAGES_BINDLG_H

#include <string>

#include "controls/ColorStatic.h"
#include "framework/framework.h"
#include "pages/SettingsPage.h"
#include "settings/JobSettings.h"

class CBinDlg : public CSettingsPage {
    DECLARE_DYNAMIC(CBinDlg)
public:
    explicit CBinDlg(const Visit& visit);

    CColorStatic m_binSwatch[CJobSettings::kBins];   // standard bins 1 to 16
    CColorStatic m_u3Swatch[CJobSettings::kU3Bins];  // U3 bins 1 to 8
    CColorStatic m_ssdSwatch;                        // the SSD bin
    CColorStatic m_bgSwatch;                         // the U3 background colour
    fw::CComboBox m_enhanceCombo;                    // [U3Bin] EnhanceCheck

    // Writes [BIN] and [U3Bin] into the INI file at path (the job file when
    // path is empty), each key under the section spelling the schema gives
    // it (the U3 flags under another spelling of the same section).
    // FALSE, after telling the operator, only when the file cannot be written.
    BOOL SaveSettings(const std::string& path) override;

    // The check boxes' handlers; the initialization runs the first three.
    virtual void OnColorVerify();    // 1117: the 16 standard swatches
    virtual void OnStandBin();       // 1142: the standard thresholds
    virtual void OnU3ColorVerify();  // 1223: U3 swatches 1 and 2, the SSD swatch
    virtual void OnSetBgColor();     // 1221: the background swatch

protected:
    void DoDataExchange(fw::CDataExchange* pDX) override;
    // Every control as a freshly opened page shows JobSettings (a reload
    // finds the swatches attached); file is not used.
    void FillControls(const std::string& file) override;

    void OnBinSwatch(UINT nID);
    void OnU3Swatch(UINT nID);
    void OnShowU3Bin();
    void OnShowSsdBin();

    DECLARE_MESSAGE_MAP()

private:
    // [Sorting] FlashCheck 3, 4 and 5 count bad blocks ("BinBB%d", unit
    // "B"); the other test cases capacity ("BinCap%d", unit "M").
    static bool CountsBadBlocks();
    // The colour the operator picks in the colour dialog; false when the
    // dialog is cancelled.
    bool PickColor(COLORREF& color);
    // Subclasses the swatch control unless the swatch is attached already.
    void AttachSwatch(CColorStatic& swatch, int nID);
    void EnableItem(int nID, BOOL bEnable);
    void ShowItem(int nID, BOOL bShow);
    void EnableStandardThresholds(BOOL bEnable);
    // The options that apply to U3 and SSD bins alike: Show U2 Bin, Enhance
    // Check with its label, Set bgColor and the U3 Color Verfy box.
    void EnableSharedU3Options(BOOL bEnable);
    // What Show U3 Bin and Show SSD Bin switch alike: the shared U3 options
    // and Show U2 Bin's check on, the standard bin controls off (their
    // thresholds too), or the other way round (the thresholds left alone).
    void SwitchU3Options(BOOL bOn);
};

#endif
