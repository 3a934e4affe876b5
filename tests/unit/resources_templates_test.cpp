// The module's dialog templates, read as both backends read them (natively
// from the embedded .res bytes, on Windows through the module handle): what
// each template holds, the parse/serialize round trip, the font rewrite the
// property sheet relies on, and the rejection of malformed templates.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/templates/dialog_template.h"
#include "framework/templates/resources_reader.h"
#include "resource.h"

namespace {

using fw::ControlClass;
using fw::DialogItemTemplate;
using fw::DialogTemplate;

// Win32 style bits, spelled out so the test needs no platform header.
constexpr uint32_t kWsPopup = 0x80000000, kWsChild = 0x40000000, kWsVisible = 0x10000000,
                   kWsDisabled = 0x08000000, kWsCaption = 0x00C00000, kWsBorder = 0x00800000,
                   kWsVscroll = 0x00200000, kWsSysMenu = 0x00080000, kWsGroup = 0x00020000,
                   kWsTabStop = 0x00010000, kDsModalFrame = 0x80, kDsSetFont = 0x40;
constexpr uint32_t kBsTypeMask = 0x0F, kBsDefPushButton = 1, kBsAutoCheckBox = 3, kBsGroupBox = 7,
                   kBsAutoRadioButton = 9;
constexpr uint32_t kEsCenter = 1, kEsRight = 2, kEsMultiline = 4, kEsPassword = 0x20,
                   kEsAutoVscroll = 0x40, kEsAutoHscroll = 0x80, kEsReadOnly = 0x800,
                   kEsNumber = 0x2000;
constexpr uint32_t kSsTypeMask = 0x1F, kSsLeft = 0, kSsRight = 2, kSsBitmap = 0x0E,
                   kSsNotify = 0x100;
constexpr uint32_t kCbsTypeMask = 3, kCbsDropDown = 2, kCbsDropDownList = 3, kCbsSort = 0x100;
constexpr uint32_t kLbsNotify = 1, kLbsSort = 2, kLbsOwnerDrawFixed = 0x10, kLbsHasStrings = 0x40,
                   kLbsNoIntegralHeight = 0x100;

DialogTemplate Load(uint16_t id) {
    std::optional<DialogTemplate> dialog = fw::LoadDialogTemplate(id);
    EXPECT_TRUE(dialog.has_value()) << "dialog " << id;
    return dialog ? *dialog : DialogTemplate();
}

fw::ByteView Bytes(uint16_t id) {
    std::optional<fw::ByteView> bytes = fw::LoadResourceBytes(fw::ResourceType::Dialog, id);
    EXPECT_TRUE(bytes.has_value()) << "dialog " << id;
    return bytes ? *bytes : fw::ByteView();
}

const uint16_t kDialogs[] = {IDD_FLASH_CHECK, IDD_FLASH_ID, IDD_PASSWORD,
                             IDD_BIN,         IDD_MODE,     IDD_ADVANCED};

TEST(DialogTemplates, EveryTemplateHasItsFrameAndFont) {
    const struct {
        uint16_t id;
        bool popup;
        const char* caption;
        int16_t cx, cy;
        uint16_t pointSize;
        size_t items;
    } cases[] = {
        {IDD_FLASH_CHECK, false, "", 339, 145, 9, 21},
        {IDD_FLASH_ID, true, "Add FlashID", 203, 131, 9, 21},
        {IDD_PASSWORD, true, "PassWord", 138, 110, 10, 10},
        {IDD_BIN, false, "", 339, 145, 9, 116},
        {IDD_MODE, false, "", 339, 145, 9, 24},
        {IDD_ADVANCED, true, "", 249, 209, 8, 41},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        DialogTemplate dialog = Load(c.id);
        EXPECT_EQ(fw::TemplateFormat::Extended, dialog.format);
        EXPECT_EQ(c.caption, dialog.Caption());
        EXPECT_EQ(0, dialog.x);
        EXPECT_EQ(0, dialog.y);
        EXPECT_EQ(c.cx, dialog.cx);
        EXPECT_EQ(c.cy, dialog.cy);
        ASSERT_TRUE(dialog.font.has_value());
        EXPECT_NE(0u, dialog.style & kDsSetFont);
        EXPECT_EQ(c.pointSize, dialog.font->pointSize);
        EXPECT_EQ("Times New Roman", dialog.font->Face());
        EXPECT_FALSE(dialog.font->italic);
        EXPECT_TRUE(dialog.menu.IsNone());
        EXPECT_TRUE(dialog.windowClass.IsNone());
        EXPECT_EQ(c.items, dialog.items.size());
        if (c.popup) {
            EXPECT_EQ(
                kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame,
                dialog.style & (kWsPopup | kWsChild | kWsCaption | kWsSysMenu | kDsModalFrame));
        } else {
            EXPECT_EQ(kWsChild, dialog.style & (kWsPopup | kWsChild));
        }
    }
}

// One expectation about one control: its class, the style bits it must have
// and must not have, its rectangle when the layout is fixed, its text.
struct ControlCase {
    uint16_t dialog;
    int32_t id;
    ControlClass controlClass;
    uint32_t kind;  // the BS_/SS_/CBS_ type in the low bits, checked when the mask is set
    uint32_t kindMask;
    uint32_t required;
    uint32_t forbidden;
    int16_t x, y, cx, cy;  // x < 0: not checked
    const char* text;      // nullptr: not checked
};

void CheckControl(const ControlCase& c) {
    SCOPED_TRACE("dialog " + std::to_string(c.dialog) + " control " + std::to_string(c.id));
    DialogTemplate dialog = Load(c.dialog);
    const DialogItemTemplate* item = dialog.FindItem(c.id);
    ASSERT_NE(nullptr, item);
    EXPECT_TRUE(item->Is(c.controlClass)) << "class atom " << item->windowClass.ordinal.value_or(0);
    EXPECT_EQ(c.kind, item->style & c.kindMask);
    EXPECT_EQ(c.required | kWsChild, item->style & (c.required | kWsChild))
        << std::hex << "style 0x" << item->style;
    EXPECT_EQ(0u, item->style & c.forbidden) << std::hex << "style 0x" << item->style;
    if (c.x >= 0) {
        EXPECT_EQ(c.x, item->x);
        EXPECT_EQ(c.y, item->y);
        EXPECT_EQ(c.cx, item->cx);
        EXPECT_EQ(c.cy, item->cy);
    }
    if (c.text != nullptr) {
        EXPECT_EQ(c.text, item->Text());
    }
}

TEST(DialogTemplates, FlashCheckPageControls) {
    const uint32_t radio = kWsGroup | kWsTabStop;
    const ControlCase cases[] = {
        {IDD_FLASH_CHECK, IDC_CHECK_FLASH_GROUP, ControlClass::Button, kBsGroupBox, kBsTypeMask,
         kWsVisible, 0, 5, 1, 333, 73, "Check Flash"},
        {IDD_FLASH_CHECK, IDC_CHECK_FLASH_NAME, ControlClass::Button, kBsAutoRadioButton,
         kBsTypeMask, kWsVisible, radio, 9, 16, 72, 10, "Check Flash Name"},
        {IDD_FLASH_CHECK, IDC_CHECK_FLASH_ID, ControlClass::Button, kBsAutoRadioButton, kBsTypeMask,
         0, radio, 9, 33, 72, 10, "Check Flash ID"},
        {IDD_FLASH_CHECK, IDC_NOT_CHECK, ControlClass::Button, kBsAutoRadioButton, kBsTypeMask, 0,
         radio, 9, 51, 72, 10, "Not Check"},
        {IDD_FLASH_CHECK, IDC_FLASH_NAME, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask,
         kCbsSort | kWsVscroll, kWsDisabled, 87, 14, 186, 175, nullptr},
        {IDD_FLASH_CHECK, IDC_FLASH_ID_LIST, ControlClass::Edit, 0, 0,
         kEsReadOnly | kEsMultiline | kEsAutoVscroll | kEsAutoHscroll | kWsBorder, kWsDisabled, 87,
         30, 185, 38, nullptr},
        {IDD_FLASH_CHECK, IDC_ADD_MODIFY, ControlClass::Button, 0, kBsTypeMask, 0, 0, 277, 53, 50,
         14, "Add/Modify"},
        {IDD_FLASH_CHECK, IDC_CHECK_LED_SHORT, ControlClass::Button, kBsAutoCheckBox, kBsTypeMask,
         0, 0, 8, 86, 64, 10, "Check LED Short"},
        {IDD_FLASH_CHECK, IDC_WARMUP, ControlClass::Button, kBsAutoCheckBox, kBsTypeMask, 0, 0, 8,
         118, 61, 10, "WarmUp"},
        {IDD_FLASH_CHECK, IDC_LOOP_SELECT, ControlClass::ComboBox, kCbsDropDown, kCbsTypeMask,
         kCbsSort | kWsVscroll | kWsDisabled, 0, 181, 86, 48, 39, nullptr},
        {IDD_FLASH_CHECK, IDC_OPEN_SHORT_CE, ControlClass::ComboBox, kCbsDropDown, kCbsTypeMask,
         kCbsSort | kWsVscroll, kWsDisabled, 181, 106, 48, 61, nullptr},
        {IDD_FLASH_CHECK, IDC_LOOP_TIMES_LABEL, ControlClass::Static, kSsRight, kSsTypeMask, 0, 0,
         232, 86, 55, 8, "Read Loop Times"},
        {IDD_FLASH_CHECK, IDC_LOOP_TIMES, ControlClass::Edit, 0, 0,
         kEsNumber | kEsCenter | kWsDisabled, kEsAutoHscroll, 292, 85, 35, 12, nullptr},
        {IDD_FLASH_CHECK, IDC_LOOP_PAGE, ControlClass::Edit, 0, 0,
         kEsNumber | kEsCenter | kWsDisabled, 0, 292, 102, 35, 12, nullptr},
        {IDD_FLASH_CHECK, IDC_LOOP_BLOCK, ControlClass::Edit, 0, 0,
         kEsNumber | kEsCenter | kWsDisabled, 0, 292, 118, 35, 12, nullptr},
        {IDD_FLASH_CHECK, IDC_LOOP_BLOCK_LABEL, ControlClass::Static, kSsRight, kSsTypeMask, 0, 0,
         237, 119, 51, 8, nullptr},
    };
    for (const ControlCase& c : cases) {
        CheckControl(c);
    }
    // The two unnamed controls keep their template captions.
    DialogTemplate dialog = Load(IDD_FLASH_CHECK);
    std::vector<std::string> unnamed;
    for (const DialogItemTemplate& item : dialog.items) {
        if (item.id == IDC_STATIC) {
            unnamed.push_back(item.Text());
        }
    }
    EXPECT_EQ((std::vector<std::string>{"Test Flash", "Open/Short CE"}), unnamed);
}

TEST(DialogTemplates, FlashIdEditorControls) {
    const ControlCase cases[] = {
        {IDD_FLASH_ID, 1, ControlClass::Button, kBsDefPushButton, kBsTypeMask, kWsTabStop, 0, 31,
         103, 50, 14, "OK"},
        {IDD_FLASH_ID, 2, ControlClass::Button, 0, kBsTypeMask, kWsTabStop, 0, 96, 103, 50, 14,
         "Cancel"},
        {IDD_FLASH_ID, IDC_FID_LIST, ControlClass::ListBox, 0, 0,
         kLbsOwnerDrawFixed | kLbsNotify | kLbsNoIntegralHeight | kWsVscroll | kWsBorder |
             kWsTabStop | kWsVisible,
         kLbsHasStrings | kLbsSort, 7, 7, 120, 70, nullptr},
        {IDD_FLASH_ID, IDC_FID_COLOR_NAMES, ControlClass::ListBox, 0, 0,
         kLbsHasStrings | kLbsNotify | kLbsNoIntegralHeight | kWsVscroll | kWsBorder,
         kWsVisible | kLbsSort | kLbsOwnerDrawFixed, 177, 18, 15, 21, nullptr},
        {IDD_FLASH_ID, IDC_FID_BYTE1, ControlClass::Edit, 0, 0,
         kEsAutoHscroll | kWsBorder | kWsTabStop, 0, 15, 82, 17, 12, nullptr},
        {IDD_FLASH_ID, IDC_FID_BYTE4, ControlClass::Edit, 0, 0,
         kEsAutoHscroll | kWsBorder | kWsTabStop, 0, 97, 82, 17, 12, nullptr},
        {IDD_FLASH_ID, IDC_FID_BYTE6, ControlClass::Edit, 0, 0,
         kEsAutoHscroll | kWsBorder | kWsTabStop, 0, 151, 82, 17, 12, nullptr},
        {IDD_FLASH_ID, IDC_FID_ADD, ControlClass::Button, 0, kBsTypeMask, 0, 0, 137, 14, 50, 14,
         "Add"},
        {IDD_FLASH_ID, IDC_FID_DELETE, ControlClass::Button, 0, kBsTypeMask, 0, 0, 137, 36, 50, 14,
         "Delete"},
        {IDD_FLASH_ID, IDC_FID_COLOR_NAME, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask,
         kWsVscroll, kWsVisible | kCbsSort, 152, 103, 16, 76, nullptr},
        {IDD_FLASH_ID, IDC_FID_SWATCH, ControlClass::Static, kSsBitmap, kSsTypeMask,
         kSsNotify | kWsVisible, 0, 163, 59, 20, 10, nullptr},
    };
    for (const ControlCase& c : cases) {
        CheckControl(c);
    }
    DialogTemplate dialog = Load(IDD_FLASH_ID);
    EXPECT_EQ(fw::NameOrOrdinal::Ordinal(IDB_COLOR_SWATCH), dialog.FindItem(IDC_FID_SWATCH)->title);
    // A "0x" label in front of each of the six byte edits, byte 1 leftmost.
    std::vector<int16_t> labelX, editX;
    for (size_t i = 1; i < dialog.items.size(); ++i) {
        const DialogItemTemplate& item = dialog.items[i];
        if (item.id >= IDC_FID_BYTE1 && item.id <= IDC_FID_BYTE6) {
            const DialogItemTemplate& before = dialog.items[i - 1];
            EXPECT_EQ("0x", before.Text());
            EXPECT_EQ(84, before.y);
            EXPECT_EQ(8, before.cx);
            EXPECT_EQ(IDC_FID_BYTE1 + static_cast<int32_t>(editX.size()), item.id);
            labelX.push_back(before.x);
            editX.push_back(item.x);
        }
    }
    EXPECT_EQ((std::vector<int16_t>{7, 34, 61, 88, 115, 142}), labelX);
    EXPECT_EQ((std::vector<int16_t>{15, 42, 69, 97, 124, 151}), editX);
}

TEST(DialogTemplates, PasswordDialogControls) {
    const ControlCase cases[] = {
        {IDD_PASSWORD, 1, ControlClass::Button, kBsDefPushButton, kBsTypeMask, 0, 0, -1, 0, 0, 0,
         "OK"},
        {IDD_PASSWORD, 2, ControlClass::Button, 0, kBsTypeMask, 0, 0, -1, 0, 0, 0, "Cancel"},
        {IDD_PASSWORD, IDC_CHANGE_PASSWORD, ControlClass::Button, kBsAutoCheckBox, kBsTypeMask, 0,
         kWsDisabled, -1, 0, 0, 0, "Change Password"},
        {IDD_PASSWORD, IDC_PASSWORD_LABEL, ControlClass::Static, kSsLeft, kSsTypeMask, 0,
         kWsDisabled, -1, 0, 0, 0, "Password:"},
        {IDD_PASSWORD, IDC_PASSWORD, ControlClass::Edit, 0, 0,
         kEsPassword | kEsAutoHscroll | kWsVisible | kWsTabStop, kWsDisabled, -1, 0, 0, 0, ""},
        {IDD_PASSWORD, IDC_NEW_PASSWORD_LABEL, ControlClass::Static, kSsLeft, kSsTypeMask,
         kWsDisabled, 0, -1, 0, 0, 0, "New Pwd:"},
        {IDD_PASSWORD, IDC_NEW_PASSWORD, ControlClass::Edit, 0, 0, kEsPassword | kWsDisabled, 0, -1,
         0, 0, 0, ""},
        {IDD_PASSWORD, IDC_CHECK_PASSWORD_LABEL, ControlClass::Static, kSsLeft, kSsTypeMask,
         kWsDisabled, 0, -1, 0, 0, 0, "Check Pwd:"},
        {IDD_PASSWORD, IDC_CHECK_PASSWORD, ControlClass::Edit, 0, 0, kEsPassword | kWsDisabled, 0,
         -1, 0, 0, 0, ""},
        {IDD_PASSWORD, IDC_REMEMBER_PASSWORD, ControlClass::Button, kBsAutoCheckBox, kBsTypeMask, 0,
         kWsDisabled, -1, 0, 0, 0, "Remember Password"},
    };
    for (const ControlCase& c : cases) {
        CheckControl(c);
    }
    // Every control lies inside the dialog.
    DialogTemplate dialog = Load(IDD_PASSWORD);
    for (const DialogItemTemplate& item : dialog.items) {
        EXPECT_LE(item.x + item.cx, dialog.cx) << item.id;
        EXPECT_LE(item.y + item.cy, dialog.cy) << item.id;
    }
}

TEST(DialogTemplates, BinPageControls) {
    const ControlCase cases[] = {
        {IDD_BIN, IDC_BIN_CHECK_ENABLE, ControlClass::Button, kBsAutoCheckBox, kBsTypeMask, 0, 0,
         -1, 0, 0, 0, "Bin Check Enable"},
        {IDD_BIN, IDC_COLOR_VERIFY, ControlClass::Button, kBsAutoCheckBox, kBsTypeMask, 0, 0, -1, 0,
         0, 0, "Color Verfy"},
        {IDD_BIN, IDC_STAND_BIN, ControlClass::Button, kBsAutoCheckBox, kBsTypeMask, 0, 0, -1, 0, 0,
         0, "Stan Bin"},
        {IDD_BIN, IDC_U3_BIN_GROUP, ControlClass::Button, kBsGroupBox, kBsTypeMask, 0, 0, -1, 0, 0,
         0, "U3/SSD Bin"},
        {IDD_BIN, IDC_ENHANCE_CHECK, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask, 0,
         kCbsSort, -1, 0, 0, 0, nullptr},
        {IDD_BIN, IDC_BG_SWATCH, ControlClass::Static, kSsBitmap, kSsTypeMask, kSsNotify, 0, -1, 0,
         0, 0, nullptr},
        {IDD_BIN, IDC_SHOW_U3_BIN, ControlClass::Button, kBsAutoCheckBox, kBsTypeMask, 0, 0, -1, 0,
         0, 0, "Show U3 Bin"},
        {IDD_BIN, IDC_SSD_BIN_THRESHOLD, ControlClass::Edit, 0, 0, kEsNumber, kWsDisabled, -1, 0, 0,
         0, nullptr},
        {IDD_BIN, IDC_SSD_BIN_SWATCH, ControlClass::Static, kSsBitmap, kSsTypeMask, kSsNotify, 0,
         -1, 0, 0, 0, nullptr},
        {IDD_BIN, IDC_SSD_BIN2_LABEL, ControlClass::Static, kSsLeft, kSsTypeMask, kWsDisabled, 0,
         -1, 0, 0, 0, "SSD"},
        {IDD_BIN, IDC_SSD_BIN2_THRESHOLD, ControlClass::Edit, 0, 0, kEsNumber | kWsDisabled, 0, -1,
         0, 0, 0, nullptr},
        {IDD_BIN, IDC_SSD_BIN2_UNIT, ControlClass::Static, kSsLeft, kSsTypeMask, kWsDisabled, 0, -1,
         0, 0, 0, "M"},
    };
    for (const ControlCase& c : cases) {
        CheckControl(c);
    }
    DialogTemplate dialog = Load(IDD_BIN);
    for (int bin = 1; bin <= 16; ++bin) {
        SCOPED_TRACE(bin);
        const DialogItemTemplate* label = dialog.FindItem(IDC_BIN_LABEL1 + bin - 1);
        const DialogItemTemplate* edit = dialog.FindItem(IDC_BIN_THRESHOLD1 + bin - 1);
        const DialogItemTemplate* unit = dialog.FindItem(IDC_BIN_UNIT1 + bin - 1);
        const DialogItemTemplate* swatch = dialog.FindItem(IDC_BIN_SWATCH1 + bin - 1);
        ASSERT_TRUE(label && edit && unit && swatch);
        EXPECT_EQ("Bin " + std::to_string(bin), label->Text());
        EXPECT_EQ(kEsNumber | kEsCenter | kWsBorder,
                  edit->style & (kEsNumber | kEsCenter | kWsBorder));
        EXPECT_EQ(0u, edit->style & kWsDisabled);
        EXPECT_EQ("M", unit->Text());
        EXPECT_EQ(kSsBitmap, swatch->style & kSsTypeMask);
        EXPECT_NE(0u, swatch->style & kSsNotify);
        EXPECT_EQ(fw::NameOrOrdinal::Ordinal(IDB_BIN_SWATCH), swatch->title);
    }
    for (int bin = 1; bin <= 8; ++bin) {
        SCOPED_TRACE(bin);
        ASSERT_NE(nullptr, dialog.FindItem(IDC_U3_BIN_LABEL1 + bin - 1));
        EXPECT_EQ("Bin " + std::to_string(bin),
                  dialog.FindItem(IDC_U3_BIN_LABEL1 + bin - 1)->Text());
        ASSERT_NE(nullptr, dialog.FindItem(IDC_U3_BIN_THRESHOLD1 + bin - 1));
        EXPECT_NE(0u, dialog.FindItem(IDC_U3_BIN_THRESHOLD1 + bin - 1)->style & kEsNumber);
        ASSERT_NE(nullptr, dialog.FindItem(IDC_U3_BIN_UNIT1 + bin - 1));
        ASSERT_NE(nullptr, dialog.FindItem(IDC_U3_BIN_SWATCH1 + bin - 1));
        EXPECT_EQ(fw::NameOrOrdinal::Ordinal(IDB_BIN_SWATCH),
                  dialog.FindItem(IDC_U3_BIN_SWATCH1 + bin - 1)->title);
    }
    // The swatch click range 1208 to 1218 has no control 1217.
    EXPECT_EQ(nullptr, dialog.FindItem(1217));
    // No two controls share an ID, and all lie inside the page.
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        const DialogItemTemplate& item = dialog.items[i];
        EXPECT_LE(item.x + item.cx, dialog.cx) << item.id;
        EXPECT_LE(item.y + item.cy, dialog.cy) << item.id;
        for (size_t k = i + 1; k < dialog.items.size() && item.id != IDC_STATIC; ++k) {
            EXPECT_NE(item.id, dialog.items[k].id);
        }
    }
}

