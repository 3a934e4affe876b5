// The module's own resources: dialog templates, the initial list data of
// their controls, bitmaps and the version. On Windows they are the resources
// linked into the module that holds this code (Setup.dll, or a test program
// that links the framework statically); natively they are the same compiled
// .res bytes, embedded in the library. Either way a resource is found by type
// and numeric ID and read as bytes; dialog_template.h turns the bytes into
// structures.
//
// Classes and functions in this file:
//   ByteView          a read-only view of bytes
//   ResourceType      the RT_ types the module uses
//   NameOrOrdinal     a name or a number, as .res files and templates hold them
//   LoadResourceBytes find a resource of the module and return its bytes
//   ResFileEntry, ParseResFile   the resources of a compiled .res file
//   NarrowFromWide, WideFromNarrow   resource text to and from the module's
//                     narrow strings
#ifndef SETUP_FRAMEWORK_RESOURCES_H
#define SETUP_FRAMEWORK_RESOURCES_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

struct ByteView {
    const uint8_t* data = nullptr;
    size_t size = 0;

    ByteView() = default;
    ByteView(const uint8_t* bytes, size_t count) : data(bytes), size(count) {}
    ByteView(const std::vector<uint8_t>& bytes) : data(bytes.data()), size(bytes.size()) {}

    bool empty() const { return size == 0; }
    const uint8_t* begin() const { return data; }
    const uint8_t* end() const { return data + size; }
};

enum class ResourceType : uint16_t {
    Bitmap = 2,     // RT_BITMAP: a packed DIB (BITMAPINFOHEADER, colours, pixels)
    Dialog = 5,     // RT_DIALOG: a DLGTEMPLATE or DLGTEMPLATEEX
    Version = 16,   // RT_VERSION: VS_VERSIONINFO
    DlgInit = 240,  // RT_DLGINIT: initial list items of a dialog's controls
};

// A 0xFFFF word followed by a number, or a NUL-terminated UTF-16 name; a
// lone 0 word (no number, empty name) stands for "none".
struct NameOrOrdinal {
    std::optional<uint16_t> ordinal;
    std::u16string name;

    static NameOrOrdinal Ordinal(uint16_t value) { return {value, {}}; }
    static NameOrOrdinal Name(std::u16string text) { return {std::nullopt, std::move(text)}; }

    bool IsOrdinal() const { return ordinal.has_value(); }
    bool IsNone() const { return !ordinal && name.empty(); }
    bool operator==(const NameOrOrdinal& other) const {
        return ordinal == other.ordinal && name == other.name;
    }
    bool operator!=(const NameOrOrdinal& other) const { return !(*this == other); }
};

// FindResourceA, LoadResource, LockResource and SizeofResource on the
// module's own resources (natively: a lookup in the embedded .res bytes).
// The bytes stay valid while the module is loaded; nullopt when the module
// has no such resource. Any language matches.
std::optional<ByteView> LoadResourceBytes(ResourceType type, uint16_t id);

// One resource of a .res file. `data` points into the file's bytes.
struct ResFileEntry {
    NameOrOrdinal type;
    NameOrOrdinal name;
    uint16_t language = 0;
    uint16_t memoryFlags = 0;
    ByteView data;
};

// Splits a compiled resource file into its resources: a run of
// RESOURCEHEADERs, each followed by its data and padded to a DWORD boundary.
// Returns nullopt when the bytes are not a well-formed .res file (a header or
// its data running past the end, a header size too small for its fields).
std::optional<std::vector<ResFileEntry>> ParseResFile(ByteView file);

// The first resource of the given ordinal type and ordinal name, or nullptr.
const ResFileEntry* FindResFileEntry(const std::vector<ResFileEntry>& entries, ResourceType type,
                                     uint16_t id);

// Resource text is UTF-16; the module works with narrow strings. On Windows
// these convert through the ANSI code page (WideCharToMultiByte and
// MultiByteToWideChar with CP_ACP); natively through UTF-8.
std::string NarrowFromWide(std::u16string_view text);
std::u16string WideFromNarrow(std::string_view text);

}  // namespace fw

#endif
