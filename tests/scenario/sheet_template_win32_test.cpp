// Windows only: the real Setup.dll rewrites the sheet's own template (its
// font) within the bytes of that template, nothing past them. comctl32 is
// free to hand the template over in a block of exactly its size, so the test
// does: it takes the place of PropertySheetA in Setup.dll's imports, gives
// the module's sheet callback the template at the very end of a writable
// page followed by one that may not be touched, and hands comctl32 the
// rewritten template back. (The in-memory window system always passes the
// template in a block of its size, where AddressSanitizer watches every
// native run.)
#if defined(_WIN32)

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "driver/operator.h"
#include "driver/station.h"
#include "resource.h"
#include "scenario/sheet_support.h"

namespace {

// --- Dialog templates, read as documented (DLGTEMPLATE, DLGTEMPLATEEX) ------

struct TemplateSeen {
    size_t size = 0;  // up to the end of the last item
    std::wstring face;
    WORD pointSize = 0;
    std::wstring caption;
    WORD items = 0;
};

class TemplateReader {
public:
    explicit TemplateReader(const BYTE* base) : m_base(base) {}

    WORD Word() {
        WORD value;
        std::memcpy(&value, m_base + m_at, sizeof(value));
        m_at += sizeof(value);
        return value;
    }
    DWORD Dword() {
        DWORD value;
        std::memcpy(&value, m_base + m_at, sizeof(value));
        m_at += sizeof(value);
        return value;
    }
    void Skip(size_t bytes) { m_at += bytes; }
    void AlignDword() { m_at = (m_at + 3) & ~size_t(3); }
    std::wstring String() {
        std::wstring text;
        for (WORD c = Word(); c != 0; c = Word()) {
            text += static_cast<wchar_t>(c);
        }
        return text;
    }
    // A name or an ordinal (sz_Or_Ord).
    void NameOrOrdinal() {
        const WORD first = Word();
        if (first == 0xFFFF) {
            Word();
        } else if (first != 0) {
            while (Word() != 0) {
            }
        }
    }
    size_t At() const { return m_at; }

private:
    const BYTE* m_base;
    size_t m_at = 0;
};

TemplateSeen ReadTemplate(const void* bytes) {
    TemplateReader r(static_cast<const BYTE*>(bytes));
    TemplateSeen seen;
    const bool extended = r.Word() == 1 && r.Word() == 0xFFFF;
    DWORD style;
    if (extended) {
        r.Skip(8);  // helpID, exStyle
        style = r.Dword();
    } else {
        r = TemplateReader(static_cast<const BYTE*>(bytes));
        style = r.Dword();
        r.Skip(4);  // dwExtendedStyle
    }
    seen.items = r.Word();
    r.Skip(8);          // x, y, cx, cy
    r.NameOrOrdinal();  // menu
    r.NameOrOrdinal();  // class
    seen.caption = r.String();
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        seen.pointSize = r.Word();
        if (extended) {
            r.Skip(4);  // weight, italic, charset
        }
        seen.face = r.String();
    }
    for (WORD i = 0; i < seen.items; ++i) {
        r.AlignDword();
        r.Skip(extended ? 24 : 18);
        r.NameOrOrdinal();  // class
        r.NameOrOrdinal();  // title
        r.Skip(r.Word());   // creation data
    }
    seen.size = r.At();
    return seen;
}

// --- PropertySheetA in Setup.dll's imports ------------------------------------

using PropertySheetFn = INT_PTR(WINAPI*)(LPCPROPSHEETHEADERA);

PropertySheetFn s_realPropertySheet = nullptr;
PFNPROPSHEETCALLBACK s_moduleCallback = nullptr;

// What the pre-create step saw, for the checks and the figures.
struct PreCreateSeen {
    int calls = 0;
    TemplateSeen before;
    TemplateSeen after;
    bool fitted = false;
};
PreCreateSeen s_seen;

