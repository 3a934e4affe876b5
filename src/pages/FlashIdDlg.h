// CFlashIdDlg: the "Add FlashID" dialog that the flash check page opens with
// its Add/Modify button. It edits the flash ID table of JobSettings ([CheckID]
// Num, FID<n>, COLOR<n>, FIDCOR<n>): up to six flash IDs, each drawn in its
// display colour and labelled with a colour name. The operator types the six
// bytes of an ID, picks the colour for the next ID on the swatch, adds IDs,
// deletes them and confirms.
//
// The dialog writes no file. Between opening and OK its two lists are the
// state: the ID list (text and display colour of each ID) and, parallel to
// it, the hidden list of colour names. OK replaces the table in JobSettings;
// Cancel leaves it as it was. The flash check page shows the table and saves
// it with its own keys.
//
// The dialog shows the captions of its template; it uses no language texts.
#ifndef SETUP_PAGES_FLASHIDDLG_H
#define SETUP_PAGES_FLASHIDDLG_H

#include "controls/ColorListBox.h"
#include "controls/ColorStatic.h"
#include "framework/framework.h"
#include "settings/JobSettings.h"

class CFlashIdDlg : public fw::CDialog {
    DECLARE_DYNAMIC(CFlashIdDlg)
public:
    explicit CFlashIdDlg(fw::CWnd* pParent = nullptr);

    // The colour the swatch shows and the next added ID is drawn in.
    COLORREF m_crCurrent = 0;
    fw::CComboBox m_comboColorName;  // 1075, hidden: the colour names to choose from
    fw::CListBox m_listColorNames;   // 1071, hidden: entry i names ID i's colour
    CColorListBox m_listIds;         // 1070: the IDs in their colours, on white
    // The ID's bytes: m_editByte[0] is byte 1 (5153) ... m_editByte[5] byte 6 (5158).
    fw::CEdit m_editByte[CJobSettings::kFlashIdBytes];
    CColorStatic m_swatch;  // 1096

protected:
    void DoDataExchange(fw::CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Replaces the flash ID table of JobSettings with the lists, then closes.
    void OnOK() override;

    void OnDelete();
    void OnAdd();
    void OnSwatch();

    DECLARE_MESSAGE_MAP()

private:
    // Appends an ID with its colour name to both lists; nColorIndex is kept
    // with the name, so that an index the name table does not know survives
    // OK unchanged.
    void AppendId(const std::string& text, COLORREF crText, const std::string& colorName,
                  int32_t nColorIndex);
    // Add is offered while the list holds fewer than six IDs.
    void UpdateAddButton();
};

#endif
