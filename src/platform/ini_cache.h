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

// The cache keeps at most `capacity` files, and parsed files of at most
// `budget` bytes of memory in all (the least recently used go first), so
// that a visit's hostile files cannot pile up in the station's process. A
// file whose parsed form alone is over the budget is parsed for each use and
// never kept.
class FileCache {
public:
    static const size_t kDefaultBudget = 8u << 20;

    explicit FileCache(FileSystem& fileSystem, size_t capacity = 8, size_t budget = kDefaultBudget)
        : m_fs(fileSystem), m_capacity(capacity), m_budget(budget) {}

    // The file as it is now, shared: it stays valid for its holder after the
    // cache has read the file again or dropped it. Null when the file does
    // not exist or cannot be read (memory for it included).
    std::shared_ptr<const Document> Share(const std::string& path);

    // The same, for a file the cache keeps: null also when the file is too
    // large to be kept (the pointer is the cache's, valid while it keeps it).
    const Document* Current(const std::string& path);

    // The memory the kept files take, as Document::Footprint counts it.
    size_t KeptBytes() const;

    // Drops every kept file (documents shared with holders stay theirs).
    void Clear() { m_entries.clear(); }

    // Records bytes just written to the file by the engine itself; readAt is
    // the time taken before the write.
    void Written(const std::string& path, int64_t readAt, std::string bytes);

private:
    struct Entry {
        std::string key;
        store::Stamp stamp;
        int64_t readAt = 0;  // when the bytes were last read or compared
        uint64_t lastUse = 0;
        size_t footprint = 0;
        std::shared_ptr<const Document> document;
    };

    Entry* Find(const std::string& key);
    void Forget(const std::string& key);
    std::shared_ptr<const Document> Touch(Entry* entry);
    std::shared_ptr<const Document> Keep(const std::string& key, const store::Stamp& stamp,
                                         int64_t readAt, std::string bytes);

    FileSystem& m_fs;
    size_t m_capacity;
    size_t m_budget;
    std::vector<Entry> m_entries;
    uint64_t m_clock = 0;
};

}  // namespace ini

#endif