TEST(DialogTemplates, ModePageControls) {
    const uint32_t radio = kWsGroup | kWsTabStop;
    const ControlCase cases[] = {
        {IDD_MODE, IDC_FLASH_LIST_GROUP, ControlClass::Button, kBsGroupBox, kBsTypeMask, 0, 0, 5, 1,
         333, 66, "Flash List"},
        {IDD_MODE, IDC_CONTROLLER_LABEL, ControlClass::Static, kSsRight, kSsTypeMask, 0, 0, 10, 15,
         41, 8, "Controller"},
        {IDD_MODE, IDC_CONTROLLER, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask,
         kWsVscroll, kCbsSort, 58, 13, 70, 70, nullptr},
        {IDD_MODE, IDC_DRIVING_LEVEL_LABEL, ControlClass::Static, kSsRight, kSsTypeMask, 0, 0, 156,
         15, 28, 8, "Driving"},
        {IDD_MODE, IDC_DRIVING_LEVEL, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask,
         kWsVscroll, kCbsSort, 189, 13, 44, 51, nullptr},
        {IDD_MODE, IDC_FLASH_TYPE, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask,
         kWsVscroll | kCbsSort, 0, 58, 30, 175, 138, nullptr},
        {IDD_MODE, IDC_UNAUTO_CHECK, ControlClass::Button, kBsAutoCheckBox, kBsTypeMask, 0, 0, 249,
         31, 80, 10, "UnAutoCheck"},
        {IDD_MODE, IDC_FLASH_NUM, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask,
         kWsVscroll, kCbsSort, 58, 48, 27, 51, nullptr},
        {IDD_MODE, IDC_CHANNEL, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask, kWsVscroll,
         kCbsSort, 121, 48, 44, 75, nullptr},
        {IDD_MODE, IDC_RW_CYCLE_LABEL, ControlClass::Static, kSsRight, kSsTypeMask, 0, 0, 172, 50,
         50, 8, "RW Cycle Time"},
        {IDD_MODE, IDC_RW_CYCLE, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask, kWsVscroll,
         kCbsSort, 225, 48, 51, 62, nullptr},
        {IDD_MODE, IDC_TEST_MODE_GROUP, ControlClass::Button, kBsGroupBox, kBsTypeMask, 0, 0, 5, 70,
         275, 71, "Test Mode"},
        {IDD_MODE, IDC_TRAFFIC_LIGHT, ControlClass::Button, kBsAutoRadioButton, kBsTypeMask, 0,
         radio, 14, 84, 91, 10, nullptr},
        {IDD_MODE, IDC_FAST_TEST, ControlClass::Button, kBsAutoRadioButton, kBsTypeMask, 0, radio,
         14, 104, 71, 10, nullptr},
        {IDD_MODE, IDC_OPEN_SHORT_TEST, ControlClass::Button, kBsAutoRadioButton, kBsTypeMask, 0,
         radio, 14, 124, 76, 10, nullptr},
        {IDD_MODE, IDC_TEST_CASE, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask,
         kWsVscroll, kCbsSort, 126, 102, 60, 51, nullptr},
        {IDD_MODE, IDC_ECC_LABEL, ControlClass::Static, kSsRight, kSsTypeMask, 0, 0, 193, 104, 19,
         8, "ECC"},
        {IDD_MODE, IDC_ECC, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask, kWsVscroll,
         kCbsSort, 215, 102, 50, 102, nullptr},
        {IDD_MODE, IDC_ADVANCED, ControlClass::Button, 0, kBsTypeMask, 0, 0, 291, 88, 48, 17,
         nullptr},
        {IDD_MODE, IDC_RESTORE_DEFAULTS, ControlClass::Button, 0, kBsTypeMask, 0, 0, 291, 118, 48,
         16, nullptr},
    };
    for (const ControlCase& c : cases) {
        CheckControl(c);
    }
    // The Chinese captions are UTF-16 text in the compiled template.
    DialogTemplate dialog = Load(IDD_MODE);
    const struct {
        int32_t id;
        std::u16string caption;
    } captions[] = {
        {IDC_TRAFFIC_LIGHT, u"红绿灯扫描"},
        {IDC_FAST_TEST, u"容量检测"},
        {IDC_OPEN_SHORT_TEST, u"Open/Short 检测"},
        {IDC_TEST_CASE_LABEL, u"检测方式"},
        {IDC_ADVANCED, u"高级设定"},
        {IDC_RESTORE_DEFAULTS, u"恢复默认"},
    };
    for (const auto& c : captions) {
        ASSERT_NE(nullptr, dialog.FindItem(c.id));
        EXPECT_TRUE(dialog.FindItem(c.id)->title.name == c.caption) << c.id;
    }
}

