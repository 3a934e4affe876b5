// Windows resources: the resources linked into the module that holds this
// code (Setup.dll, or a test program that links the framework), never the
// host's. Resource text converts through the ANSI code page.
#include <windows.h>

#include "framework/api.h"
#include "framework/templates/resources.h"

namespace fw {

std::optional<ByteView> LoadResourceBytes(ResourceType type, uint16_t id) {
    HMODULE module = api::ModuleInstance();
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id),
                                  MAKEINTRESOURCEA(static_cast<uint16_t>(type)));
    if (found == NULL) {
        return std::nullopt;
    }
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded != NULL ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return std::nullopt;
    }
    // Resources of a loaded module need no unlocking or freeing.
    return ByteView(static_cast<const uint8_t*>(bytes), ::SizeofResource(module, found));
}

std::string NarrowFromWide(std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
    int count = static_cast<int>(text.size());
    int size = ::WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, wide, count, &out[0], size, nullptr, nullptr);
    }
    return out;
}

std::u16string WideFromNarrow(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    int count = static_cast<int>(text.size());
    int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), count, nullptr, 0);
    std::u16string out(static_cast<size_t>(size > 0 ? size : 0), u'\0');
    if (size > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), count, reinterpret_cast<wchar_t*>(&out[0]),
                              size);
    }
    return out;
}

}  // namespace fw
