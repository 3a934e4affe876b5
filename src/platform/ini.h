// The private-profile (INI) engine. Every key the module reads or writes goes
// through these functions; they behave as Windows' GetPrivateProfileStringA,
// GetPrivateProfileIntA and WritePrivateProfileStringA do, with two additions:
// a write replaces the file atomically, and a read always sees the file as it
// is on disk now. A path without a directory names a file in the current
// directory (not in the Windows directory, where kernel32 would look).
// As with kernel32, a null section lists the sections and a null key the
// keys of a section (each name NUL-terminated, the list by a second NUL); a
// write with a null key deletes the section, one with a null value the key.
// The functions keep a cache of parsed files and are called from one thread
// (the module's), as the module runs on its host's thread alone.
#ifndef SETUP_PLATFORM_INI_H
#define SETUP_PLATFORM_INI_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ini {

class Document;

// GetPrivateProfileStringA: copies at most size - 1 characters of the value
// (or of the default when the file, section or key is missing) into buffer,
// NUL-terminated, and returns their count. size 0 returns 0 and leaves the
// buffer alone.
uint32_t GetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                   uint32_t size, const char* path);

// The same read through a buffer of `size` bytes, returned as a string.
std::string GetString(const char* section, const char* key, const char* defaultValue,
                      const std::string& path, uint32_t size = 260);

// GetPrivateProfileIntA: the value's leading decimal number, modulo 2^32, or
// defaultValue when the key is missing.
uint32_t GetInt(const char* section, const char* key, int32_t defaultValue, const char* path);
inline uint32_t GetInt(const char* section, const char* key, int32_t defaultValue,
                       const std::string& path) {
    return GetInt(section, key, defaultValue, path.c_str());
}

// WritePrivateProfileStringA: writes key=value into the section, creating the
// file and the section as needed. Returns false, with the file untouched, when
// the file cannot be written, when it is there but cannot be read, or when
// the file would grow beyond what a read takes (files::kMaxReadSize).
bool WriteString(const char* section, const char* key, const char* value, const char* path);
inline bool WriteString(const char* section, const char* key, const std::string& value,
                        const std::string& path) {
    return WriteString(section, key, value.c_str(), path.c_str());
}

// Writes a number as signed decimal text.
bool WriteInt(const char* section, const char* key, int32_t value, const std::string& path);

// Drops the parsed files the functions keep between calls (the files are not
// touched; the next read reads them again). A visit of the module ends with
// it, so that nothing it read stays in the station's process.
void ReleaseCache();
// The memory the parsed files kept between calls take, about.
size_t KeptBytes();

// Calls ReleaseCache when it goes out of scope, however the scope is left.
class CacheReleaser {
public:
    CacheReleaser() = default;
    ~CacheReleaser() { ReleaseCache(); }
    CacheReleaser(const CacheReleaser&) = delete;
    CacheReleaser& operator=(const CacheReleaser&) = delete;
};

// How GetInt reads the text of a value that is there and not empty.
struct IntReading {
    uint32_t value = 0;  // what GetInt returns: the leading number, modulo 2^32
    int64_t number = 0;  // that number before it wraps (held at +-2^40 beyond)
    bool whole = false;  // the text is one number with at least one digit and
                         // nothing after it
};
IntReading ReadInteger(std::string_view text);

// One look at a file for a run of reads (the load of the job settings): the
// file is taken once, as a read would see it at that moment (with what an
// open WriteBatch holds back for it), and the view answers every read from
// that, with exactly the rules of GetString and GetInt. A view does not see
// later changes to the file; a new view does.
class ReadView {
public:
    explicit ReadView(const std::string& path);

    // Whether the file was read: false when it is missing or cannot be read
    // whole (a folder, a device, more than files::kMaxReadSize bytes, a read
    // error). The reads then give their defaults, as for a missing file.
    bool IsRead() const { return m_document != nullptr; }

    // GetString and GetInt on the file as the view holds it.
    uint32_t GetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                       uint32_t size) const;
    std::string GetString(const char* section, const char* key, const char* defaultValue,
                          uint32_t size = 260) const;
    uint32_t GetInt(const char* section, const char* key, int32_t defaultValue) const;

    // The entry the reads of section and key find, as the file spells it:
    // the names and the whole value. False when there is none.
    struct Found {
        std::string_view section;
        std::string_view key;
        std::string_view value;
    };
    bool Find(const char* section, const char* key, Found* found) const;

private:
    std::shared_ptr<const Document> m_document;
};

// Holds back the writes made while it is open, so that a run of writes (the
// keys of every page of the settings sheet) replaces each file once instead
// of once a key. Reads see the held-back keys. A write whose file exists and
// cannot be replaced (read-only) still fails at once; other failures show at
// Commit. Batches nest: only the outermost one writes.
class WriteBatch {
public:
    WriteBatch();
    // Writes what is still held back, as Commit does; but a batch left by an
    // exception drops it, as Discard does: an interrupted run of writes
    // leaves its files as they were.
    ~WriteBatch();
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // Writes every file changed since the batch opened (or since the last
    // Commit), each atomically and in the order first written. Returns the
    // paths, as given to the writes, of the files that could not be written:
    // their held-back keys are dropped. Empty when all were written, and
    // always for a batch nested in another.
    std::vector<std::string> Commit();

    // Drops every write held back since the batch opened (or since the last
    // Commit): the files stay as they are, and reads see them so again. A
    // batch nested in another drops nothing, as it holds nothing of its own.
    void Discard();

private:
    bool m_outermost;
    int m_uncaught;  // exceptions in flight when the batch opened
};

}  // namespace ini

#endif