TEST(DialogTemplates, AdvancedDialogControls) {
    const ControlCase cases[] = {
        {IDD_ADVANCED, IDC_EXTRA_GROUP, ControlClass::Button, kBsGroupBox, kBsTypeMask, 0, 0, 5, 2,
         240, 181, "Extra"},
        {IDD_ADVANCED, IDC_HUB_PORT_STYLE_LABEL, ControlClass::Static, kSsLeft, kSsTypeMask, 0, 0,
         16, 16, 49, 8, "FixPort"},
        {IDD_ADVANCED, IDC_HUB_PORT_STYLE, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask,
         kWsVscroll, kCbsSort, 69, 14, 59, 61, nullptr},
        {IDD_ADVANCED, IDC_SUM19NM_FEATURE, ControlClass::Button, kBsAutoCheckBox, kBsTypeMask, 0,
         0, 15, 82, 102, 10, "Set Sumsung 19nm Feature"},
        {IDD_ADVANCED, IDC_MIN_CAP, ControlClass::Edit, 0, 0, kEsNumber | kEsCenter | kWsDisabled,
         0, 78, 122, 32, 12, nullptr},
        {IDD_ADVANCED, IDC_FIXED_CAPABILITY, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask,
         kWsVscroll | kWsDisabled, kCbsSort, 89, 137, 29, 67, nullptr},
        {IDD_ADVANCED, IDC_UI_TYPE, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask,
         kWsVscroll, kCbsSort | kWsDisabled, 51, 152, 67, 72, nullptr},
        {IDD_ADVANCED, IDC_AUTO_MP_TIMER, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask,
         kWsVscroll, kCbsSort, 192, 30, 42, 61, nullptr},
        {IDD_ADVANCED, IDC_GPI, ControlClass::ComboBox, kCbsDropDownList, kCbsTypeMask, kWsVscroll,
         kCbsSort, 192, 147, 42, 72, nullptr},
        {IDD_ADVANCED, IDC_HUB_VID_PID_LABEL, ControlClass::Static, kSsLeft, kSsTypeMask,
         kWsVisible, 0, 5, 189, 36, 8, "Hub_VidPid"},
        {IDD_ADVANCED, IDC_HUB_VID_PID, ControlClass::Edit, 0, 0, kEsAutoHscroll | kWsVisible,
         kEsNumber, 50, 186, 66, 14, nullptr},
        // No default push button: Enter with no button focused is the standard OK (1).
        {IDD_ADVANCED, IDC_ADVANCED_OK, ControlClass::Button, 0, kBsTypeMask, 0, 0, 127, 186, 50,
         14, "OK"},
        {IDD_ADVANCED, IDC_ADVANCED_CANCEL, ControlClass::Button, 0, kBsTypeMask, 0, 0, 189, 186,
         50, 14, "Cancel"},
    };
    for (const ControlCase& c : cases) {
        CheckControl(c);
    }
    DialogTemplate dialog = Load(IDD_ADVANCED);
    EXPECT_EQ(u"", dialog.caption);
    EXPECT_EQ(nullptr, dialog.FindItem(1));
    EXPECT_EQ(nullptr, dialog.FindItem(2));
}

