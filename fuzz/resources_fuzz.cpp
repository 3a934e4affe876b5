// The resource reader the headless backend builds its dialogs from, on any
// bytes (the seeds are the module's own compiled templates): the .res file
// split, dialog templates, DLGINIT data and bitmaps. Nothing is read outside
// the bytes; a template that parses writes out and parses back to the same
// bytes, in both formats and with the sheet's font rewrite; and the headless
// backend creates a dialog from it and, destroyed, leaves no window or GDI
// object behind.
//
// Input: the bytes, tried as each of the formats.
#include <cstring>
#include <string>
#include <vector>

#include "framework/api.h"
#include "framework/templates/dialog_template.h"
#include "framework/headless/headless.h"
#include "framework/templates/resources.h"
#include "fuzz_support.h"

namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    return fuzz::Printable(std::string(bytes.begin(), bytes.end()));
}

void CheckRoundTrip(const fw::DialogTemplate& parsed, fw::TemplateFormat format) {
    const std::vector<uint8_t> written = parsed.Serialize(format);
    size_t used = 0;
    std::optional<fw::DialogTemplate> again = fw::ParseDialogTemplate(written, &used);
    FUZZ_CHECK(again.has_value(), "a written template does not parse: " + Hex(written));
    FUZZ_CHECK(used <= written.size(), "the template read past its bytes");
    FUZZ_CHECK(again->Serialize(format) == written,
               "a written template reads back otherwise: " + Hex(written));
    FUZZ_CHECK(again->items.size() == parsed.items.size(), "items lost in writing");
}

// The dialog made from the template's own bytes, in a buffer of exactly
// their size (as DWORD-aligned as the dialog manager wants them).
void CreateAndDestroy(const uint8_t* bytes, size_t size) {
    std::vector<uint32_t> aligned((size + 3) / 4);
    std::memcpy(aligned.data(), bytes, size);
    const size_t windows = fw::headless::LiveWindows();
    const size_t objects = fw::headless::LiveGdiObjects();
    HWND dialog = fw::api::CreateDialogIndirectParam(
        fw::api::ModuleInstance(), reinterpret_cast<LPCDLGTEMPLATE>(aligned.data()), nullptr,
        QuietProc, 0);
    if (dialog != nullptr) {
        fw::api::DestroyWindow(dialog);
    }
    FUZZ_CHECK(fw::headless::LiveWindows() == windows, "a destroyed dialog left windows");
    FUZZ_CHECK(fw::headless::LiveGdiObjects() == objects, "a destroyed dialog left GDI objects");
}

void TryTemplate(fw::ByteView bytes) {
    size_t used = 0;
    std::optional<fw::DialogTemplate> parsed = fw::ParseDialogTemplate(bytes, &used);
    if (!parsed) {
        return;
    }
    FUZZ_CHECK(used <= bytes.size, "a template said it used more bytes than it had");
    FUZZ_CHECK(parsed->font.has_value() == ((parsed->style & fw::kDialogStyleSetFont) != 0),
               "a font without DS_SETFONT, or the other way round");
    CheckRoundTrip(*parsed, fw::TemplateFormat::Extended);
    CheckRoundTrip(*parsed, fw::TemplateFormat::Classic);

    fw::DialogTemplate rewritten = *parsed;
    rewritten.SetFont("Times New Roman", 8);
    CheckRoundTrip(rewritten, fw::TemplateFormat::Extended);
    FUZZ_CHECK(rewritten.font && rewritten.font->Face() == "Times New Roman" &&
                   rewritten.font->pointSize == 8,
               "the font rewrite did not take");

    CreateAndDestroy(bytes.data, used);
}

void TryDlgInit(fw::ByteView bytes) {
    if (std::optional<std::vector<fw::DlgInitEntry>> entries = fw::ParseDlgInit(bytes)) {
        size_t total = 0;
        for (const fw::DlgInitEntry& entry : *entries) {
            total += 8 + entry.data.size();
            FUZZ_CHECK(entry.Text().size() <= entry.data.size(), "an item text beyond its data");
        }
        FUZZ_CHECK(total <= bytes.size, "DLGINIT entries hold more than the bytes");
    }
}

void TryBitmap(fw::ByteView bytes) {
    if (std::optional<fw::Bitmap> bitmap = fw::ParseBitmap(bytes)) {
        FUZZ_CHECK(bitmap->width > 0 && bitmap->height > 0, "a bitmap without pixels");
        FUZZ_CHECK(bitmap->pixels.size() ==
                       static_cast<size_t>(bitmap->width) * static_cast<size_t>(bitmap->height),
                   "a bitmap's pixels do not fill it");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fw::ByteView bytes(data, size);
    if (std::optional<std::vector<fw::ResFileEntry>> entries = fw::ParseResFile(bytes)) {
        for (const fw::ResFileEntry& entry : *entries) {
            FUZZ_CHECK(entry.data.data >= data && entry.data.data + entry.data.size <= data + size,
                       "a resource's data lies outside the file");
            if (entry.type.ordinal == static_cast<uint16_t>(fw::ResourceType::Dialog)) {
                TryTemplate(entry.data);
            } else if (entry.type.ordinal == static_cast<uint16_t>(fw::ResourceType::DlgInit)) {
                TryDlgInit(entry.data);
            } else if (entry.type.ordinal == static_cast<uint16_t>(fw::ResourceType::Bitmap)) {
                TryBitmap(entry.data);
            }
        }
    }
    TryTemplate(bytes);
    TryDlgInit(bytes);
    TryBitmap(bytes);
    return 0;
}
