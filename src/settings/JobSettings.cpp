#include "settings/JobSettings.h"

#include "platform/files.h"
#include "platform/ini.h"
#include "settings/JobFileSchema.h"

namespace {

// Read when the job file cannot be opened; looked up in the current directory.
const char kFallbackJobFile[] = "TLMQW.ini";

std::string InCurrentDirectory(const char* name) {
    std::string dir = files::CurrentDirectory();
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') {
        dir += '\\';
    }
    return dir + name;
}

}  // namespace

uint32_t CJobSettings::ParseFlashIdByte(const std::string& piece) {
    size_t start = piece.find_first_of("xX");
    start = (start == std::string::npos) ? 0 : start + 1;
    if (start >= piece.size()) {
        return 0;
    }
    uint32_t value = 0;
    for (size_t i = start; i < piece.size(); ++i) {
        const char c = piece[i];
        uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else {
            return 0;
        }
        value = (value << 4) + digit;
    }
    return value;
}

std::string CJobSettings::FileToLoad(const std::string& path) {
    if (files::CanOpenForReading(path)) {
        return path;
    }
    std::string fallback = InCurrentDirectory(kFallbackJobFile);
    if (files::CanOpenForReading(fallback)) {
        return fallback;
    }
    return std::string();
}

int CJobSettings::Load(std::string path) {
    path = FileToLoad(path);
    if (path.empty() || !files::SetNormalAttributes(path)) {
        return 0;
    }
    // One look at the file for every key: it is checked for changes once. A
    // file that cannot be read whole (it grew beyond the limit, a read
    // failed) loads nothing rather than every setting's default.
    const ini::ReadView file(path);
    if (!file.IsRead()) {
        return 0;
    }
    jobsettings::LoadRows(file, *this);
    return 1;
}
