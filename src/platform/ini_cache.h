// The parsed files the INI engine keeps between calls.
//
// A cached file is used only while the file's stamp (size, modification and
// change times, identity) is the one it had when it was read, and only when
// its modification time lies clearly before that read. A file modified
// within the file system's timestamp granularity of the moment it was read
// could be rewritten again in the same tick without any visible change of
// its stamp, so such a "racy" entry is compared with the file's bytes on
// every use until the file has been quiet for longer than that granularity.
#ifndef SETUP_PLATFORM_INI_CACHE_H
#define SETUP_PLATFORM_INI_CACHE_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ini_document.h"
#include "platform/ini_store.h"

namespace ini {

// The file system as the cache sees it (the real one is ini_store.h's).
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual std::string Key(const std::string& path) = 0;
    virtual bool Stamp(const std::string& path, store::Stamp* stamp) = 0;
    virtual bool Read(const std::string& path, std::string* bytes) = 0;
    virtual int64_t Now() = 0;
};

FileSystem& SystemFileSystem();

// Timestamp granularity assumed for a file: 2 s when its modification time
// has no sub-second part (FAT, or a file system that keeps whole seconds),
// otherwise 100 ms, well above the clock tick with which kernels stamp files.
int64_t TimestampGranularity(const store::Stamp& stamp);

class FileCache {
public:
    explicit FileCache(FileSystem& fileSystem, size_t capacity = 8)
        : m_fs(fileSystem), m_capacity(capacity) {}

    // The file as it is now, or null when it does not exist or cannot be read.
    const Document* Current(const std::string& path) { return Share(path).get(); }

    // The same document, shared: it stays valid for its holder after the
    // cache has read the file again or dropped it.
    std::shared_ptr<const Document> Share(const std::string& path);

    // Records bytes just written to the file by the engine itself; readAt is
    // the time taken before the write.
    void Written(const std::string& path, int64_t readAt, std::string bytes);

private:
    struct Entry {
        std::string key;
        store::Stamp stamp;
        int64_t readAt = 0;  // when the bytes were last read or compared
        uint64_t lastUse = 0;
        std::shared_ptr<const Document> document;
    };

    Entry* Find(const std::string& key);
    void Forget(const std::string& key);
    std::shared_ptr<const Document> Touch(Entry* entry);
    std::shared_ptr<const Document> Keep(const std::string& key, const store::Stamp& stamp,
                                         int64_t readAt, std::string bytes);

    FileSystem& m_fs;
    size_t m_capacity;
    std::vector<Entry> m_entries;
    uint64_t m_clock = 0;
};

}  // namespace ini

#endif
