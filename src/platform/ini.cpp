// The private-profile functions on the module's own engine.
//
// Reads go through a small cache of parsed files. A cached file is used only
// while the file's stamp (size, modification and change times, identity) is
// the one it had when it was read, and only when its modification time lies
// clearly before that read: a file modified within the file system's
// timestamp granularity of the moment it was read could have been rewritten
// again in the same tick without any visible change of its stamp, so such a
// "racy" entry is checked against the file's bytes on every use until the
// file has been quiet for longer than that granularity.
#include "platform/ini.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/ini_document.h"
#include "platform/ini_store.h"

namespace ini {

namespace {

// Timestamp granularity assumed for a file: 2 s when its modification time
// has no sub-second part (FAT, or a file system that keeps whole seconds),
// otherwise 100 ms, well above the clock tick with which kernels stamp files.
int64_t Granularity(const store::Stamp& stamp) {
    const int64_t second = 1000000000;
    return stamp.modified % second == 0 ? 2 * second : second / 10;
}

bool IsRacy(const store::Stamp& stamp, int64_t readAt) {
    return readAt - stamp.modified <= Granularity(stamp);
}

struct CachedFile {
    std::string key;
    store::Stamp stamp;
    int64_t readAt = 0;  // when the bytes were last read or checked
    uint64_t lastUse = 0;
    std::unique_ptr<Document> document;
};

class Cache {
public:
    // The file as it is now, or null when it does not exist or cannot be read.
    const Document* Current(const std::string& nativePath) {
        std::string key = store::CacheKey(nativePath);
        int64_t now = store::Now();
        store::Stamp stamp;
        if (!store::StampFile(nativePath, &stamp)) {
            Forget(key);
            return nullptr;
        }
        CachedFile* cached = Find(key);
        if (cached && cached->stamp == stamp) {
            if (!IsRacy(stamp, cached->readAt)) {
                return Touch(cached);
            }
            std::string bytes;
            if (!store::ReadWhole(nativePath, &bytes)) {
                Forget(key);
                return nullptr;
            }
            if (bytes == cached->document->Bytes()) {
                cached->readAt = now;
                return Touch(cached);
            }
            return Keep(key, stamp, now, std::move(bytes));
        }
        std::string bytes;
        if (!store::ReadWhole(nativePath, &bytes)) {
            Forget(key);
            return nullptr;
        }
        return Keep(key, stamp, now, std::move(bytes));
    }

    // Records bytes just written to the file, read at readAt.
    void Written(const std::string& nativePath, int64_t readAt, std::string bytes) {
        std::string key = store::CacheKey(nativePath);
        store::Stamp stamp;
        if (store::StampFile(nativePath, &stamp)) {
            Keep(key, stamp, readAt, std::move(bytes));
        } else {
            Forget(key);
        }
    }

private:
    static const size_t kCapacity = 8;

    CachedFile* Find(const std::string& key) {
        for (CachedFile& f : m_files) {
            if (f.key == key) {
                return &f;
            }
        }
        return nullptr;
    }

    void Forget(const std::string& key) {
        for (size_t i = 0; i < m_files.size(); ++i) {
            if (m_files[i].key == key) {
                m_files.erase(m_files.begin() + static_cast<long>(i));
                return;
            }
        }
    }

    const Document* Touch(CachedFile* f) {
        f->lastUse = ++m_clock;
        return f->document.get();
    }

    const Document* Keep(const std::string& key, const store::Stamp& stamp, int64_t readAt,
                         std::string bytes) {
        CachedFile* f = Find(key);
        if (!f) {
            if (m_files.size() >= kCapacity) {
                size_t oldest = 0;
                for (size_t i = 1; i < m_files.size(); ++i) {
                    if (m_files[i].lastUse < m_files[oldest].lastUse) {
                        oldest = i;
                    }
                }
                m_files.erase(m_files.begin() + static_cast<long>(oldest));
            }
            m_files.emplace_back();
            f = &m_files.back();
            f->key = key;
        }
        f->stamp = stamp;
        f->readAt = readAt;
        f->document = std::make_unique<Document>(std::move(bytes));
        return Touch(f);
    }

