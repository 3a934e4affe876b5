// Native resources: the compiled .res bytes of res/setup.rc, embedded in the
// library by the build (res/CMakeLists.txt), looked up as FindResource would.
// Resource text converts through UTF-8.
#include <cassert>
#include <cstddef>

#include "framework/templates/resources.h"

namespace fw::headless {
// Defined in the source the build generates from setup.res.
extern const unsigned char kEmbeddedResources[];
extern const std::size_t kEmbeddedResourcesSize;
}  // namespace fw::headless

namespace fw {

namespace {

const std::vector<ResFileEntry>& EmbeddedResources() {
    static const std::vector<ResFileEntry> s_entries = [] {
        std::optional<std::vector<ResFileEntry>> parsed =
            ParseResFile(ByteView(headless::kEmbeddedResources, headless::kEmbeddedResourcesSize));
        assert(parsed && "the embedded resource bytes are not a .res file");
        return parsed ? std::move(*parsed) : std::vector<ResFileEntry>();
    }();
    return s_entries;
}

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 | (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 | (c & 0x3FF)));
    }
}

}  // namespace

std::optional<ByteView> LoadResourceBytes(ResourceType type, uint16_t id) {
    const ResFileEntry* entry = FindResFileEntry(EmbeddedResources(), type, id);
    if (entry == nullptr) {
        return std::nullopt;
    }
    return entry->data;
}

std::string NarrowFromWide(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;  // a surrogate without its partner
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string WideFromNarrow(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80                   ? 1
                        : lead >= 0xF0 && lead < 0xF5 ? 4
                        : lead >= 0xE0                ? 3
                        : lead >= 0xC2 && lead < 0xE0 ? 2
                                                      : 0;
        char32_t c = length == 1   ? lead
                     : length == 2 ? lead & 0x1F
                     : length == 3 ? lead & 0x0F
                                   : lead & 0x07;
        bool valid = length != 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not text.
        if (valid && ((length == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
                      (length == 4 && (c < 0x10000 || c > 0x10FFFF)))) {
            valid = false;
        }
        if (valid) {
            AppendUtf16(out, c);
            i += length;
        } else {
            AppendUtf16(out, kReplacement);
            i += 1;
        }
    }
    return out;
}

}  // namespace fw
