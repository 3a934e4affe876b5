// Helpers of the export and import scenarios: folders and the read-only
// attribute on both systems, folders compared as the system compares them,
// and the operator's part of an export or an import (the file dialog and
// the message that follows).
#ifndef SETUP_TESTS_SCENARIO_TRANSFER_SUPPORT_H
#define SETUP_TESTS_SCENARIO_TRANSFER_SUPPORT_H

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"

namespace transfertest {

#if defined(_WIN32)
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

inline std::string Join(const std::string& folder, const std::string& name) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) {
        return folder + name;
    }
    return folder + kSeparator + name;
}

inline std::string MakeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path), error);
    if (error) {
        ADD_FAILURE() << "cannot create the folder " << path << ": " << error.message();
    }
    return path;
}

// The read-only attribute (natively the owner's write bit).
inline void SetReadOnly(const std::string& path, bool readOnly) {
    namespace fs = std::filesystem;
    const fs::perms write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    std::error_code error;
    fs::permissions(fs::path(path), write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add, error);
    if (error) {
        ADD_FAILURE() << "cannot change the attributes of " << path << ": " << error.message();
    }
}

inline bool IsReadOnly(const std::string& path) {
    namespace fs = std::filesystem;
    return (fs::status(fs::path(path)).permissions() & fs::perms::owner_write) == fs::perms::none;
}

// Two spellings of one folder: a trailing separator aside, and on Windows
// letter case and either separator.
inline ::testing::AssertionResult SameFolder(const std::string& expected,
                                             const std::string& actual) {
    auto norm = [](std::string folder) {
#if defined(_WIN32)
        for (char& c : folder) {
            c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
#endif
        while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) {
            folder.pop_back();
        }
        return folder;
    };
    if (norm(expected) == norm(actual)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the folder is " << actual << ", not " << expected;
}

// The operator's part of an export (Save) or an import (Open) of `path`: the
// file dialog as the sheet opens it (its folder checked when one is given),
// then the message that ends the operation, answered OK and returned through
// `text`.
inline void QueueTransfer(Operator& op, const Station& station, FileDialogSeen::Kind kind,
                          const std::string& path, std::string* text,
                          const std::string& folder = std::string()) {
    op.OnFileDialog([&station, kind, path, folder](FileDialogSeen& f) {
        EXPECT_EQ(kind, f.kind);
        EXPECT_EQ(station.Text(kind == FileDialogSeen::Save ? "IDS_SETUP_UI_EXPORT_TITLE"
                                                            : "IDS_SETUP_UI_IMPORT_TITLE"),
                  f.title);
        EXPECT_EQ(std::vector<std::string>{"Job Files (*.ini)"}, f.filters);
        EXPECT_TRUE(f.hideReadOnly);
        if (!folder.empty()) {
            EXPECT_TRUE(SameFolder(folder, f.folder));
        }
        return FileChoice::Path(path);
    });
    op.OnMessageBox([&station, text](MessageBoxSeen& m) {
        EXPECT_EQ(station.Text("IDS_SETUP_MESSAGE_NOTE"), m.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK), m.Buttons());
        *text = m.text;
        return IDOK;
    });
}

inline void QueueExport(Operator& op, const Station& station, const std::string& path,
                        std::string* text, const std::string& folder = std::string()) {
    QueueTransfer(op, station, FileDialogSeen::Save, path, text, folder);
}

inline void QueueImport(Operator& op, const Station& station, const std::string& path,
                        std::string* text, const std::string& folder = std::string()) {
    QueueTransfer(op, station, FileDialogSeen::Open, path, text, folder);
}

}  // namespace transfertest

#endif