    std::vector<CachedFile> m_files;
    uint64_t m_clock = 0;
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

// Lookup arguments lose surrounding spaces (spaces only, as Windows does).
std::string_view TrimSpaces(const char* text) {
    std::string_view v(text);
    while (!v.empty() && v.front() == ' ') {
        v.remove_prefix(1);
    }
    while (!v.empty() && v.back() == ' ') {
        v.remove_suffix(1);
    }
    return v;
}

uint32_t CopyString(std::string_view text, char* buffer, uint32_t size) {
    uint32_t n = static_cast<uint32_t>(std::min<size_t>(text.size(), size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

// A list of names, each followed by a NUL and the whole by a second NUL. A
// list that does not fit (Windows wants one byte more than it needs) is cut
// to size - 2 bytes and closed with two NULs.
uint32_t CopyList(const std::vector<std::string_view>& names, char* buffer, uint32_t size) {
    size_t total = 0;
    for (std::string_view n : names) {
        total += n.size() + 1;
    }
    if (total == 0 || size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    if (total + 1 < size) {
        char* p = buffer;
        for (std::string_view n : names) {
            std::memcpy(p, n.data(), n.size());
            p += n.size();
            *p++ = '\0';
        }
        *p = '\0';
        return static_cast<uint32_t>(total);
    }
    uint32_t room = size - 2;
    uint32_t at = 0;
    for (std::string_view n : names) {
        if (at >= room) {
            break;
        }
        uint32_t take = static_cast<uint32_t>(std::min<size_t>(n.size(), room - at));
        std::memcpy(buffer + at, n.data(), take);
        at += take;
        if (at < room) {
            buffer[at++] = '\0';
        }
    }
    buffer[room] = '\0';
    buffer[room + 1] = '\0';
    return room;
}

// RtlCharToInteger with base 0, which GetPrivateProfileInt applies to the
// value: leading control characters and blanks skipped, one optional sign,
// then "0x", "0o" or "0b" selects base 16, 8 or 2 (decimal otherwise), and
// digits up to the first character that is not one; the result wraps
// modulo 2^32 and a sign negates it.
uint32_t ParseInteger(std::string_view text) {
    size_t p = 0;
    while (p < text.size() && text[p] != '\0' && static_cast<unsigned char>(text[p]) <= ' ') {
        ++p;
    }
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    uint32_t base = 10;
    if (p + 1 < text.size() && text[p] == '0') {
        char prefix = text[p + 1];
        if (prefix == 'x' || prefix == 'o' || prefix == 'b') {
            base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : 2;
            p += 2;
        }
    }
    uint32_t value = 0;
    for (; p < text.size(); ++p) {
        char c = text[p];
        uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'z') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'Z') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else {
            break;
        }
        if (digit >= base) {
            break;
        }
        value = value * base + digit;
    }
    return negative ? 0u - value : value;
}

const Document* Open(const char* path) {
    if (!path || !*path) {
        return nullptr;
    }
    return TheCache().Current(files::NativePath(path));
}

}  // namespace

uint32_t GetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                   uint32_t size, const char* path) {
    if (size == 0 || !buffer) {
        return 0;
    }
    const Document* doc = Open(path);
    if (!section) {
        return CopyList(doc ? doc->SectionNames() : std::vector<std::string_view>(), buffer, size);
    }
    int s = doc ? doc->FindSection(TrimSpaces(section)) : -1;
    if (!key) {
        return CopyList(doc ? doc->KeyNames(s) : std::vector<std::string_view>(), buffer, size);
    }
    if (s >= 0) {
        if (const Document::Entry* entry = doc->FindEntry(s, TrimSpaces(key))) {
            return CopyString(entry->value, buffer, size);
        }
    }
    // The default loses trailing spaces (spaces only).
    std::string_view fallback(defaultValue ? defaultValue : "");
    while (!fallback.empty() && fallback.back() == ' ') {
        fallback.remove_suffix(1);
    }
    return CopyString(fallback, buffer, size);
}

std::string GetString(const char* section, const char* key, const char* defaultValue,
                      const std::string& path, uint32_t size) {
    if (size == 0) {
        return std::string();
    }
    std::vector<char> buffer(size);
    uint32_t n = GetString(section, key, defaultValue, buffer.data(), size, path.c_str());
    return std::string(buffer.data(), n);
}

uint32_t GetInt(const char* section, const char* key, int32_t defaultValue, const char* path) {
    if (!section || !key) {
        // The name lists, read as the string read would return them.
        char buffer[260];
        if (GetString(section, key, "", buffer, sizeof buffer, path) == 0) {
            return static_cast<uint32_t>(defaultValue);
        }
        return ParseInteger(buffer);
    }
    const Document* doc = Open(path);
    int s = doc ? doc->FindSection(TrimSpaces(section)) : -1;
    const Document::Entry* entry = s >= 0 ? doc->FindEntry(s, TrimSpaces(key)) : nullptr;
    // A missing key and an empty value both give the default: the string
    // read returns no characters for either.
    if (!entry || entry->value.empty()) {
        return static_cast<uint32_t>(defaultValue);
    }
    return ParseInteger(entry->value);
}

bool WriteString(const char* section, const char* key, const char* value, const char* path) {
    if (!section || !path || !*path) {
        return false;
    }
    std::string native = files::NativePath(path);
    int64_t now = store::Now();
    const Document* doc = TheCache().Current(native);
    std::string_view sectionName = TrimSpaces(section);

    std::string bytes;
    if (!key || !value) {
        // Deleting a section (no key) or a key (no value): nothing to do
        // when it is not there.
        int s = doc ? doc->FindSection(sectionName) : -1;
        if (s < 0) {
            return true;
        }
        bytes = key ? doc->DeleteKey(s, TrimSpaces(key)) : doc->DeleteSection(s);
        if (bytes == doc->Bytes()) {
            return true;
        }
    } else if (doc) {
        bytes = doc->SetValue(sectionName, TrimSpaces(key), value);
    } else {
        bytes = Document::NewFile(sectionName, TrimSpaces(key), value);
    }

    if (!store::ReplaceAtomically(native, bytes)) {
        return false;
    }
    TheCache().Written(native, now, std::move(bytes));
    return true;
}

bool WriteInt(const char* section, const char* key, int32_t value, const std::string& path) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return WriteString(section, key, text, path.c_str());
}

}  // namespace ini
