#pragma once

#include <QString>

namespace platform {

// The Wine prefix that holds the Windows drives: $WINEPREFIX, or ~/.wine when it is unset.
QString WinePrefix();

// Maps a path as the program writes it to the path of the host file system.
// - "X:\a\b" (drive letter) lies under $WINEPREFIX/dosdevices/x: (drive C falls back to
//   $WINEPREFIX/drive_c when that link is missing);
// - a relative path with backslashes resolves against the working directory;
// - a host path ("/home/...") passes unchanged.
// Each component is matched against the existing entries without regard to case, as Windows
// does, and a short name such as PROGRA~1 stands for the long name it abbreviates; a component
// that does not exist keeps its spelling.
QString HostPath(const QString& path);

// The Windows form of a host path that lies on one of the Wine prefix's drives, as the game
// sees it ("/root/.wine/drive_c/Games/IWAR.EXE" gives "C:\Games\IWAR.EXE"); the drive whose
// folder lies deepest wins. Links are followed on both sides, so a path through
// $WINEPREFIX/dosdevices/c: is as much on drive C as one through drive_c. Any other path comes
// back unchanged.
QString WindowsPath(const QString& path);

}  // namespace platform