TEST(DialogTemplates, RoundTripKeepsEveryByte) {
    for (uint16_t id : kDialogs) {
        SCOPED_TRACE(id);
        fw::ByteView original = Bytes(id);
        std::optional<DialogTemplate> parsed = fw::ParseDialogTemplate(original);
        ASSERT_TRUE(parsed.has_value());
        std::vector<uint8_t> written = parsed->Serialize();
        EXPECT_EQ(std::vector<uint8_t>(original.begin(), original.end()), written);

        // The classic form keeps everything it can hold.
        std::optional<DialogTemplate> classic =
            fw::ParseDialogTemplate(parsed->Serialize(fw::TemplateFormat::Classic));
        ASSERT_TRUE(classic.has_value());
        EXPECT_EQ(fw::TemplateFormat::Classic, classic->format);
        EXPECT_EQ(parsed->style, classic->style);
        EXPECT_EQ(parsed->caption, classic->caption);
        EXPECT_EQ(parsed->font->pointSize, classic->font->pointSize);
        EXPECT_EQ(parsed->font->face, classic->font->face);
        ASSERT_EQ(parsed->items.size(), classic->items.size());
        for (size_t i = 0; i < parsed->items.size(); ++i) {
            const DialogItemTemplate& a = parsed->items[i];
            const DialogItemTemplate& b = classic->items[i];
            EXPECT_EQ(a.style, b.style);
            EXPECT_EQ(a.id & 0xFFFF, b.id);
            EXPECT_EQ(a.windowClass, b.windowClass);
            EXPECT_EQ(a.title, b.title);
            EXPECT_EQ(a.x, b.x);
            EXPECT_EQ(a.cy, b.cy);
        }
    }
}

