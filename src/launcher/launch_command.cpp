#include "launcher/launch_command.h"

#include "platform/text_file.h"
#include "shell/options.h"

namespace launcher {

const std::array<LaunchSwitch, 14> kLaunchSwitches{{
    {0x1, "chkWindowed", "Windowed", " -w "},
    {0x2, "chkdebug", "Debug Mode", " -debugscript "},
    {0x4, "chkcheats", "Cheat Mode", " -powers "},
    {0x8, "chk3dfx", "3Dfx Mode", " -b -16 "},
    {0x10, "chkNoSlab", "No Slab", " -noslab "},
    {0x20, "chkarcade", "Arcade", " -arcade "},
    {0x40, "chk800x600", "800x600", " -800x600 "},
    {0x80, "optEnglish", "English", " -english "},
    {0x100, "optFrench", "French", " -french "},
    {0x200, "optGerman", "German", " -german "},
    {0x400, "chklod", "LOD Unfixed", " -nolodfix "},
    {0x800, "chkNoLogo", "No Logo", " -nologos "},
    {0x1000, "chkLagrange", "LaGrange", " -lagrange "},
    {0x2000, "chkDisk", "Disk", ""},
}};

namespace {

// The switch texts of the set bits, in table order, joined as they are (neighbours end up two
// blanks apart). Bits above the table are ignored.
QString SwitchText(qint16 launchFlags)
{
    QString text;
    for (const LaunchSwitch& launchSwitch : kLaunchSwitches) {
        if (launchFlags & launchSwitch.bit)
            text += QLatin1String(launchSwitch.switchText);
    }
    return text;
}

}  // namespace

platform::Status BuildLaunchCommand(const QString& gamePath, const QString& scriptPath,
                                    QString& commandLine)
{
    if (platform::Status copied = platform::CopyFile(scriptPath, kGameScriptPath); !copied)
        return copied;
    commandLine = gamePath + SwitchText(shell::options.LaunchFlags) + u' ' + kGameScriptPath;
    return platform::Status::Ok();
}

}  // namespace launcher
