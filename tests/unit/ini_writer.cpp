#include "unit/ini_writer.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ini.h"

namespace initest {

namespace {

// A few long keys: a file of about 4 KB, whose save costs little.
const int kKeys = 8;

std::string Value(unsigned version, int key) {
    char head[32];
    std::snprintf(head, sizeof head, "%u-%02d-", version, key);
    std::string text(head);
    while (text.size() < 500) {
        text += "abcdefghijklmnopqrstuvwxyz0123456789";
    }
    return text;
}

std::string KeyName(int key) {
    char name[16];
    std::snprintf(name, sizeof name, "Key%02d", key);
    return name;
}

}  // namespace

std::string WriterFileBytes(unsigned version) {
    std::string bytes = "[Job]\r\nVersion=" + std::to_string(version) + "\r\n[Data]\r\n";
    for (int key = 0; key < kKeys; ++key) {
        bytes += KeyName(key) + "=" + Value(version, key) + "\r\n";
    }
    return bytes;
}

long WriterFileVersion(const std::string& bytes) {
    const std::string head = "[Job]\r\nVersion=";
    if (bytes.compare(0, head.size(), head) != 0) {
        return -1;
    }
    char* end = nullptr;
    const unsigned long version = std::strtoul(bytes.c_str() + head.size(), &end, 10);
    if (end == bytes.c_str() + head.size() ||
        bytes != WriterFileBytes(static_cast<unsigned>(version))) {
        return -1;
    }
    return static_cast<long>(version);
}

bool SaveWriterVersion(const std::string& path, unsigned version) {
    ini::WriteBatch batch;
    bool ok = ini::WriteInt("Job", "Version", static_cast<int32_t>(version), path);
    for (int key = 0; key < kKeys; ++key) {
        ok = ini::WriteString("Data", KeyName(key).c_str(), Value(version, key), path) && ok;
    }
    return batch.Commit().empty() && ok;
}

int RunWriter(const std::string& path, unsigned first, const std::string& stopFile) {
    for (unsigned version = first;; ++version) {
        std::error_code error;
        if (!stopFile.empty() && std::filesystem::exists(stopFile, error)) {
            return 0;
        }
        if (!SaveWriterVersion(path, version)) {
            return 3;
        }
    }
}

}  // namespace initest