TEST(DialogTemplates, SetFontRewritesTheFontAndKeepsTheRest) {
    for (uint16_t id : kDialogs) {
        SCOPED_TRACE(id);
        DialogTemplate dialog = Load(id);
        DialogTemplate rewritten = dialog;
        rewritten.SetFont("Arial", 12);
        std::optional<DialogTemplate> reparsed = fw::ParseDialogTemplate(rewritten.Serialize());
        ASSERT_TRUE(reparsed.has_value());
        EXPECT_EQ("Arial", reparsed->font->Face());
        EXPECT_EQ(12, reparsed->font->pointSize);
        EXPECT_EQ(dialog.font->weight, reparsed->font->weight);
        EXPECT_EQ(dialog.font->charset, reparsed->font->charset);
        EXPECT_EQ(dialog.style, reparsed->style);
        ASSERT_EQ(dialog.items.size(), reparsed->items.size());
        for (size_t i = 0; i < dialog.items.size(); ++i) {
            EXPECT_EQ(dialog.items[i].id, reparsed->items[i].id);
            EXPECT_EQ(dialog.items[i].style, reparsed->items[i].style);
            EXPECT_EQ(dialog.items[i].title, reparsed->items[i].title);
        }
        // And back: the sheet's font on the template gives the original bytes
        // only where the template already had it.
        reparsed->SetFont("Times New Roman", dialog.font->pointSize);
        fw::ByteView original = Bytes(id);
        EXPECT_EQ(std::vector<uint8_t>(original.begin(), original.end()), reparsed->Serialize());
    }
}

