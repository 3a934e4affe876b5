// The password gate: what the operator sees in the password dialog, what each
// answer does to the [PASSWORD] section of the job file, and whether Show
// goes on to the job settings. The same scenarios run natively and, under
// Wine, against the real Setup.dll.
#include <gtest/gtest.h>

#include <string>

#include "driver/operator.h"
#include "driver/station.h"
#include "resource.h"

#if !defined(_WIN32)
#include <sys/stat.h>

#include "module/globals.h"
#else
#include <windows.h>
#endif

namespace {

void SetReadOnly(const std::string& path) {
#if defined(_WIN32)
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
#else
    chmod(path.c_str(), 0444);
#endif
}

bool IsReadOnly(const std::string& path) {
#if defined(_WIN32)
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
#else
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
#endif
}

// Answers the password dialog with `password` and OK.
Operator::DialogHandler Enter(const std::string& password) {
    return [password](DialogDriver& d) {
        d.Type(IDC_PASSWORD, password);
        d.Click(IDOK);
    };
}

// A message box that must say `text` with the caption "Password".
Operator::MessageBoxHandler ExpectPasswordBox(const std::string& text) {
    return [text](MessageBoxSeen& m) {
        EXPECT_EQ(text, m.text);
        EXPECT_EQ("Password", m.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK), m.Buttons());
        EXPECT_EQ(IDD_PASSWORD, m.ownerTemplateId);
        return IDOK;
    };
}

// One visit in which the password dialog is answered by `handler` and no
// other window comes up: the password is refused.
int Visit(Station& station, Operator::DialogHandler handler, char language = SETUP_LANGUAGE_ENU) {
    Operator op;
    op.OnDialog(IDD_PASSWORD, std::move(handler));
    return station.Show(op, 0, language);
}

// An accepted password opens the settings sheet; it is cancelled, so that the
// job file holds only what the password dialog wrote.
void CancelSheet(Operator& op) {
    op.OnSheet([](SheetDriver& sheet) { sheet.Click(IDCANCEL); });
}

// One visit whose password `handler` accepts.
int AcceptedVisit(Station& station, Operator::DialogHandler handler) {
    Operator op;
    op.OnDialog(IDD_PASSWORD, std::move(handler));
    CancelSheet(op);
    return station.Show(op);
}

const char kDialogKeys[][2][32] = {
    {"1082", "IDS_SETUP_UI_PWD"},
    {"1077", "IDS_SETUP_UI_CHANGE_PWD"},
    {"1083", "IDS_SETUP_UI_NEW_PWD"},
    {"1084", "IDS_SETUP_UI_CHECK_PWD"},
    {"1", "IDS_SETUP_UI_OK"},
    {"2", "IDS_SETUP_UI_CANCEL"},
    {"1078", "IDS_SETUP_UI_REMEMBER_PWD"},
};

}  // namespace

// What the dialog shows when it opens, in each language; Cancel then leaves
// the job file as it was and Show returns 0.
TEST(PasswordDialog, OpensWithTranslatedTextsAndCaretInPasswordField) {
    for (int language : {SETUP_LANGUAGE_ENU, SETUP_LANGUAGE_CHT}) {
        SCOPED_TRACE("language " + std::to_string(language));
        Station station;
        const std::string job = "[Setup]\r\nCTLType=1\r\n";
        station.WriteJob(job);
        Operator op;
        op.OnDialog(IDD_PASSWORD, [&](DialogDriver& d) {
            EXPECT_EQ("PassWord", d.Caption());
            for (const auto& row : kDialogKeys) {
                EXPECT_EQ(station.Text(row[1], language), d.Text(std::stoi(row[0]))) << row[1];
            }
            EXPECT_EQ(IDC_PASSWORD, d.Focus());
            EXPECT_EQ("", d.Text(IDC_PASSWORD));
            EXPECT_NE(0, d.Style(IDC_PASSWORD) & ES_PASSWORD);
            EXPECT_FALSE(d.IsChecked(IDC_REMEMBER_PASSWORD));
            EXPECT_FALSE(d.IsChecked(IDC_CHANGE_PASSWORD));
            for (int id : {IDC_NEW_PASSWORD_LABEL, IDC_NEW_PASSWORD, IDC_CHECK_PASSWORD_LABEL,
                           IDC_CHECK_PASSWORD}) {
                EXPECT_FALSE(d.IsEnabled(id)) << id;
            }
            d.Click(IDCANCEL);
        });
        EXPECT_EQ(0, station.Show(op, 0, static_cast<char>(language)));
        EXPECT_EQ(job, station.ReadJob());
    }
}

