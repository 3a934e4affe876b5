// Export and import on the settings sheet run directly, with pages that
// refuse or fail on request: an export that stops leaves no file and no
// changed file behind, whichever step stops it; a file that cannot be
// written is named; the import hands each page the imported file and stops
// at a page that fails. Both window systems, real file dialogs under Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "module/globals.h"
#include "pages/ModePage.h"
#include "platform/files.h"
#include "resource.h"
#include "scenario/probe_page.h"
#include "scenario/sheet_globals.h"
#include "scenario/sheet_support.h"
#include "scenario/transfer_support.h"
#include "sheet/SetupSheet.h"

using sheettest::CProbePage;
using sheettest::ExpectKeys;
using sheettest::Section;
using sheettest::Value;
using transfertest::IsReadOnly;
using transfertest::MakeFolder;
using transfertest::SameFolder;
using transfertest::SetReadOnly;

namespace {

using Strings = std::vector<std::string>;

const char kJob[] =
    "[Setup]\r\nCTLType=3\r\nDrivingLevel=68\r\nUIType=4\r\n"
    "[Flash]\r\nFlashIndex=1\r\nFlashName=FX29F64G08AMC\r\nUnAutoCheck=1\r\nFlashNum=2\r\n"
    "ChannelNum=1\r\nRWCycle=1\r\n"
    "[Sorting]\r\nScanMode=1\r\nFlashCheck=2\r\nECC=3\r\n"
    "[Advanced]\r\nHubPort=2\r\nCheckDDR=1\r\n";

// The three pages of a sheet: the mode page, or a probe in its place.
struct Pages {
    explicit Pages(Strings* log)
        : probeMode(IDD_MODE, 0, log), bin(IDD_BIN, 1, log), check(IDD_FLASH_CHECK, 2, log) {}

    void AddTo(CSetupSheet& sheet, bool realModePage) {
        sheet.AddPage(realModePage ? static_cast<CSettingsPage*>(&mode) : &probeMode);
        sheet.AddPage(&bin);
        sheet.AddPage(&check);
    }

    CModePage mode{sheettest::VisitOfGlobals()};
    CProbePage probeMode;
    CProbePage bin;
    CProbePage check;
};

using SheetTransfer = sheettest::SheetGlobals;

}  // namespace

