// Helpers of the framework suite: in-memory dialog templates for test dialogs
// and pages (so the suite needs none of the product's templates), and a way
// to check that the operator driver refuses what a person could not do.
#ifndef SETUP_TESTS_UNIT_FRAMEWORK_TEST_SUPPORT_H
#define SETUP_TESTS_UNIT_FRAMEWORK_TEST_SUPPORT_H

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/templates/dialog_template.h"
#include "framework/winapi.h"

namespace fwtest {

// A dialog template built in code: a caption, a size in dialog units, a font
// and controls; every control is a visible child.
class TemplateBuilder {
public:
    static constexpr DWORD kDialogStyle =
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    static constexpr DWORD kPageStyle = WS_CHILD | WS_CAPTION | DS_SETFONT;

    TemplateBuilder(const std::string& caption, int cx, int cy, DWORD style = kDialogStyle) {
        m_template.style = style | DS_SETFONT;
        m_template.cx = static_cast<int16_t>(cx);
        m_template.cy = static_cast<int16_t>(cy);
        m_template.caption = fw::WideFromNarrow(caption);
        Font("MS Shell Dlg", 8);
    }

    TemplateBuilder& Font(const std::string& face, int pointSize) {
        m_template.SetFont(face, static_cast<uint16_t>(pointSize));
        return *this;
    }

    TemplateBuilder& Control(fw::ControlClass controlClass, int id, const std::string& text,
                             DWORD style, int x, int y, int cx, int cy) {
        fw::DialogItemTemplate item;
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = static_cast<int16_t>(x);
        item.y = static_cast<int16_t>(y);
        item.cx = static_cast<int16_t>(cx);
        item.cy = static_cast<int16_t>(cy);
        item.id = id;
        item.windowClass = fw::NameOrOrdinal::Ordinal(static_cast<uint16_t>(controlClass));
        item.title = fw::NameOrOrdinal::Name(fw::WideFromNarrow(text));
        m_template.items.push_back(item);
        return *this;
    }

    TemplateBuilder& Button(int id, const std::string& text, int x, int y,
                            DWORD style = BS_PUSHBUTTON | WS_TABSTOP) {
        return Control(fw::ControlClass::Button, id, text, style, x, y, 50, 14);
    }
    TemplateBuilder& DefButton(int id, const std::string& text, int x, int y) {
        return Button(id, text, x, y, BS_DEFPUSHBUTTON | WS_TABSTOP);
    }
    TemplateBuilder& Check(int id, const std::string& text, int x, int y, DWORD extra = 0) {
        return Control(fw::ControlClass::Button, id, text, BS_AUTOCHECKBOX | WS_TABSTOP | extra, x,
                       y, 80, 10);
    }
    // `first` starts a group: the radio buttons after it up to the next
    // group start belong together.
    TemplateBuilder& Radio(int id, const std::string& text, int x, int y, bool first = false) {
        return Control(fw::ControlClass::Button, id, text,
                       BS_AUTORADIOBUTTON | (first ? WS_GROUP | WS_TABSTOP : 0), x, y, 80, 10);
    }
    TemplateBuilder& Edit(int id, int x, int y, int cx, DWORD extra = 0) {
        return Control(fw::ControlClass::Edit, id, "",
                       ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | extra, x, y, cx, 12);
    }
    TemplateBuilder& Combo(int id, int x, int y, int cx, DWORD extra = 0) {
        return Control(fw::ControlClass::ComboBox, id, "",
                       CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | extra, x, y, cx, 80);
    }
    TemplateBuilder& List(int id, int x, int y, int cx, int cy, DWORD extra = 0) {
        return Control(fw::ControlClass::ListBox, id, "",
                       LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP | extra, x, y, cx, cy);
    }
    TemplateBuilder& Label(int id, const std::string& text, int x, int y, int cx, int cy,
                           DWORD extra = 0) {
        return Control(fw::ControlClass::Static, id, text, SS_LEFT | extra, x, y, cx, cy);
    }

    // A picture static showing the module's bitmap `bitmapId`, as the
    // templates in res/ name their swatch images.
    TemplateBuilder& Picture(int id, int bitmapId, int x, int y) {
        Control(fw::ControlClass::Static, id, "", SS_BITMAP, x, y, 12, 8);
        m_template.items.back().title = fw::NameOrOrdinal::Ordinal(static_cast<uint16_t>(bitmapId));
        return *this;
    }

    const fw::DialogTemplate& Template() const { return m_template; }

    // The serialized template; valid as long as the builder is.
    LPCDLGTEMPLATE Get() {
        m_bytes = m_template.Serialize();
        return reinterpret_cast<LPCDLGTEMPLATE>(m_bytes.data());
    }
    const std::vector<uint8_t>& Bytes() {
        Get();
        return m_bytes;
    }

private:
    fw::DialogTemplate m_template;
    std::vector<uint8_t> m_bytes;
};

// Initial list items of a dialog (DLGINIT data), as a template's resource
// holds them: for each item, the control ID, CB_ADDSTRING as the 16-bit
// message number, the length and the NUL-terminated text; a 0 word ends it.
inline std::vector<uint8_t> DlgInit(const std::vector<std::pair<int, std::string>>& items) {
    std::vector<uint8_t> bytes;
    auto word = [&bytes](uint32_t value) {
        bytes.push_back(static_cast<uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
    };
    for (const auto& item : items) {
        word(static_cast<uint32_t>(item.first));
        word(fw::kDlgInitComboBoxAddString);
        const uint32_t length = static_cast<uint32_t>(item.second.size() + 1);
        word(length & 0xFFFF);
        word(length >> 16);
        bytes.insert(bytes.end(), item.second.begin(), item.second.end());
        bytes.push_back(0);
    }
    word(0);
    return bytes;
}

// The failures `action` reports (ADD_FAILURE, EXPECT_...), kept from the
// test: for checking that the driver refuses an action.
inline std::vector<std::string> CaptureFailures(const std::function<void()>& action) {
    testing::TestPartResultArray results;
    {
        testing::ScopedFakeTestPartResultReporter reporter(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        action();
    }
    std::vector<std::string> failures;
    for (int i = 0; i < results.size(); ++i) {
        if (results.GetTestPartResult(i).failed()) {
            failures.push_back(results.GetTestPartResult(i).message());
        }
    }
    return failures;
}

// True when exactly one failure was reported and it mentions `text`.
inline ::testing::AssertionResult RefusedWith(const std::vector<std::string>& failures,
                                              const std::string& text) {
    if (failures.size() == 1 && failures[0].find(text) != std::string::npos) {
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    result << "expected one failure mentioning \"" << text << "\", got " << failures.size();
    for (const std::string& failure : failures) {
        result << "\n  " << failure;
    }
    return result;
}

}  // namespace fwtest

#endif