// A job file without a [PASSWORD] section: the empty password is accepted and
// the file gains the remember flag; the settings are loaded (the load clears
// the read-only attribute of the job file, which a refused visit leaves).
TEST(PasswordDialog, EmptyPasswordAcceptedWhenNoneIsStored) {
    Station station;
    station.WriteJob("[Setup]\r\nCTLType=1\r\n");
    AcceptedVisit(station, Enter(""));
    EXPECT_EQ("[Setup]\r\nCTLType=1\r\n[PASSWORD]\r\nREMEMBER_PWD=0\r\n", station.ReadJob());

    SetReadOnly(station.JobFile());
    EXPECT_EQ(0, Visit(station, [](DialogDriver& d) { d.PressEscape(); }));
    EXPECT_TRUE(IsReadOnly(station.JobFile())) << "a refused visit loads nothing";

    AcceptedVisit(station, Enter(""));
    EXPECT_FALSE(IsReadOnly(station.JobFile())) << "an accepted visit loads the settings";
}

// Wrong passwords, letter case included, are refused with a message and the
// dialog stays open with what was typed; there is no limit on attempts.
TEST(PasswordDialog, WrongPasswordKeepsDialogOpen) {
    Station station;
    const std::string job = "[PASSWORD]\r\nPWD=Secret\r\n";
    station.WriteJob(job);
    Operator op;
    op.OnDialog(IDD_PASSWORD, [&](DialogDriver& d) {
        for (const char* attempt : {"secret", "SECRET", "Secret ", ""}) {
            op.OnMessageBox(ExpectPasswordBox(station.Text("IDS_SETUP_UI_PWD_ERROR")));
            d.Type(IDC_PASSWORD, attempt);
            d.Click(IDOK);
            EXPECT_TRUE(d.IsOpen()) << attempt;
            EXPECT_EQ(attempt, d.Text(IDC_PASSWORD));
        }
        d.CloseBox();
    });
    EXPECT_EQ(0, station.Show(op));
    EXPECT_EQ(job, station.ReadJob()) << "a wrong password writes nothing";
}

// Remember on: the next visit opens with the stored password in the masked
// field, and OK alone is accepted.
TEST(PasswordDialog, RememberedPasswordIsFilledIn) {
    Station station;
    station.WriteJob("[PASSWORD]\r\nPWD=line7\r\n");
    AcceptedVisit(station, [](DialogDriver& d) {
        d.Type(IDC_PASSWORD, "line7");
        d.Check(IDC_REMEMBER_PASSWORD);
        d.Click(IDOK);
    });
    EXPECT_EQ("[PASSWORD]\r\nPWD=line7\r\nREMEMBER_PWD=1\r\n", station.ReadJob());

    AcceptedVisit(station, [](DialogDriver& d) {
        EXPECT_TRUE(d.IsChecked(IDC_REMEMBER_PASSWORD));
        EXPECT_EQ("line7", d.Text(IDC_PASSWORD));
        EXPECT_NE(0, d.Style(IDC_PASSWORD) & ES_PASSWORD);
        d.Uncheck(IDC_REMEMBER_PASSWORD);
        d.PressEnter();
    });
    EXPECT_EQ("[PASSWORD]\r\nPWD=line7\r\nREMEMBER_PWD=0\r\n", station.ReadJob());
}

