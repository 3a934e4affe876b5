// Held-back writes (ini::WriteBatch): reads see them at once, files change
// only when the batch commits, each once, and end up exactly as the same
// writes made one by one would leave them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini_test_support.h"
#include "platform/ini.h"

using initest::ReadBytes;
using initest::WriteBytes;

namespace {

struct Write {
    const char* file;
    const char* section;
    const char* key;
    const char* value;  // nullptr deletes the key
};

// A run of writes over two files: new sections and keys, a changed value, a
// deletion, and a write that changes nothing.
const Write kWrites[] = {
    {"a.ini", "Setup", "CTLType", "3"},   {"a.ini", "Flash", "FlashNum", "2"},
    {"b.ini", "BIN", "ShowBin", "1"},     {"a.ini", "Setup", "CTLType", "4"},
    {"a.ini", "Old", "Gone", nullptr},    {"a.ini", "Setup", "Kept", "same"},
    {"b.ini", "U3BIN", "ShowU3Bin", "0"}, {"a.ini", "Sorting", "ECC", "255"},
};

const char kStartA[] = "; job\r\n[Setup]\r\nKept=same\r\n[Old]\r\nGone=1\r\nStays=2\r\n";

void WriteAll(const initest::ScratchDir& dir) {
    for (const Write& w : kWrites) {
        EXPECT_TRUE(ini::WriteString(w.section, w.key, w.value, dir.File(w.file).c_str()))
            << w.file << " " << w.key;
    }
}

}  // namespace

TEST(IniWriteBatch, FilesChangeOnlyAtCommitAndAsSingleWritesWouldLeaveThem) {
    initest::ScratchDir single;
    WriteBytes(single.File("a.ini"), kStartA);
    WriteAll(single);

    initest::ScratchDir batched;
    WriteBytes(batched.File("a.ini"), kStartA);
    {
        ini::WriteBatch batch;
        WriteAll(batched);
        EXPECT_EQ(kStartA, ReadBytes(batched.File("a.ini"))) << "held back";
        EXPECT_FALSE(initest::fs::exists(batched.File("b.ini")));
        // Reads see what is held back.
        EXPECT_EQ("4", ini::GetString("Setup", "CTLType", "", batched.File("a.ini")));
        EXPECT_EQ(255u, ini::GetInt("Sorting", "ECC", 0, batched.File("a.ini").c_str()));
        EXPECT_EQ("", ini::GetString("Old", "Gone", "", batched.File("a.ini")));
        EXPECT_EQ("1", ini::GetString("BIN", "ShowBin", "", batched.File("b.ini")));

        EXPECT_TRUE(batch.Commit().empty());
        EXPECT_EQ(ReadBytes(single.File("a.ini")), ReadBytes(batched.File("a.ini")));
        EXPECT_EQ(ReadBytes(single.File("b.ini")), ReadBytes(batched.File("b.ini")));
        EXPECT_EQ(2u, batched.Count()) << "no temporary file is left";

        // After a commit the batch holds back again.
        EXPECT_TRUE(ini::WriteString("Setup", "CTLType", "5", batched.File("a.ini").c_str()));
        EXPECT_EQ(ReadBytes(single.File("a.ini")), ReadBytes(batched.File("a.ini")));
    }
    EXPECT_EQ("5", ini::GetString("Setup", "CTLType", "", batched.File("a.ini")))
        << "closing the batch writes what it still held";
    EXPECT_NE(std::string::npos, ReadBytes(batched.File("a.ini")).find("CTLType=5"));
}

// Only the outermost batch writes.
TEST(IniWriteBatch, NestedBatchesWriteOnceAtTheOutermost) {
    initest::ScratchDir dir;
    const std::string path = dir.File("job.ini");
    ini::WriteBatch outer;
    {
        ini::WriteBatch inner;
        EXPECT_TRUE(ini::WriteString("S", "k", "1", path.c_str()));
        EXPECT_TRUE(inner.Commit().empty());
    }
    EXPECT_FALSE(initest::fs::exists(path));
    EXPECT_TRUE(outer.Commit().empty());
    EXPECT_EQ("[S]\r\nk=1\r\n", ReadBytes(path));
}

// A file that cannot be written is named by Commit and its keys are dropped;
// the other files are written. A read-only file refuses the write at once.
TEST(IniWriteBatch, FailuresAreReported) {
    initest::ScratchDir dir;
    const std::string good = dir.File("good.ini");
    const std::string blocked = dir.File("blocked.ini");
    const std::string missingFolder = dir.File("missing") + "/job.ini";
    const std::string readOnly = dir.File("readonly.ini");
    initest::fs::create_directory(blocked);  // a folder where the file would go
    WriteBytes(readOnly, "[S]\r\nk=0\r\n");
    initest::SetReadOnly(readOnly, true);

    ini::WriteBatch batch;
    EXPECT_TRUE(ini::WriteString("S", "k", "1", blocked.c_str()));
    EXPECT_TRUE(ini::WriteString("S", "k", "1", good.c_str()));
    EXPECT_TRUE(ini::WriteString("S", "k", "1", missingFolder.c_str()));
    EXPECT_FALSE(ini::WriteString("S", "k", "1", readOnly.c_str()));
    EXPECT_FALSE(ini::WriteString("S", "k", "0", readOnly.c_str()))
        << "refused though it changes nothing, as a single write is";

    EXPECT_EQ((std::vector<std::string>{blocked, missingFolder}), batch.Commit());
    EXPECT_EQ("[S]\r\nk=1\r\n", ReadBytes(good));
    EXPECT_EQ("-", ini::GetString("S", "k", "-", missingFolder)) << "dropped";
    EXPECT_EQ("[S]\r\nk=0\r\n", ReadBytes(readOnly));
    initest::SetReadOnly(readOnly, false);
}

// Discard drops what the batch held: the files stay as they were and reads
// see them so again; a nested batch's Discard leaves the outer batch's writes
// alone.
TEST(IniWriteBatch, DiscardLeavesTheFilesAsTheyWere) {
    initest::ScratchDir dir;
    const std::string existing = dir.File("a.ini");
    const std::string fresh = dir.File("new.ini");
    WriteBytes(existing, kStartA);
    {
        ini::WriteBatch batch;
        WriteAll(dir);
        EXPECT_TRUE(ini::WriteString("S", "k", "1", fresh.c_str()));
        {
            ini::WriteBatch inner;
            inner.Discard();
        }
        EXPECT_EQ("4", ini::GetString("Setup", "CTLType", "", existing)) << "still held";
        batch.Discard();
        EXPECT_EQ("", ini::GetString("Setup", "CTLType", "", existing));
        EXPECT_EQ("1", ini::GetString("Old", "Gone", "", existing));
        EXPECT_TRUE(batch.Commit().empty());
    }
    EXPECT_EQ(kStartA, ReadBytes(existing));
    EXPECT_FALSE(initest::fs::exists(fresh));
    EXPECT_FALSE(initest::fs::exists(dir.File("b.ini")));
    EXPECT_EQ(1u, dir.Count());
}
