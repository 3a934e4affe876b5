// The flash ID editor, opened with Add/Modify from the flash check page: what
// it opens with, adding, deleting and colouring IDs, its six-ID limit, and
// what its OK and Cancel leave in the page and, after the sheet's OK, in
// [CheckID]. The same scenarios run natively and, under Wine, against the
// real Setup.dll.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "resource.h"
#include "scenario/flash_check_support.h"
#include "scenario/sheet_support.h"

using namespace fctest;
using sheettest::Section;
using sheettest::Value;

namespace {

const int kByteEdits[] = {IDC_FID_BYTE1, IDC_FID_BYTE2, IDC_FID_BYTE3,
                          IDC_FID_BYTE4, IDC_FID_BYTE5, IDC_FID_BYTE6};
const Strings kColorNames = {"BLUE", "PURPLE", "DARK ORANGE", "DARK CYAN", "CYAN", "GREEN"};

std::vector<StoredId> Ids(int count) {
    std::vector<StoredId> ids;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        ids.push_back({"0x98,0xDE,0x94,0x93,0x76,0x5" + n, i % 6, 0x010101 * (i + 1)});
    }
    return ids;
}

// A job in ID check mode with these IDs.
std::string IdJob(const std::vector<StoredId>& ids, const std::string& checkFlash = "") {
    return "[CheckFlash]\r\nCheckFlashMode=1\r\n" + checkFlash + CheckIdSection(ids);
}

// One visit: the editor is opened from the flash check page (in ID check
// mode, which a job without IDs does not open in) and worked on by
// `editor` (which may queue further handlers on `op`), then `afterEditor`
// looks at the page, then the sheet's OK.
void EditAndConfirm(Station& station, Operator& op, Operator::DialogHandler editor,
                    std::function<void(SheetDriver&)> afterEditor = nullptr) {
    QueueFlashCheckVisit(op, [&](SheetDriver& s) {
        s.Check(IDC_CHECK_FLASH_ID);
        op.OnDialog(IDD_FLASH_ID, editor);
        s.Click(IDC_ADD_MODIFY);
        if (afterEditor) {
            afterEditor(s);
        }
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(op));
}

void TypeId(DialogDriver& d, const Strings& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        d.Type(kByteEdits[i], bytes[i]);
    }
}

}  // namespace