// Whichever step stops an export, the file it was to write is as it was
// (or still missing): the pages' messages come first, then the export's own
// fixed text. The transfer fails when its keys cannot be written: here the
// probes write nothing that counts into a read-only file.
TEST_F(SheetTransfer, AnExportThatStopsWritesNothing) {
    const struct {
        const char* name;
        bool realModePage;
        int refusing;  // the page that refuses, -1 none
        bool existing;
        bool readOnly;
        const char* failure;
    } cases[] = {
        {"bin page refuses, new file", true, 1, false, false, "Fail to export Bin Info "},
        {"flash page refuses, new file", true, 2, false, false, "Fail to export flash Info "},
        {"flash page refuses, existing file", true, 2, true, false, "Fail to export flash Info "},
        {"mode page refuses", false, 0, true, false, "Fail to export mode Info "},
        {"advanced keys cannot be written", false, -1, true, true,
         "Fail to export Advanced Info  "},
    };
    LoadJob(kJob);
    const std::string before = "[Setup]\r\nCTLType=0\r\n[Notes]\r\nLine=kept\r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = m_station.Path("Export.ini");
        std::remove(target.c_str());
        if (c.existing) {
            Station::WriteFile(target, before);
            SetReadOnly(target, c.readOnly);
        }
        m_log.clear();
        CSetupSheet sheet("Settings", sheettest::VisitOfGlobals());
        Pages pages(&m_log);
        pages.AddTo(sheet, c.realModePage);
        CProbePage* probes[] = {&pages.probeMode, &pages.bin, &pages.check};
        if (c.refusing >= 0) {
            probes[c.refusing]->m_bRefuse = true;
        }
        Operator op;
        op.OnSheet([&](SheetDriver& s) {
            m_log.clear();
            op.OnFileDialog([&](FileDialogSeen&) { return FileChoice::Path(target); });
            if (c.existing) {
                op.OnMessageBox([](MessageBoxSeen&) { return IDYES; });  // replace it?
            }
            if (c.refusing >= 0) {
                op.OnMessageBox([&](MessageBoxSeen& m) {
                    EXPECT_EQ("Page " + std::to_string(c.refusing) + " refuses.", m.text);
                    return IDOK;
                });
            }
            op.OnMessageBox([&](MessageBoxSeen& m) {
                EXPECT_EQ(c.failure, m.text);
                EXPECT_EQ(m_station.Text("IDS_SETUP_MESSAGE_NOTE"), m.caption);
                EXPECT_EQ(static_cast<UINT>(MB_OK), m.type);
                EXPECT_EQ(c.existing, Station::FileExists(target)) << "while the message is up";
                return IDOK;
            });
            s.Click(IDC_EXPORT_SET);
            EXPECT_TRUE(s.IsOpen());
            s.Click(IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, sheet.DoModal("Times New Roman", 8));
        if (c.existing) {
            EXPECT_EQ(before, Station::ReadFile(target));
            EXPECT_EQ(c.readOnly, IsReadOnly(target));
            SetReadOnly(target, false);
        } else {
            EXPECT_FALSE(Station::FileExists(target));
        }
        const int stops = c.refusing >= 0 ? c.refusing : 2;
        Strings saves;
        for (int page = c.realModePage ? 1 : 0; page <= stops; ++page) {
            saves.push_back("save " + std::to_string(page));
        }
        EXPECT_EQ(saves, m_log) << "the pages after a refusal are not asked";
    }
    EXPECT_EQ(std::string(kJob), m_station.ReadJob());
}

// A file that turns out not to be writable when the export writes it (here a
// folder appears where it was to go): the operator is told which file, no
// success is reported, and the process is back where it was before the
// dialog.
TEST_F(SheetTransfer, AnUnwritableFileIsNamed) {
    LoadJob(kJob);
    const std::string out = MakeFolder(m_station.Path("Out"));
    const std::string target = transfertest::Join(out, "Export.ini");
    CSetupSheet sheet("Settings", sheettest::VisitOfGlobals());
    Pages pages(&m_log);
    pages.AddTo(sheet, true);
    pages.check.m_onSave = [](const std::string& path) {
        std::error_code error;
        std::filesystem::create_directory(std::filesystem::path(path), error);
    };
    Operator op;
    op.OnSheet([&](SheetDriver& s) {
        const std::string before = files::CurrentDirectory();
        op.OnFileDialog([&](FileDialogSeen&) { return FileChoice::Path(target); });
        op.OnMessageBox([&](MessageBoxSeen& m) {
            EXPECT_NE(std::string::npos, m.text.find(target)) << m.text;
            EXPECT_EQ(m_station.Text("IDS_SETUP_MESSAGE_NOTE"), m.caption);
            return IDOK;
        });
        s.Click(IDC_EXPORT_SET);
        EXPECT_TRUE(SameFolder(before, files::CurrentDirectory()));
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal("Times New Roman", 8));
    ASSERT_EQ(3u, op.Seen().size()) << "the sheet, the dialog, one message";
    EXPECT_EQ(0u, op.Seen()[2].find("message box: The settings could not be written to "))
        << op.Seen()[2];
}

// The import loads the chosen file, copies its advanced keys into the job
// file and then hands every page its path in tab order (the flash check page
// reads its own keys from it). A page that cannot reload stops the import
// there, silently: no success shown.
TEST_F(SheetTransfer, ImportReloadsEveryPageFromTheChosenFile) {
    LoadJob(kJob);
    const std::string source = m_station.Path("Source.ini");
    Station::WriteFile(source, "[Setup]\r\nCTLType=5\r\nUIType=1\r\n[Advanced]\r\nHubPort=3\r\n");
    for (bool refuse : {true, false}) {
        SCOPED_TRACE(refuse ? "the bin page cannot reload" : "every page reloads");
        CSetupSheet sheet("Settings", sheettest::VisitOfGlobals());
        Pages pages(&m_log);
        pages.AddTo(sheet, true);
        pages.bin.m_bRefuseLoad = refuse;
        Operator op;
        op.OnSheet([&](SheetDriver& s) {
            m_log.clear();
            op.OnFileDialog([&](FileDialogSeen&) { return FileChoice::Path(source); });
            if (!refuse) {
                op.OnMessageBox([&](MessageBoxSeen& m) {
                    EXPECT_EQ(m_station.Text("IDS_SETUP_UI_IMPORT_SUCCESS"), m.text);
                    return IDOK;
                });
            }
            s.Click(IDC_IMPORT_SET);
            EXPECT_EQ(5, s.CurSel(IDC_CONTROLLER));
            s.Click(IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, sheet.DoModal("Times New Roman", 8));
        EXPECT_EQ(refuse ? Strings{"load 1"} : Strings({"load 1", "load 2"}), m_log);
        EXPECT_EQ(Strings{source}, pages.bin.m_loadPaths);
        EXPECT_EQ(refuse ? Strings{} : Strings{source}, pages.check.m_loadPaths);
        ExpectKeys(m_station.ReadJob(), {{"Advanced", "HubPort", "3"},
                                         {"Setup", "UIType", "1"},
                                         {"Setup", "CTLType", "3", "page keys wait for OK"}});
        EXPECT_EQ(5, JobSettings.Setup.CTLType);
        LoadJob(kJob);
    }
}
