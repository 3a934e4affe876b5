// Windows only: the dialog manager itself accepts the templates as the
// framework writes them back (both formats, after the sheet's font rewrite),
// creating every control with its class, text and font, and the bitmap
// statics with the module's bitmaps.
#if defined(_WIN32)

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/api.h"
#include "framework/templates/dialog_template.h"
#include "resource.h"

namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::string ClassOf(const fw::DialogItemTemplate& item) {
    switch (item.windowClass.ordinal.value_or(0)) {
        case 0x0080:
            return "Button";
        case 0x0081:
            return "Edit";
        case 0x0082:
            return "Static";
        case 0x0083:
            return "ListBox";
        case 0x0085:
            return "ComboBox";
        default:
            return fw::NarrowFromWide(item.windowClass.name);
    }
}

TEST(DialogTemplatesOnWindows, DialogManagerCreatesTheRewrittenTemplates) {
    HINSTANCE module = fw::api::ModuleInstance();
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                    module, nullptr);
    ASSERT_NE(nullptr, parent);
    for (uint16_t id :
         {IDD_FLASH_CHECK, IDD_FLASH_ID, IDD_PASSWORD, IDD_BIN, IDD_MODE, IDD_ADVANCED}) {
        for (fw::TemplateFormat format :
             {fw::TemplateFormat::Extended, fw::TemplateFormat::Classic}) {
            SCOPED_TRACE("dialog " + std::to_string(id) +
                         (format == fw::TemplateFormat::Classic ? " classic" : " extended"));
            std::optional<fw::DialogTemplate> dialog = fw::LoadDialogTemplate(id);
            ASSERT_TRUE(dialog.has_value());
            dialog->SetFont("Times New Roman", 8);
            std::vector<uint8_t> bytes = dialog->Serialize(format);

            // The wide function keeps the template's UTF-16 texts whatever the
            // ANSI code page (the narrow one passes them through it).
            HWND hwnd = ::CreateDialogIndirectParamW(
                module, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                (dialog->style & WS_CHILD) ? parent : nullptr, QuietDialogProc, 0);
            ASSERT_NE(nullptr, hwnd) << "error " << ::GetLastError();

            char text[256] = {};
            ::GetWindowTextA(hwnd, text, sizeof text);
            EXPECT_EQ(dialog->Caption(), text);
            LOGFONTA font = {};
            HFONT hfont = reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0));
            ASSERT_NE(nullptr, hfont);
            ::GetObjectA(hfont, sizeof font, &font);
            EXPECT_STREQ("Times New Roman", font.lfFaceName);

            for (const fw::DialogItemTemplate& item : dialog->items) {
                if (item.id == IDC_STATIC || item.id == 0xFFFF) {
                    continue;
                }
                SCOPED_TRACE(item.id);
                HWND control = ::GetDlgItem(hwnd, item.id);
                ASSERT_NE(nullptr, control);
                ::GetClassNameA(control, text, sizeof text);
                EXPECT_STRCASEEQ(ClassOf(item).c_str(), text);
                if (item.title.IsOrdinal()) {
                    // A bitmap static shows the module's bitmap, at its size.
                    HANDLE image = reinterpret_cast<HANDLE>(
                        ::SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
                    EXPECT_NE(nullptr, image);
                    std::optional<fw::Bitmap> bitmap = fw::LoadBitmapResource(*item.title.ordinal);
                    ASSERT_TRUE(bitmap.has_value());
                    RECT rect = {};
                    ::GetClientRect(control, &rect);
                    EXPECT_EQ(bitmap->width, rect.right);
                    EXPECT_EQ(bitmap->height, rect.bottom);
                } else if (!item.Is(fw::ControlClass::ComboBox)) {
                    wchar_t wide[256] = {};
                    ::GetWindowTextW(control, wide, 256);
                    EXPECT_TRUE(std::u16string(reinterpret_cast<const char16_t*>(wide)) ==
                                item.title.name);
                }
            }
            ::DestroyWindow(hwnd);
        }
    }
    ::DestroyWindow(parent);
}

}  // namespace

#endif
