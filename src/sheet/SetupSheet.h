// CSetupSheet: the modal settings sheet of one visit. It holds the settings
// pages as tabs (mode, bin, flash check, in that order), forces one font on
// itself and every page, rearranges the standard buttons, adds the import
// and export buttons, and replaces the standard confirm handling: OK saves
// every page into the job file, tells the station and ends the sheet with 1.
// The sheet writes no key of its own; the pages do.
#ifndef SETUP_SHEET_SETUPSHEET_H
#define SETUP_SHEET_SETUPSHEET_H

#include <string>
#include <vector>

#include "framework/framework.h"
#include "pages/SettingsPage.h"

class CSetupSheet : public fw::CPropertySheet {
    DECLARE_DYNAMIC(CSetupSheet)
public:
    // The sheet of visit, its pages added afterwards.
    CSetupSheet(const std::string& caption, const Visit& visit);

    // Pages become tabs in the order added: mode, bin, flash check.
    void AddPage(CSettingsPage* pPage);
    // The page at nPage of the page list, or nullptr.
    CSettingsPage* GetSettingsPage(int nPage) const;

    // Runs the sheet with the font lpszFaceName at nFontSize points on the
    // sheet and every page, whatever font their templates name. Returns 1
    // after OnOK closed the sheet, IDCANCEL after Cancel, Escape or the close
    // box.
    INT_PTR DoModal(LPCSTR lpszFaceName, WORD nFontSize);
    using fw::CPropertySheet::DoModal;

    BOOL OnInitDialog() override;

    fw::CButton m_btnImport;
    fw::CButton m_btnExport;
    // The file the last export wrote.
    std::string m_strExportPath;

protected:
    void BuildPropPageArray() override;

    void OnOK();
    // Tells the operator of each job file that could not be written; TRUE
    // when there is none.
    BOOL ReportUnwritten(const std::vector<std::string>& paths);
    // Export: every page's keys and the job's advanced keys into a job file
    // the operator names, in one replacement of that file once every step
    // succeeded; the process's current directory is the host directory
    // after a finished export, and as it was before the dialog otherwise.
    void OnExport();
    // Import: JobSettings from a job file the operator picks, that file's
    // advanced keys into the job file at once, then every page refilled from
    // it (OK saves what was imported, Cancel drops it). A file that cannot
    // be read whole, or a job file that cannot take the advanced keys,
    // imports nothing. The current directory is put back as it was before
    // the dialog.
    void OnImport();

    DECLARE_MESSAGE_MAP()

private:
    const Visit m_visit;

    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);
};

#endif