// The byte edits show the bytes of [CheckFlash] FID as two upper-case hex
// digits; the list holds each stored ID with its colour name in the hidden
// list; with six IDs Add is disabled until one is deleted. The hidden
// controls stay hidden, the colour-name choice is "BLUE". Cancel leaves the
// page and the table as they were.
TEST(FlashIdEditor, OpensWithTheStoredBytesAndIds) {
    Station station;
    const std::vector<StoredId> six = Ids(6);
    station.WriteJob(IdJob(six, "FID=0x0,0xa,0xFF,0x9,0x7b,0x10\r\n"));
    std::string pageBox;
    Operator op;
    QueueFlashCheckVisit(op, [&](SheetDriver& s) {
        pageBox = s.Text(IDC_FLASH_ID_LIST);
        op.OnDialog(IDD_FLASH_ID, [&](DialogDriver& d) {
            EXPECT_EQ("Add FlashID", d.Caption());
            Strings bytes;
            for (int id : kByteEdits) {
                bytes.push_back(d.Text(id));
            }
            EXPECT_EQ((Strings{"00", "0A", "FF", "09", "7B", "10"}), bytes);
            EXPECT_EQ(6u, d.Items(IDC_FID_LIST).size());
            EXPECT_EQ(kColorNames, d.Items(IDC_FID_COLOR_NAMES));
            EXPECT_EQ(kColorNames, d.Items(IDC_FID_COLOR_NAME));
            EXPECT_EQ(0, d.CurSel(IDC_FID_COLOR_NAME));
            EXPECT_FALSE(d.IsVisible(IDC_FID_COLOR_NAMES));
            EXPECT_FALSE(d.IsVisible(IDC_FID_COLOR_NAME));
            EXPECT_FALSE(d.IsEnabled(IDC_FID_ADD));

            d.Select(IDC_FID_LIST, 2);
            d.Click(IDC_FID_DELETE);
            EXPECT_EQ(5u, d.Items(IDC_FID_LIST).size());
            EXPECT_EQ((Strings{"BLUE", "PURPLE", "DARK CYAN", "CYAN", "GREEN"}),
                      d.Items(IDC_FID_COLOR_NAMES));
            EXPECT_TRUE(d.IsEnabled(IDC_FID_ADD));
            d.Click(IDC_FID_ADD);
            EXPECT_FALSE(d.IsEnabled(IDC_FID_ADD));
            d.Click(IDCANCEL);
        });
        s.Click(IDC_ADD_MODIFY);
        EXPECT_EQ(pageBox, s.Text(IDC_FLASH_ID_LIST)) << "a cancelled editor changes nothing";
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(op));
    EXPECT_EQ(CheckIdSection(six), Section(station.ReadJob(), "CheckID"));
}

// Add takes the byte texts as typed (case kept, an empty edit a bare "0x"),
// allows the same ID twice, and draws each new ID in the swatch's colour:
// black with an empty table, then what the colour dialog gave; a cancelled
// dialog keeps the colour, and IDs added before keep theirs. Every new ID is
// "BLUE". The page lists what the editor confirmed.
TEST(FlashIdEditor, AddTakesTheTextsAsTypedInTheCurrentColour) {
    Station station;
    station.WriteJob(IdJob({}));
    const std::string typed = "0x98,0xde,0x94,0x93,0x76,0x";
    const COLORREF red = RGB(255, 0, 0);
    Operator op;
    EditAndConfirm(
        station, op,
        [&](DialogDriver& d) {
            EXPECT_EQ(0u, d.Items(IDC_FID_LIST).size());
            TypeId(d, {"98", "de", "94", "93", "76", ""});
            d.Click(IDC_FID_ADD);
            d.Click(IDC_FID_ADD);
            op.OnColorDialog([](ColorDialogSeen& c) {
                EXPECT_EQ(0u, c.initial) << "no initial colour";
                return ColorChoice::Pick(RGB(255, 0, 0));
            });
            d.Click(IDC_FID_SWATCH);
            d.Type(IDC_FID_BYTE6, "501");
            EXPECT_EQ("50", d.Text(IDC_FID_BYTE6)) << "two characters a byte";
            d.Click(IDC_FID_ADD);
            op.OnColorDialog([](ColorDialogSeen&) { return ColorChoice::Cancel(); });
            d.Click(IDC_FID_SWATCH);
            d.Click(IDC_FID_ADD);
            EXPECT_EQ((Strings{"BLUE", "BLUE", "BLUE", "BLUE"}), d.Items(IDC_FID_COLOR_NAMES));
            d.Click(IDOK);
        },
        [&](SheetDriver& s) {
            EXPECT_EQ(IdLines({{typed, "BLUE"},
                               {typed, "BLUE"},
                               {typed + "50", "BLUE"},
                               {typed + "50", "BLUE"}}),
                      s.Text(IDC_FLASH_ID_LIST));
        });
    EXPECT_EQ(CheckIdSection({{typed, 0, 0},
                              {typed, 0, 0},
                              {typed + "50", 0, static_cast<int>(red)},
                              {typed + "50", 0, static_cast<int>(red)}}),
              Section(station.ReadJob(), "CheckID"));
}

// The swatch starts in the last stored ID's colour; Delete without a
// selection does nothing; deleting moves the later IDs up with their own
// colours and names; a stored colour-name index is kept on OK, the one the
// table does not know included, while new IDs get index 0.
TEST(FlashIdEditor, DeleteKeepsTheOthersAndTheirColourIndexes) {
    Station station;
    std::vector<StoredId> ids = {
        {"0x01", 3, 0x0000FF}, {"0x02", 9, 0x00FF00}, {"0x03", 4, 0xFF0000}, {"0x04", 1, 0x123456}};
    station.WriteJob(IdJob(ids));
    Operator op;
    EditAndConfirm(
        station, op,
        [&](DialogDriver& d) {
            EXPECT_EQ((Strings{"DARK CYAN", "", "CYAN", "PURPLE"}), d.Items(IDC_FID_COLOR_NAMES));
            d.Click(IDC_FID_DELETE);
            EXPECT_EQ(4u, d.Items(IDC_FID_LIST).size()) << "nothing was selected";
            d.Select(IDC_FID_LIST, 2);
            d.Click(IDC_FID_DELETE);
            EXPECT_EQ(-1, d.CurSel(IDC_FID_LIST));
            EXPECT_EQ((Strings{"DARK CYAN", "", "PURPLE"}), d.Items(IDC_FID_COLOR_NAMES));
            TypeId(d, {"AA", "BB", "CC", "DD", "EE", "FF"});
            d.Click(IDC_FID_ADD);
            d.Click(IDOK);
        },
        [&](SheetDriver& s) {
            EXPECT_EQ(IdLines({{"0x01", "DARK CYAN"},
                               {"0x02", ""},
                               {"0x04", "PURPLE"},
                               {"0xAA,0xBB,0xCC,0xDD,0xEE,0xFF", "BLUE"}}),
                      s.Text(IDC_FLASH_ID_LIST));
        });
    EXPECT_EQ(
        CheckIdSection({ids[0], ids[1], ids[3], {"0xAA,0xBB,0xCC,0xDD,0xEE,0xFF", 0, 0x123456}}),
        Section(station.ReadJob(), "CheckID"))
        << "the new ID takes the swatch's colour: the last stored ID's";
}

// A list shortened from five IDs to three is saved as three: entries 0 to 2
// are rewritten, the keys of entries 3 and 4 stay in the file as they were.
// Deleting every ID saves Num 0 and leaves all five.
TEST(FlashIdEditor, ShortenedListLeavesTheHigherEntriesInTheFile) {
    const std::vector<StoredId> five = Ids(5);
    for (int keep : {3, 0}) {
        SCOPED_TRACE(keep);
        Station station;
        station.WriteJob(IdJob(five));
        Operator op;
        EditAndConfirm(station, op, [&](DialogDriver& d) {
            // The first entries go, so that the ones kept move up.
            for (int i = 0; i < 5 - keep; ++i) {
                d.Select(IDC_FID_LIST, 0);
                d.Click(IDC_FID_DELETE);
            }
            EXPECT_EQ(static_cast<size_t>(keep), d.Items(IDC_FID_LIST).size());
            d.Click(IDOK);
        });
        std::vector<StoredId> expected(five.begin() + (5 - keep), five.end());
        std::string section = CheckIdSection(expected);
        // What the file keeps beyond the new count, in place after it.
        const std::string old = CheckIdSection(five);
        const std::string tail = old.substr(old.find("FID" + std::to_string(keep) + "="));
        if (keep > 0) {
            section += tail;
        } else {
            section = "[CheckID]\r\nNum=0\r\n" + old.substr(old.find("FID0="));
        }
        EXPECT_EQ(section, Section(station.ReadJob(), "CheckID"));
    }
}
