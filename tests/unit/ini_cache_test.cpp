// The cache of parsed files on a file system the test controls: what it
// reads again and when, in particular a file rewritten within one tick of
// its timestamp, which leaves the stamp unchanged.
#include <map>
#include <memory>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "platform/ini_cache.h"

namespace {

const int64_t kSecond = 1000000000;

class FakeFileSystem : public ini::FileSystem {
public:
    struct File {
        std::string bytes;
        ini::store::Stamp stamp;
    };

    std::string Key(const std::string& path) override { return path; }
    bool Stamp(const std::string& path, ini::store::Stamp* stamp) override {
        auto it = files.find(path);
        if (it == files.end()) {
            return false;
        }
        *stamp = it->second.stamp;
        return true;
    }
    bool Read(const std::string& path, std::string* bytes) override {
        ++reads;
        auto it = files.find(path);
        if (it == files.end()) {
            return false;
        }
        *bytes = it->second.bytes;
        return true;
    }
    int64_t Now() override { return now; }

    // Ten seconds pass: every stamp so far is old enough to be trusted.
    void Settle() { now += 10 * kSecond; }

    // Writes the file as of now, with the stamp a file system of the given
    // timestamp granularity would give it.
    void Write(const std::string& path, const std::string& bytes, int64_t granularity = 1) {
        File& f = files[path];
        f.bytes = bytes;
        f.stamp.size = bytes.size();
        f.stamp.modified = now - now % granularity;
        f.stamp.changed = f.stamp.modified;
    }