int CALLBACK TightBlockCallback(HWND hwnd, UINT message, LPARAM lParam) {
    if (message != PSCB_PRECREATE || lParam == 0) {
        return s_moduleCallback(hwnd, message, lParam);
    }
    ++s_seen.calls;
    s_seen.before = ReadTemplate(reinterpret_cast<const void*>(lParam));
    const size_t size = s_seen.before.size;

    // Two pages: the template ends where the first ends; the second may not
    // be touched, so a write or read past the template faults.
    SYSTEM_INFO system;
    ::GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    BYTE* block = static_cast<BYTE*>(
        ::VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (block == nullptr || size == 0 || size > page) {
        ADD_FAILURE() << "no block for a template of " << size << " bytes";
        return s_moduleCallback(hwnd, message, lParam);
    }
    DWORD old = 0;
    ::VirtualProtect(block + page, page, PAGE_NOACCESS, &old);
    // A template starts on a DWORD boundary and its size is even: it may end
    // two bytes short of the page's end, bytes that must stay as they are.
    BYTE* copy = block + ((page - size) & ~size_t(3));
    std::memset(copy, 0xCD, static_cast<size_t>(block + page - copy));
    std::memcpy(copy, reinterpret_cast<const void*>(lParam), size);

    const int result = s_moduleCallback(hwnd, message, reinterpret_cast<LPARAM>(copy));

    s_seen.after = ReadTemplate(copy);
    s_seen.fitted = s_seen.after.size <= size;
    for (const BYTE* b = copy + size; b < block + page; ++b) {
        s_seen.fitted = s_seen.fitted && *b == 0xCD;
    }
    if (s_seen.fitted) {
        std::memcpy(reinterpret_cast<void*>(lParam), copy, s_seen.after.size);
    }
    ::VirtualFree(block, 0, MEM_RELEASE);
    return result;
}

INT_PTR WINAPI TightBlockPropertySheet(LPCPROPSHEETHEADERA header) {
    PROPSHEETHEADERA substituted = *header;
    if ((substituted.dwFlags & PSH_USECALLBACK) && substituted.pfnCallback != nullptr) {
        s_moduleCallback = substituted.pfnCallback;
        substituted.pfnCallback = TightBlockCallback;
    }
    return s_realPropertySheet(&substituted);
}

// The slot of comctl32's PropertySheetA in the module's import address table,
// found through the import descriptors (PE format); nullptr when there is
// none.
void** ImportSlot(HMODULE module, const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
        return nullptr;
    }
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name != 0; ++d) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
            base + (d->OriginalFirstThunk != 0 ? d->OriginalFirstThunk : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
    }
    return nullptr;
}

void Patch(void** slot, void* value) {
    DWORD old = 0;
    ::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old);
    *slot = value;
    ::VirtualProtect(slot, sizeof(*slot), old, &old);
}

}  // namespace

TEST(SheetTemplate, TheFontRewriteStaysWithinTheTemplateItIsGiven) {
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(NULL, exe, sizeof(exe));
    std::string dll(exe);
    dll.erase(dll.find_last_of("\\/") + 1);
    dll += "Setup.dll";
    // The same module the station's calls go to (loaded once per process).
    HMODULE module = ::LoadLibraryA(dll.c_str());
    ASSERT_NE(nullptr, module) << dll;
    void** slot = ImportSlot(module, "comctl32.dll", "PropertySheetA");
    ASSERT_NE(nullptr, slot) << "Setup.dll imports no PropertySheetA from comctl32.dll";
    s_realPropertySheet = reinterpret_cast<PropertySheetFn>(*slot);
    Patch(slot, reinterpret_cast<void*>(&TightBlockPropertySheet));
    s_seen = PreCreateSeen();

    Station station;
    Operator op;
    sheettest::QueueVisit(op, [&](SheetDriver& s) {
        EXPECT_EQ(station.Text("IDS_SETUP_UI_TITLE"), s.Caption()) << "the title, from the header";
        for (int id : {0, IDOK, IDC_IMPORT_SET}) {
            const FontSeen font = s.Font(id);
            EXPECT_EQ("Times New Roman", font.face) << id;
            EXPECT_EQ(8, font.PointSize()) << id;
        }
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));
    Patch(slot, reinterpret_cast<void*>(s_realPropertySheet));
    ::FreeLibrary(module);

    ASSERT_EQ(1, s_seen.calls) << "the module's callback saw the pre-create step once";
    EXPECT_TRUE(s_seen.fitted) << s_seen.after.size << " bytes written for " << s_seen.before.size;
    EXPECT_EQ(L"Times New Roman", s_seen.after.face);
    EXPECT_EQ(8, s_seen.after.pointSize);
    EXPECT_EQ(L"", s_seen.after.caption);
    EXPECT_EQ(s_seen.before.items, s_seen.after.items);
    std::printf(
        "comctl32's sheet template: %u bytes (face %ls %u, caption \"%ls\"); rewritten: %u "
        "bytes\n",
        static_cast<unsigned>(s_seen.before.size), s_seen.before.face.c_str(),
        static_cast<unsigned>(s_seen.before.pointSize), s_seen.before.caption.c_str(),
        static_cast<unsigned>(s_seen.after.size));
}

#endif