// A classic template as the platform's own sheet template is written: a short
// face name, so the sheet's face makes it longer and moves every item.
std::vector<uint8_t> ClassicSheetTemplate(bool withFont) {
    DialogTemplate sheet;
    sheet.format = fw::TemplateFormat::Classic;
    sheet.style = kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame;
    sheet.cx = 220;
    sheet.cy = 140;
    sheet.caption = u"Properties";
    if (withFont) {
        sheet.SetFont("Tahoma", 8);
    }
    const struct {
        int32_t id;
        const char16_t* text;
        ControlClass controlClass;
    } items[] = {{1, u"OK", ControlClass::Button},
                 {2, u"Cancel", ControlClass::Button},
                 {12321, u"&Apply", ControlClass::Button},
                 {9, u"Help", ControlClass::Button}};
    int16_t x = 4;
    for (const auto& i : items) {
        DialogItemTemplate item;
        item.id = i.id;
        item.style = kWsChild | kWsVisible | kWsTabStop;
        item.x = x;
        item.y = 120;
        item.cx = 50;
        item.cy = 14;
        item.windowClass = fw::NameOrOrdinal::Ordinal(static_cast<uint16_t>(i.controlClass));
        item.title = fw::NameOrOrdinal::Name(i.text);
        sheet.items.push_back(item);
        x = static_cast<int16_t>(x + 54);
    }
    // A control of a registered class, named by string, with creation data.
    DialogItemTemplate tab;
    tab.id = 12320;
    tab.style = kWsChild | kWsVisible;
    tab.cx = 212;
    tab.cy = 110;
    tab.windowClass = fw::NameOrOrdinal::Name(u"SysTabControl32");
    tab.creationData = {1, 2, 3};
    sheet.items.push_back(tab);
    return sheet.Serialize(fw::TemplateFormat::Classic);
}

