// The shell: opening a file, a link or a mail address with the program the
// system has for it.
//
// Functions in this file:
//   ShellExecute   ask the shell to run a verb on a file, a link or an address
#ifndef SETUP_FRAMEWORK_SHELL_H
#define SETUP_FRAMEWORK_SHELL_H

#include "framework/winapi.h"

namespace fw {

class CWnd;

// Asks the shell to run a verb (nullptr: the file's default verb) on a file,
// a link or a mail address. The result is the shell's: greater than 32 when
// the request was accepted.
HINSTANCE ShellExecute(CWnd* pOwner, LPCSTR lpszVerb, LPCSTR lpszFile, LPCSTR lpszParameters,
                       LPCSTR lpszDirectory, INT nShowCmd);

}  // namespace fw

#endif
