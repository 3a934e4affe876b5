#include "platform/ini_cache.h"

#include <new>

namespace ini {

namespace {

class RealFileSystem : public FileSystem {
public:
    std::string Key(const std::string& path) override { return store::CacheKey(path); }
    bool Stamp(const std::string& path, store::Stamp* stamp) override {
        return store::StampFile(path, stamp);
    }
    bool Read(const std::string& path, std::string* bytes) override {
        return store::ReadWhole(path, bytes);
    }
    int64_t Now() override { return store::Now(); }
};

bool IsRacy(const store::Stamp& stamp, int64_t readAt) {
    return readAt - stamp.modified <= TimestampGranularity(stamp);
}

}  // namespace

FileSystem& SystemFileSystem() {
    static RealFileSystem fs;
    return fs;
}

int64_t TimestampGranularity(const store::Stamp& stamp) {
    const int64_t second = 1000000000;
    return stamp.modified % second == 0 ? 2 * second : second / 10;
}

std::shared_ptr<const Document> FileCache::Share(const std::string& path) {
    std::string key = m_fs.Key(path);
    // The time is taken before the stamp and the bytes: a change made after
    // it shows in a later stamp or makes the entry racy.
    int64_t now = m_fs.Now();
    store::Stamp stamp;
    if (!m_fs.Stamp(path, &stamp)) {
        Forget(key);
        return nullptr;
    }
    Entry* cached = Find(key);
    if (cached && cached->stamp == stamp && !IsRacy(stamp, cached->readAt)) {
        return Touch(cached);
    }
    // A file the process has no memory for is one that cannot be read: the
    // module runs inside the station's process, which must not see it fail.
    try {
        std::string bytes;
        if (!m_fs.Read(path, &bytes)) {
            Forget(key);
            return nullptr;
        }
        if (cached && bytes == cached->document->Bytes()) {
            // Same bytes under a new stamp (attributes changed, or the same
            // text written again): the parsed document still holds.
            cached->stamp = stamp;
            cached->readAt = now;
            return Touch(cached);
        }
        return Keep(key, stamp, now, std::move(bytes));
    } catch (const std::bad_alloc&) {
        Forget(key);
        return nullptr;
    }
}

const Document* FileCache::Current(const std::string& path) {
    const std::shared_ptr<const Document> document = Share(path);
    const Entry* kept = Find(m_fs.Key(path));
    return kept && kept->document == document ? document.get() : nullptr;
}

size_t FileCache::KeptBytes() const {
    size_t total = 0;
    for (const Entry& e : m_entries) {
        total += e.footprint;
    }
    return total;
}

void FileCache::Written(const std::string& path, int64_t readAt, std::string bytes) {
    std::string key = m_fs.Key(path);
    store::Stamp stamp;
    if (m_fs.Stamp(path, &stamp)) {
        Keep(key, stamp, readAt, std::move(bytes));
    } else {
        Forget(key);
    }
}

FileCache::Entry* FileCache::Find(const std::string& key) {
    for (Entry& e : m_entries) {
        if (e.key == key) {
            return &e;
        }
    }
    return nullptr;
}

void FileCache::Forget(const std::string& key) {
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->key == key) {
            m_entries.erase(it);
            return;
        }
    }
}

std::shared_ptr<const Document> FileCache::Touch(Entry* entry) {
    entry->lastUse = ++m_clock;
    return entry->document;
}

std::shared_ptr<const Document> FileCache::Keep(const std::string& key, const store::Stamp& stamp,
                                                int64_t readAt, std::string bytes) {
    auto document = std::make_shared<const Document>(std::move(bytes));
    const size_t footprint = document->Footprint();
    Forget(key);
    if (footprint > m_budget) {
        return document;
    }
    while (!m_entries.empty() &&
           (m_entries.size() >= m_capacity || KeptBytes() + footprint > m_budget)) {
        auto oldest = m_entries.begin();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->lastUse < oldest->lastUse) {
                oldest = it;
            }
        }
        m_entries.erase(oldest);
    }
    m_entries.emplace_back();
    Entry* entry = &m_entries.back();
    entry->key = key;
    entry->stamp = stamp;
    entry->readAt = readAt;
    entry->footprint = footprint;
    entry->document = std::move(document);
    return Touch(entry);
}

}  // namespace ini
