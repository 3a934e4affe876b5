/*
 * The host interface of Setup.dll: what a station program needs to load the
 * settings module and call it.
 *
 *   HMODULE dll = LoadLibraryA("Setup.dll");
 *   SetupShowFn show = (SetupShowFn)GetProcAddress(dll, "Show");
 *   int confirmed = show(flashIndex, language, "C:\\Tool\\", "C:\\Tool\\Job.ini",
 *                        &table, hostParams);
 */
#ifndef SETUP_HOST_H
#define SETUP_HOST_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define SETUP_CDECL __cdecl
#else
#define SETUP_CDECL
#endif

/* One flash type known to the station: records lie 96 bytes apart. */
typedef struct FlashRecord {
    char firstText[16]; /* NUL-terminated; shown before the flash name */
    char flashName[80]; /* the name stored as [Flash] FlashName; read within these bytes only */
} FlashRecord;

/* The station's flash table. The module reads it during one Show call and never writes it. */
typedef struct FlashTable {
    uint32_t reserved;          /* not read by the module */
    const FlashRecord* records; /* first record */
    int32_t count;              /* number of records; a negative count means none */
} FlashTable;

/* Size of the host parameter block that Show copies. */
#define SETUP_HOST_PARAMS_SIZE 92

/* Language indices: the sections of the language file. */
#define SETUP_LANGUAGE_ENU 0
#define SETUP_LANGUAGE_CHS 1
#define SETUP_LANGUAGE_CHT 2

/* Posted, with both parameters 0, to the station window after every confirmed sheet. */
#define SETUP_STATION_MESSAGE 1088 /* WM_USER + 64 */
#define SETUP_STATION_CLASS "ZORVEK"
#define SETUP_STATION_TITLE "DataTransfer"

/*
 * One editing visit: asks for the password, loads the job settings and runs
 * the settings sheet. appDir ends in a backslash; both strings are copied.
 * Returns 1 when the operator confirmed the sheet, 0 otherwise.
 *
 * Call it on the station's user-interface thread (the thread whose windows
 * the module's dialogs belong to, pumping its messages): the visit runs its
 * own modal loops there and returns when the operator is done. One visit at
 * a time: a call made while a visit runs, from that thread (a message handled
 * during the visit) or from any other, returns 0 at once and shows nothing.
 */
int SETUP_CDECL Show(int flashIndex, char language, const char* appDir, const char* jobFile,
                     const FlashTable* table, const void* hostParams);

typedef int(SETUP_CDECL* SetupShowFn)(int, char, const char*, const char*, const FlashTable*,
                                      const void*);

#ifdef __cplusplus
}
#endif

#endif /* SETUP_HOST_H */
