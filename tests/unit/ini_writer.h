// A job file that a writer process saves over and over, whole, one version
// after another, for the tests that kill or stop a save half-way. Every
// version has the same layout, so the bytes of a file say which version it
// is and whether it is whole.
#ifndef SETUP_TESTS_INI_WRITER_H
#define SETUP_TESTS_INI_WRITER_H

#include <string>

namespace initest {

// The bytes of version `version` of the file.
std::string WriterFileBytes(unsigned version);

// The version whose bytes these are, or -1 when they are no whole version.
long WriterFileVersion(const std::string& bytes);

// Saves version `version` over the file at path in one save (one WriteBatch,
// one atomic replacement). False when the save failed.
bool SaveWriterVersion(const std::string& path, unsigned version);

// The writer's loop: saves versions first, first + 1, ... until the file
// stopFile exists (or for ever when stopFile is empty). Returns the process's
// exit code: 0, or 3 when a save failed.
int RunWriter(const std::string& path, unsigned first, const std::string& stopFile);

}  // namespace initest

#endif
