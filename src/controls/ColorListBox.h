// CColorListBox: an owner-drawn list box whose entries each carry their own
// text colour and background colour. The flash ID editor lists its flash IDs
// in it: each ID in its display colour on white, a selected ID inverted
// (white on its display colour).
//
// Every entry's item data is the address of its record (ColorItem), which
// the control owns from AddColorString until FreeItem or the window's
// destruction frees it. The control is meant for a list box with fixed-height
// owner-drawn entries, without stored strings and without sorting, so that
// entries keep the order they were added in and an index is a position:
//
//   m_listIds.AddColorString("0x98,0xDE", RGB(255, 0, 0), RGB(255, 255, 255));
//   m_listIds.FreeItem(n);        // the record first,
//   m_listIds.DeleteString(n);    // then the entry
//
// Classes in this file:
//   ColorItem       the record of one entry
//   CColorListBox   the list box
#ifndef SETUP_CONTROLS_COLORLISTBOX_H
#define SETUP_CONTROLS_COLORLISTBOX_H

#include <string>

#include "framework/framework.h"

struct ColorItem {
    std::string strText;                      // as drawn
    COLORREF crTextColor = 0;                 // text; the fill when selected
    COLORREF crBkColor = RGB(255, 255, 255);  // the fill; the text when selected

    ColorItem() { ++s_nCreated; }
    ~ColorItem() { ++s_nFreed; }
    ColorItem(const ColorItem&) = delete;
    ColorItem& operator=(const ColorItem&) = delete;

    // Records made and freed since the library was loaded: equal once every
    // list that made records is gone.
    static long Created() { return s_nCreated; }
    static long Freed() { return s_nFreed; }

private:
    static long s_nCreated;
    static long s_nFreed;
};

class CColorListBox : public fw::CListBox {
public:
    CColorListBox() = default;
    ~CColorListBox() override = default;

    // Appends an entry showing lpszText in crTextColor on crBkColor; the new
    // entry's index, or a negative LB_ERR / LB_ERRSPACE (no record is kept).
    int AddColorString(const char* lpszText, COLORREF crTextColor, COLORREF crBkColor);
    int AddColorString(const std::string& text, COLORREF crTextColor, COLORREF crBkColor) {
        return AddColorString(text.c_str(), crTextColor, crBkColor);
    }
    // A copy of the entry's text; empty for an entry without a record.
    std::string GetItemString(int nIndex) const;
    // The entry's text colour; 0 for an entry without a record.
    COLORREF GetItemTextColor(int nIndex) const;
    // Frees the entry's record, if it has one; the entry stays (without a
    // record, drawn as nothing) until the caller deletes it.
    void FreeItem(int nIndex);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

protected:
    // Frees the records of all entries, then the default handling.
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    ColorItem* ItemOf(int nIndex) const;
};

#endif