TEST(DialogTemplates, SetFontOnAClassicTemplateGrowsIt) {
    for (bool withFont : {true, false}) {
        SCOPED_TRACE(withFont);
        std::vector<uint8_t> bytes = ClassicSheetTemplate(withFont);
        size_t used = 0;
        std::optional<DialogTemplate> sheet = fw::ParseDialogTemplate(bytes, &used);
        ASSERT_TRUE(sheet.has_value());
        EXPECT_EQ(bytes.size(), used);
        EXPECT_EQ(fw::TemplateFormat::Classic, sheet->format);
        EXPECT_EQ(withFont, sheet->font.has_value());
        EXPECT_EQ(withFont, (sheet->style & kDsSetFont) != 0);

        sheet->SetFont("Times New Roman", 8);
        std::vector<uint8_t> rewritten = sheet->Serialize(sheet->format);
        EXPECT_GT(rewritten.size(), bytes.size());
        std::optional<DialogTemplate> reparsed = fw::ParseDialogTemplate(rewritten);
        ASSERT_TRUE(reparsed.has_value());
        EXPECT_NE(0u, reparsed->style & kDsSetFont);
        EXPECT_EQ("Times New Roman", reparsed->font->Face());
        EXPECT_EQ(8, reparsed->font->pointSize);
        EXPECT_EQ(0, reparsed->font->weight);   // classic templates: FW_DONTCARE
        EXPECT_EQ(1, reparsed->font->charset);  // DEFAULT_CHARSET
        EXPECT_EQ("Properties", reparsed->Caption());
        ASSERT_EQ(5u, reparsed->items.size());
        EXPECT_EQ(12321, reparsed->items[2].id);
        EXPECT_EQ("&Apply", reparsed->items[2].Text());
        EXPECT_EQ(fw::NameOrOrdinal::Name(u"SysTabControl32"), reparsed->items[4].windowClass);
        EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), reparsed->items[4].creationData);
    }
}

