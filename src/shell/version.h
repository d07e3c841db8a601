#pragma once

#include <QString>

namespace shell {

struct ProgramVersion {
    int major;
    int minor;
    int revision;
};

// The project version of the top-level CMakeLists.txt.
inline constexpr ProgramVersion kProgramVersion{ORBISCRIBE_VERSION_MAJOR, ORBISCRIBE_VERSION_MINOR,
                                                ORBISCRIBE_VERSION_REVISION};

// The comments field of the program's version information.
inline const QString kProgramComments =
    QStringLiteral("Made by players of Independence War for its mission authors.");

// "1.1.3": the three numbers in plain decimal, joined by ".".
inline QString VersionNumber(ProgramVersion version)
{
    return QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision);
}

// "Version 1.1.3".
inline QString VersionText(ProgramVersion version)
{
    return QStringLiteral("Version ") + VersionNumber(version);
}

}  // namespace shell
