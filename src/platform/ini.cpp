// The private-profile functions on the module's own engine: lookups and
// edits on a parsed file (ini_document.h) taken from the cache of files
// (ini_cache.h), and writes that replace the file atomically.
#include "platform/ini.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/ini_cache.h"
#include "platform/ini_document.h"
#include "platform/ini_store.h"

namespace ini {

namespace {

FileCache& TheCache() {
    static FileCache cache(SystemFileSystem());
    return cache;
}

// The files changed while a WriteBatch is open, as they are to be written,
// in the order first written.
struct HeldFile {
    std::string cacheKey;
    std::string nativePath;
    std::string givenPath;
    std::shared_ptr<const Document> document;
};

struct HeldWrites {
    int openBatches = 0;
    std::vector<HeldFile> files;

    HeldFile* Find(const std::string& cacheKey) {
        for (HeldFile& file : files) {
            if (file.cacheKey == cacheKey) {
                return &file;
            }
        }
        return nullptr;
    }
};

HeldWrites& Held() {
    static HeldWrites held;
    return held;
}

// The file as reads and writes see it: the held-back version while a batch
// holds one, else the file as it is now.
std::shared_ptr<const Document> SharedDocument(const std::string& native) {
    HeldWrites& held = Held();
    if (!held.files.empty()) {
        if (HeldFile* file = held.Find(store::CacheKey(native))) {
            return file->document;
        }
    }
    return TheCache().Share(native);
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
IntReading ParseInteger(std::string_view text) {
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
    const int64_t kHeld = int64_t(1) << 40;
    uint32_t value = 0;
    int64_t magnitude = 0;
    size_t digits = 0;
    for (; p < text.size(); ++p, ++digits) {
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
        magnitude = std::min(magnitude * base + digit, kHeld);
    }
    IntReading reading;
    reading.value = negative ? 0u - value : value;
    reading.number = negative ? -magnitude : magnitude;
    reading.whole = digits > 0 && p == text.size();
    return reading;
}

// Held by the caller for as long as it reads: a file too large for the
// cache is parsed for this one call.
std::shared_ptr<const Document> Open(const char* path) {
    if (!path || !*path) {
        return nullptr;
    }
    return SharedDocument(files::NativePath(path));
}

// The reads on a document (null: no file), shared by the plain reads and
// the views.
uint32_t ReadString(const Document* doc, const char* section, const char* key,
                    const char* defaultValue, char* buffer, uint32_t size) {
    if (size == 0 || !buffer) {
        return 0;
    }
    if (!section) {
        return CopyList(doc ? doc->SectionNames() : std::vector<std::string_view>(), buffer, size);
    }
    int s = doc ? doc->FindSection(TrimSpaces(section)) : -1;
    if (!key) {
        // The keys of the section; a section without keys (or none at all)
        // gives the default, as a missing key does.
        std::vector<std::string_view> keys;
        if (s >= 0) {
            keys = doc->KeyNames(s);
        }
        if (!keys.empty()) {
            return CopyList(keys, buffer, size);
        }
    } else if (s >= 0) {
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

std::string ReadString(const Document* doc, const char* section, const char* key,
                       const char* defaultValue, uint32_t size) {
    if (size == 0) {
        return std::string();
    }
    std::string text(size, '\0');
    text.resize(ReadString(doc, section, key, defaultValue, &text[0], size));
    return text;
}

uint32_t ReadInt(const Document* doc, const char* section, const char* key, int32_t defaultValue) {
    if (!section || !key) {
        // The name lists, read as the string read would return them.
        char buffer[260];
        if (ReadString(doc, section, key, "", buffer, sizeof buffer) == 0) {
            return static_cast<uint32_t>(defaultValue);
        }
        return ParseInteger(buffer).value;
    }
    int s = doc ? doc->FindSection(TrimSpaces(section)) : -1;
    const Document::Entry* entry = s >= 0 ? doc->FindEntry(s, TrimSpaces(key)) : nullptr;
    // A missing key and an empty value both give the default: the string
    // read returns no characters for either.
    if (!entry || entry->value.empty()) {
        return static_cast<uint32_t>(defaultValue);
    }
    return ParseInteger(entry->value).value;
}

}  // namespace

uint32_t GetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                   uint32_t size, const char* path) {
    if (size == 0 || !buffer) {
        return 0;
    }
    return ReadString(Open(path).get(), section, key, defaultValue, buffer, size);
}

std::string GetString(const char* section, const char* key, const char* defaultValue,
                      const std::string& path, uint32_t size) {
    if (size == 0) {
        return std::string();
    }
    return ReadString(Open(path.c_str()).get(), section, key, defaultValue, size);
}

uint32_t GetInt(const char* section, const char* key, int32_t defaultValue, const char* path) {
    return ReadInt(Open(path).get(), section, key, defaultValue);
}

void ReleaseCache() {
    TheCache().Clear();
}

size_t KeptBytes() {
    return TheCache().KeptBytes();
}

IntReading ReadInteger(std::string_view text) {
    return ParseInteger(text);
}

ReadView::ReadView(const std::string& path)
    : m_document(path.empty() ? nullptr : SharedDocument(files::NativePath(path))) {}

uint32_t ReadView::GetString(const char* section, const char* key, const char* defaultValue,
                             char* buffer, uint32_t size) const {
    return ReadString(m_document.get(), section, key, defaultValue, buffer, size);
}

std::string ReadView::GetString(const char* section, const char* key, const char* defaultValue,
                                uint32_t size) const {
    return ReadString(m_document.get(), section, key, defaultValue, size);
}

uint32_t ReadView::GetInt(const char* section, const char* key, int32_t defaultValue) const {
    return ReadInt(m_document.get(), section, key, defaultValue);
}

bool ReadView::Find(const char* section, const char* key, Found* found) const {
    const Document* doc = m_document.get();
    if (!doc || !section || !key) {
        return false;
    }
    const int s = doc->FindSection(TrimSpaces(section));
    const Document::Entry* entry = s >= 0 ? doc->FindEntry(s, TrimSpaces(key)) : nullptr;
    if (!entry) {
        return false;
    }
    found->section = doc->SectionNames()[static_cast<size_t>(s)];
    found->key = entry->key;
    found->value = entry->value;
    return true;
}

bool WriteString(const char* section, const char* key, const char* value, const char* path) {
    if (!section || !path || !*path) {
        return false;
    }
    std::string native = files::NativePath(path);
    int64_t now = store::Now();
    const std::shared_ptr<const Document> current = SharedDocument(native);
    const Document* doc = current.get();
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
    } else if (doc) {
        bytes = doc->SetValue(sectionName, TrimSpaces(key), value);
    } else {
        // A file that is there but cannot be read must not be replaced by
        // a new one holding this key alone.
        store::Stamp stamp;
        if (store::StampFile(native, &stamp)) {
            return false;
        }
        bytes = Document::NewFile(sectionName, TrimSpaces(key), value);
    }

    if (bytes.size() > files::kMaxReadSize) {
        return false;  // a file the module could not read again
    }
    HeldWrites& batch = Held();
    HeldFile* heldFile = batch.openBatches > 0 ? batch.Find(store::CacheKey(native)) : nullptr;
    if (doc && bytes == doc->Bytes()) {
        // Nothing changes: the file is left alone (its time included), but a
        // write that would be refused is still refused.
        return heldFile != nullptr || store::CanReplace(native);
    }
    if (batch.openBatches > 0) {
        if (heldFile == nullptr) {
            if (doc && !store::CanReplace(native)) {
                return false;
            }
            batch.files.push_back({store::CacheKey(native), native, path, nullptr});
            heldFile = &batch.files.back();
        }
        heldFile->document = std::make_unique<Document>(std::move(bytes));
        return true;
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

WriteBatch::WriteBatch()
    : m_outermost(Held().openBatches == 0), m_uncaught(std::uncaught_exceptions()) {
    ++Held().openBatches;
}

WriteBatch::~WriteBatch() {
    if (std::uncaught_exceptions() > m_uncaught) {
        Discard();
    } else {
        Commit();
    }
    --Held().openBatches;
}

std::vector<std::string> WriteBatch::Commit() {
    std::vector<std::string> failed;
    if (!m_outermost) {
        return failed;
    }
    std::vector<HeldFile> files = std::move(Held().files);
    Held().files.clear();
    for (HeldFile& file : files) {
        const int64_t now = store::Now();
        std::string bytes = file.document->Bytes();
        if (store::ReplaceAtomically(file.nativePath, bytes)) {
            TheCache().Written(file.nativePath, now, std::move(bytes));
        } else {
            failed.push_back(file.givenPath);
        }
    }
    return failed;
}

void WriteBatch::Discard() {
    if (m_outermost) {
        Held().files.clear();
    }
}

}  // namespace ini