TEST(DialogTemplates, MessageBoxFontHasNoFaceFields) {
    // DS_SETFONT with point size 0x7FFF: the font is the system's message-box
    // font and the template carries nothing more.
    DialogTemplate dialog;
    dialog.style = kWsPopup | kDsSetFont;
    dialog.caption = u"X";
    dialog.font = fw::DialogFont();
    dialog.font->pointSize = fw::kMessageBoxFontPointSize;
    DialogItemTemplate item;
    item.id = 7;
    item.windowClass = fw::NameOrOrdinal::Ordinal(0x0082);
    dialog.items.push_back(item);
    for (fw::TemplateFormat format : {fw::TemplateFormat::Classic, fw::TemplateFormat::Extended}) {
        std::vector<uint8_t> bytes = dialog.Serialize(format);
        std::optional<DialogTemplate> parsed = fw::ParseDialogTemplate(bytes);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(fw::kMessageBoxFontPointSize, parsed->font->pointSize);
        EXPECT_TRUE(parsed->font->face.empty());
        ASSERT_EQ(1u, parsed->items.size());
        EXPECT_EQ(7, parsed->items[0].id);

        parsed->SetFont("Times New Roman", 8);
        std::optional<DialogTemplate> rewritten =
            fw::ParseDialogTemplate(parsed->Serialize(format));
        ASSERT_TRUE(rewritten.has_value());
        EXPECT_EQ("Times New Roman", rewritten->font->Face());
        EXPECT_EQ(7, rewritten->items[0].id);
    }
}

TEST(DialogTemplates, EveryTruncationIsRejected) {
    std::vector<std::vector<uint8_t>> templates;
    for (uint16_t id : kDialogs) {
        fw::ByteView bytes = Bytes(id);
        templates.emplace_back(bytes.begin(), bytes.end());
    }
    templates.push_back(ClassicSheetTemplate(true));
    for (const std::vector<uint8_t>& bytes : templates) {
        for (size_t length = 0; length < bytes.size(); ++length) {
            // An exact-size copy, so that a read past the end is a fault the
            // sanitizer reports.
            std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + length);
            EXPECT_FALSE(fw::ParseDialogTemplate(cut).has_value())
                << "a template of " << bytes.size() << " bytes cut to " << length;
        }
    }
}

TEST(DialogTemplates, MalformedTemplatesAreRejected) {
    std::vector<uint8_t> password;
    {
        fw::ByteView bytes = Bytes(IDD_PASSWORD);
        password.assign(bytes.begin(), bytes.end());
    }
    // More items than the template holds.
    std::vector<uint8_t> moreItems = password;
    moreItems[16] = static_cast<uint8_t>(moreItems[16] + 1);
    EXPECT_FALSE(fw::ParseDialogTemplate(moreItems).has_value());
    std::vector<uint8_t> manyItems = password;
    manyItems[16] = 0xFF;
    manyItems[17] = 0xFF;
    EXPECT_FALSE(fw::ParseDialogTemplate(manyItems).has_value());
    // A name with no terminator before the end.
    std::vector<uint8_t> unterminated = {0, 0, 0, 0x80, 0, 0, 0, 0, 0,   0, 0,   0,
                                         0, 0, 0, 0,    0, 0, 0, 0, 'A', 0, 'B', 0};
    EXPECT_FALSE(fw::ParseDialogTemplate(unterminated).has_value());
    // An item whose creation data runs past the end.
    std::vector<uint8_t> sheet = ClassicSheetTemplate(true);
    sheet[sheet.size() - 5] = 0x40;  // the tab control's creation-data count
    EXPECT_FALSE(fw::ParseDialogTemplate(sheet).has_value());
    // Trailing bytes after the last item are not part of the template.
    std::vector<uint8_t> padded = password;
    padded.insert(padded.end(), {0, 0, 0xCC, 0xCC});
    size_t used = 0;
    ASSERT_TRUE(fw::ParseDialogTemplate(padded, &used).has_value());
    EXPECT_EQ(password.size(), used);
}

}  // namespace
