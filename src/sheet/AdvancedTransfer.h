// The transfer of the advanced keys between the job file and another job
// file, for the sheet's export and import: the rows of the job file's schema
// with a transfer (settings/JobFileSchema.h), in table order.
#ifndef SETUP_SHEET_ADVANCEDTRANSFER_H
#define SETUP_SHEET_ADVANCEDTRANSFER_H

#include <string>

enum class TransferDirection {
    Import,  // from the other file into the job file
    Export,  // from the job file into the other file
};

// Copies the advanced keys that a job file carries between the job file
// jobFile and path. Every value the advanced settings dialog stores arrives as itself
// (the hub VID/PID list with hub port style 4); any other number arrives as
// the row's fallback, and a few of the dialog's keys do not travel, the
// target keeping its own. False, copying nothing, for an empty path; false
// too when a key could not be written.
bool CopyAdvancedSettings(TransferDirection direction, const std::string& jobFile,
                          const std::string& path);

#endif
