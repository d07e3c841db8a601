#pragma once

#include <QString>

namespace shell {

struct ProgramVersion {
    int major;
    int minor;
    int revision;
};

// Kept equal to the project version in the top-level CMakeLists.txt.
inline constexpr ProgramVersion kProgramVersion{1, 1, 3};

// "Version 1.1.3": the three numbers in plain decimal, joined by ".".
inline QString VersionText(ProgramVersion version)
{
    return QStringLiteral("Version %1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision);
}

}  // namespace shell
