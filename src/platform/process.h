#pragma once

#include <QString>

#include "platform/status.h"

namespace platform {

// Starts the program of a command line as Windows does and returns at once, without waiting
// for it; taskId receives the started process's id.
// - The program path comes first. Quoted, it ends at the closing quote. Unquoted, each
//   blank-separated beginning of the line is tried in turn (".EXE" added when its file name has
//   no extension) and the first that names an existing file is the program, so
//   "C:\PROGRAM FILES\GAME\IWAR.EXE -w" needs no quotes.
// - The rest of the line gives the arguments: blanks separate them, double quotes group them.
// - A Windows executable (a file starting with "MZ") runs under `wine` from PATH; any other file
//   runs directly. Either way it runs in the process's working directory.
// A failure leaves taskId alone and names the program path in its message.
Status StartProcess(const QString& commandLine, qint64& taskId);

// Whether the process that StartProcess gave this id is still running.
bool IsRunning(qint64 taskId);

}  // namespace platform
