#pragma once
// Start-up: find and open the package, read the configuration, check the
// identity, make the folders, provision the browser and apply the password.
#include "platform/program_image.h"
#include "platform/ustring.h"
#include "runtime/startup_host.h"
#include "runtime/startup_values.h"

namespace vantrel {

// Returns only when start-up may go on; every other outcome ends the process
// by throwing EProcessExit (orderly) or an error (exit code 1).
void LoadExeZip(IStartupHost& host, const IProgramImage& program, TStartupValues& values);

// Fills values.ProjectINI from the package's "vtl.ini" (empty when absent).
void LoadProjectINI(TStartupValues& values);

// Shows message `index` as a one-button error box in the user's language.
void ShowFatalMessage(IStartupHost& host, int index);

// The program entry: start-up, single-instance rule, main window. Returns
// the process's exit code.
int RunProgram(IStartupHost& host, const IProgramImage& program, TStartupValues& values);

// The per-application folder: the local application-data folder, the
// identifier and a backslash. Throws for an identifier that is not a plain
// folder name, so a deletion of this folder can never reach anything else.
ustring AppDataFolderFor(const ustring& localAppDataDirPath, const ustring& appId);

// Appends a backslash unless the text already ends with one.
ustring IncludeTrailingBackslash(const ustring& path);

}  // namespace vantrel