    std::map<std::string, File> files;
    int64_t now = 1700000000 * kSecond + 123456789;
    int reads = 0;
};

std::string Value(ini::FileCache& cache, const std::string& path) {
    const ini::Document* doc = cache.Current(path);
    if (!doc) {
        return "<none>";
    }
    const ini::Document::Entry* e = doc->FindEntry(doc->FindSection("S"), "k");
    return e ? std::string(e->value) : "<missing>";
}

// Each test's own file system, as the cache sees it.
class IniCache : public ::testing::Test {
protected:
    FakeFileSystem fs;
};

TEST_F(IniCache, SettledFileIsReadOnce) {
    ini::FileCache cache(fs);
    fs.Write("a.ini", "[S]\r\nk=1\r\n");
    fs.Settle();
    EXPECT_EQ("1", Value(cache, "a.ini"));
    EXPECT_EQ("1", Value(cache, "a.ini"));
    EXPECT_EQ("1", Value(cache, "a.ini"));
    EXPECT_EQ(1, fs.reads);
}

TEST_F(IniCache, RewriteWithinOneTickIsSeen) {
    ini::FileCache cache(fs);
    fs.Write("a.ini", "[S]\r\nk=1\r\n");
    EXPECT_EQ("1", Value(cache, "a.ini"));
    // Same size, same times: only the bytes tell.
    fs.files["a.ini"].bytes = "[S]\r\nk=2\r\n";
    EXPECT_EQ("2", Value(cache, "a.ini"));
    EXPECT_EQ(2, fs.reads);

    // Quiet for longer than the granularity: one more comparison, then the
    // cached copy is trusted.
    fs.now += kSecond;
    EXPECT_EQ("2", Value(cache, "a.ini"));
    EXPECT_EQ(3, fs.reads);
    EXPECT_EQ("2", Value(cache, "a.ini"));
    EXPECT_EQ(3, fs.reads);
}

TEST_F(IniCache, WholeSecondTimestampsAreTrustedAfterTwoSeconds) {
    ini::FileCache cache(fs);
    fs.Write("fat.ini", "[S]\r\nk=1\r\n", 2 * kSecond);
    fs.now += kSecond;
    EXPECT_EQ("1", Value(cache, "fat.ini"));
    fs.files["fat.ini"].bytes = "[S]\r\nk=2\r\n";
    EXPECT_EQ("2", Value(cache, "fat.ini"));
    fs.now += 2 * kSecond;
    EXPECT_EQ("2", Value(cache, "fat.ini"));
    int reads = fs.reads;
    EXPECT_EQ("2", Value(cache, "fat.ini"));
    EXPECT_EQ(reads, fs.reads);
}

TEST_F(IniCache, ChangedStampIsReadAgain) {
    ini::FileCache cache(fs);
    fs.Write("a.ini", "[S]\r\nk=1\r\n");
    fs.Settle();
    EXPECT_EQ("1", Value(cache, "a.ini"));
    fs.files["a.ini"].bytes = "[S]\r\nk=2\r\n";
    fs.files["a.ini"].stamp.changed += 1;
    EXPECT_EQ("2", Value(cache, "a.ini"));
    fs.files["a.ini"].bytes = "[S]\r\nk=3\r\n";
    fs.files["a.ini"].stamp.identity += 1;
    EXPECT_EQ("3", Value(cache, "a.ini"));
}

// Setting a file's attributes changes its stamp, not its bytes (the settings
// load does so on every visit): the file is compared, not parsed again.
TEST_F(IniCache, SameBytesUnderANewStampKeepTheDocument) {
    ini::FileCache cache(fs);
    fs.Write("a.ini", "[S]\r\nk=1\r\n");
    fs.Settle();
    const ini::Document* first = cache.Current("a.ini");
    fs.files["a.ini"].stamp.changed += 1;
    EXPECT_EQ(first, cache.Current("a.ini"));
    EXPECT_EQ(2, fs.reads);
    EXPECT_EQ(first, cache.Current("a.ini")) << "the new stamp is remembered";
    EXPECT_EQ(2, fs.reads);
}

// A shared document stays whole after the cache reads the file again and
// after it drops the file for another.
TEST_F(IniCache, SharedDocumentOutlivesItsEntry) {
    ini::FileCache cache(fs, 1);
    fs.Write("a.ini", "[S]\r\nk=1\r\n");
    fs.Write("b.ini", "[S]\r\nk=b\r\n");
    fs.Settle();
    const std::shared_ptr<const ini::Document> held = cache.Share("a.ini");
    ASSERT_TRUE(held);
    fs.Write("a.ini", "[S]\r\nk=22\r\n");
    EXPECT_EQ("22", Value(cache, "a.ini"));
    EXPECT_EQ("b", Value(cache, "b.ini"));  // a.ini leaves the cache
    const ini::Document::Entry* e = held->FindEntry(held->FindSection("S"), "k");
    ASSERT_NE(nullptr, e);
    EXPECT_EQ("1", e->value);
}

TEST_F(IniCache, VanishedFile) {
    ini::FileCache cache(fs);
    fs.Write("a.ini", "[S]\r\nk=1\r\n");
    fs.Settle();
    EXPECT_EQ("1", Value(cache, "a.ini"));
    fs.files.erase("a.ini");
    EXPECT_EQ("<none>", Value(cache, "a.ini"));
    fs.Write("a.ini", "[S]\r\nk=1\r\n");
    fs.Settle();
    EXPECT_EQ("1", Value(cache, "a.ini"));
    EXPECT_EQ(2, fs.reads);
}

TEST_F(IniCache, OwnWriteNeedsNoRead) {
    ini::FileCache cache(fs);
    int64_t before = fs.now;
    fs.Write("a.ini", "[S]\r\nk=9\r\n");
    cache.Written("a.ini", before, "[S]\r\nk=9\r\n");
    fs.Settle();
    EXPECT_EQ("9", Value(cache, "a.ini"));
    EXPECT_EQ(1, fs.reads);  // the one comparison a fresh write calls for
    EXPECT_EQ("9", Value(cache, "a.ini"));
    EXPECT_EQ(1, fs.reads);
}

TEST_F(IniCache, LeastRecentlyUsedFileMakesRoom) {
    ini::FileCache cache(fs, 2);
    fs.Write("a.ini", "[S]\r\nk=a\r\n");
    fs.Write("b.ini", "[S]\r\nk=b\r\n");
    fs.Write("c.ini", "[S]\r\nk=c\r\n");
    fs.Settle();
    Value(cache, "a.ini");
    Value(cache, "b.ini");
    Value(cache, "a.ini");
    Value(cache, "c.ini");  // b goes
    EXPECT_EQ(3, fs.reads);
    EXPECT_EQ("a", Value(cache, "a.ini"));
    EXPECT_EQ(3, fs.reads);
    EXPECT_EQ("b", Value(cache, "b.ini"));
    EXPECT_EQ(4, fs.reads);
}

// What the cache keeps stays in the station's process after a visit: the
// parsed files it keeps are held to a memory budget, the least recently
// used going first, and a file larger than the budget is parsed for each
// use and never kept. A file the process has no memory for reads as none.
TEST_F(IniCache, KeepsParsedFilesWithinItsBudget) {
    const std::string small = "[S]\r\nk=s\r\n";
    const std::string half = "[S]\r\nk=h\r\n;" + std::string(2000, 'x') + "\r\n";
    const std::string large = "[S]\r\nk=l\r\n;" + std::string(5000, 'x') + "\r\n";
    ini::FileCache cache(fs, 8, ini::Document(half).Footprint() * 3 / 2);
    fs.Write("small.ini", small);
    fs.Write("a.ini", half);
    fs.Write("b.ini", half);
    fs.Write("large.ini", large);
    fs.Settle();

    for (int use = 1; use <= 2; ++use) {
        const std::shared_ptr<const ini::Document> doc = cache.Share("large.ini");
        ASSERT_TRUE(doc);
        EXPECT_EQ("l", doc->FindEntry(doc->FindSection("S"), "k")->value);
        EXPECT_EQ(use, fs.reads) << "a file beyond the budget is read for each use";
    }
    EXPECT_EQ(nullptr, cache.Current("large.ini"));
    EXPECT_EQ(0u, cache.KeptBytes());

    EXPECT_EQ("h", Value(cache, "a.ini"));
    EXPECT_EQ("s", Value(cache, "small.ini"));
    EXPECT_EQ("h", Value(cache, "b.ini"));  // a.ini goes: both would pass the budget
    EXPECT_LE(cache.KeptBytes(), ini::Document(half).Footprint() * 3 / 2);
    const int reads = fs.reads;
    EXPECT_EQ("s", Value(cache, "small.ini"));
    EXPECT_EQ("h", Value(cache, "b.ini"));
    EXPECT_EQ(reads, fs.reads);
    EXPECT_EQ("h", Value(cache, "a.ini"));
    EXPECT_EQ(reads + 1, fs.reads);

    class NoMemory : public FakeFileSystem {
    public:
        bool Read(const std::string&, std::string*) override { throw std::bad_alloc(); }
    } starved;
    starved.Write("a.ini", small);
    ini::FileCache starvedCache(starved);
    EXPECT_EQ(nullptr, starvedCache.Share("a.ini"));
}

}  // namespace
