// A station for one test: a fresh folder with the language file, a job file
// and a flash table, and the call of Show as the station program makes it.
// Natively Show is the one linked into the tests; on Windows it is the real
// Setup.dll next to the test program, loaded as a host loads it.
//
//   Station station;
//   station.WriteJob("[PASSWORD]\r\nPWD=secret\r\n");
//   Operator op;
//   op.OnDialog(IDD_PASSWORD, [](DialogDriver& d) { ... });
//   EXPECT_EQ(0, station.Show(op));
//
// Classes in this file: Station, StationWindow.
#ifndef SETUP_TESTS_DRIVER_STATION_H
#define SETUP_TESTS_DRIVER_STATION_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "driver/operator.h"
#include "setup/host.h"

class Station {
public:
    Station();   // the folder, an English/Chinese language file, an empty job file, two flash types
    ~Station();  // removes the folder
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    // The host directory as Show gets it: ends with the separator.
    const std::string& Dir() const { return m_appDir; }
    const std::string& JobFile() const { return m_jobFile; }
    std::string Path(const std::string& name) const;  // a file in the station folder

    void WriteJob(const std::string& content) const { WriteFile(m_jobFile, content); }
    std::string ReadJob() const { return ReadFile(m_jobFile); }
    static void WriteFile(const std::string& path, const std::string& content);
    static std::string ReadFile(const std::string& path);
    static bool FileExists(const std::string& path);

    // The language file: one section per language (0 "ENU", 1 "CHS", 2 "CHT").
    // Every key the module uses has a text; CHS and CHT texts are the English
    // ones behind "CHS " and "CHT " unless set.
    std::string Text(const std::string& key, int language = SETUP_LANGUAGE_ENU) const;
    void SetText(const std::string& key, const std::string& text,
                 int language = SETUP_LANGUAGE_ENU);
    void RemoveText(const std::string& key, int language = SETUP_LANGUAGE_ENU);
    void RemoveLanguageFile() const;

    // The flash table: first text and flash name of each record.
    void SetFlashTypes(const std::vector<std::pair<std::string, std::string>>& types);
    const FlashTable& Table() const { return m_table; }

    // One editing visit, driven by `op`. Returns what Show returned.
    int Show(Operator& op, int flashIndex = 0, char language = SETUP_LANGUAGE_ENU);
    // Show called with this station's arguments on a thread of its own (while
    // this one is inside a visit, say); returns what it returned once that
    // thread ended. A window it opened would have no operator.
    int ShowOnAnotherThread();

private:
    void WriteLanguageFile() const;

    std::string m_startDir;  // the current directory when the station was made
    std::string m_folder;    // without the trailing separator
    std::string m_appDir;    // with it
    std::string m_jobFile;
    std::map<std::string, std::string> m_texts[3];
    std::vector<FlashRecord> m_records;
    FlashTable m_table;
    unsigned char m_hostParams[SETUP_HOST_PARAMS_SIZE];
};

// A top-level window of the station that the module may find by class and
// title and post to (the data-transfer window). Records what was posted.
class StationWindow {
public:
    StationWindow(const std::string& className, const std::string& title);
    ~StationWindow();
    StationWindow(const StationWindow&) = delete;
    StationWindow& operator=(const StationWindow&) = delete;

    HWND Hwnd() const { return m_hwnd; }
    // The messages posted to the window so far, in order (the queue is
    // pumped first, as the station's loop would).
    std::vector<UINT> Received();

private:
    HWND m_hwnd;
    std::vector<UINT> m_received;
};

#endif