// Changing the password: the new fields follow the check box; equal new
// passwords are stored (the empty one too) and confirmed; different ones are
// refused, the remember flag of that attempt stays written, and Cancel then
// leaves the visit refused.
TEST(PasswordDialog, ChangePassword) {
    Station station;
    station.WriteJob("[PASSWORD]\r\nPWD=old\r\n");

    {
        Operator mismatch;
        mismatch.OnDialog(IDD_PASSWORD, [&](DialogDriver& d) {
            d.Check(IDC_CHANGE_PASSWORD);
            for (int id : {IDC_NEW_PASSWORD_LABEL, IDC_NEW_PASSWORD, IDC_CHECK_PASSWORD_LABEL,
                           IDC_CHECK_PASSWORD}) {
                EXPECT_TRUE(d.IsEnabled(id)) << id;
            }
            d.Type(IDC_PASSWORD, "old");
            d.Type(IDC_NEW_PASSWORD, "new1");
            d.Type(IDC_CHECK_PASSWORD, "new2");
            mismatch.OnMessageBox(ExpectPasswordBox(station.Text("IDS_SETUP_UI_PWD_DIFFERENT")));
            d.Click(IDOK);
            EXPECT_TRUE(d.IsOpen());
            d.Uncheck(IDC_CHANGE_PASSWORD);
            EXPECT_FALSE(d.IsEnabled(IDC_NEW_PASSWORD));
            EXPECT_EQ("new1", d.Text(IDC_NEW_PASSWORD)) << "disabling keeps the contents";
            d.Click(IDCANCEL);
        });
        EXPECT_EQ(0, station.Show(mismatch));
    }
    EXPECT_EQ("[PASSWORD]\r\nPWD=old\r\nREMEMBER_PWD=0\r\n", station.ReadJob());

    for (const std::string next : {"n3w", ""}) {
        SCOPED_TRACE("new password '" + next + "'");
        const std::string current =
            station.ReadJob().find("PWD=old") != std::string::npos ? "old" : "n3w";
        Operator change;
        change.OnDialog(IDD_PASSWORD, [&](DialogDriver& d) {
            d.Type(IDC_PASSWORD, current);
            d.Check(IDC_CHANGE_PASSWORD);
            d.Type(IDC_NEW_PASSWORD, next);
            d.Type(IDC_CHECK_PASSWORD, next);
            change.OnMessageBox(ExpectPasswordBox(station.Text("IDS_SETUP_UI_EDIT_SUCCESS")));
            d.Click(IDOK);
        });
        CancelSheet(change);
        station.Show(change);
        EXPECT_EQ("[PASSWORD]\r\nPWD=" + next + "\r\nREMEMBER_PWD=0\r\n", station.ReadJob());
    }

    SetReadOnly(station.JobFile());
    AcceptedVisit(station, Enter(""));
    EXPECT_FALSE(IsReadOnly(station.JobFile())) << "the empty password is accepted now";
}

// Every field takes at most 16 characters; a stored password longer than that
// (written by other means) can never be matched.
TEST(PasswordDialog, SixteenCharacterLimit) {
    Station station;
    const std::string sixteen = "0123456789abcdef";
    station.WriteJob("[PASSWORD]\r\nPWD=" + sixteen + "X\r\n");
    Operator op;
    op.OnDialog(IDD_PASSWORD, [&](DialogDriver& d) {
        d.Check(IDC_CHANGE_PASSWORD);
        for (int id : {IDC_PASSWORD, IDC_NEW_PASSWORD, IDC_CHECK_PASSWORD}) {
            d.Type(id, sixteen + "XYZ");
            EXPECT_EQ(sixteen, d.Text(id)) << id;
        }
        op.OnMessageBox(ExpectPasswordBox(station.Text("IDS_SETUP_UI_PWD_ERROR")));
        d.Click(IDOK);
        d.PressEscape();
    });
    EXPECT_EQ(0, station.Show(op));
    EXPECT_EQ("[PASSWORD]\r\nPWD=" + sixteen + "X\r\n", station.ReadJob());
}

#if !defined(_WIN32)
// A refused password leaves what the previous visit loaded (flash table, host
// parameters, job settings) while the language and the paths are the new
// call's. The globals are visible only where the module is linked in.
TEST(PasswordDialog, RefusedVisitKeepsPreviousSettings) {
    Station first;
    first.WriteJob("[PASSWORD]\r\nPWD=a\r\n[Setup]\r\nCTLType=3\r\n");
    AcceptedVisit(first, Enter("a"));
    ASSERT_EQ(&first.Table(), g_pFlashTable);
    ASSERT_EQ(3, JobSettings.Setup.CTLType);

    Station second;
    second.WriteJob("[PASSWORD]\r\nPWD=b\r\n[Setup]\r\nCTLType=4\r\n");
    EXPECT_EQ(0, Visit(
                     second, [](DialogDriver& d) { d.Click(IDCANCEL); }, SETUP_LANGUAGE_CHS));
    EXPECT_EQ(&first.Table(), g_pFlashTable);
    EXPECT_EQ(3, JobSettings.Setup.CTLType);
    EXPECT_EQ(SETUP_LANGUAGE_CHS, g_nLanguage);
    EXPECT_EQ(second.JobFile(), g_strJobFile);
    EXPECT_EQ(second.Dir(), g_strAppDir);
}
#endif
