#include "platform/registry.h"

#include <gtest/gtest.h>

#include "shell/system_info.h"
#include "support/stand_in_program.h"
#include "support/test_environment.h"

namespace platform {
namespace {

// Each value of the golden registry as the 8-bit query gives it through a 16-byte buffer
// ("type|bytes", or the status of the failing call), then as GetKeyValue reads it into "kept".
TEST(RegistryTest, ValuesOfEveryFormAreReadAsTheEightBitCallsGiveThem)
{
    const support::TestEnvironment env;
    env.writeFile("wine/system.reg", env.testData("platform/golden/system.reg"));
    const auto read = [](const char* key, const char* value) {
        HKEY handle = 0;
        if (LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, 0x2003F, handle))
            return "open " + std::to_string(status);
        QByteArray data(16, '\0');
        quint32 type = 0, size = data.size();
        const LSTATUS status = RegQueryValueExA(handle, value, 0, type, data.data(), size);
        RegCloseKey(handle);
        QString text = "kept";
        const int outcome = int(shell::GetKeyValue(HKEY_LOCAL_MACHINE, key, value, text));
        return ((status ? QString("query %1 size %2").arg(status).arg(size)
                        : QString("%1|%2").arg(type).arg(data.first(size).toHex(' ')))
                + QString(" / %1 %2").arg(outcome).arg(text.size() > 20 ? "long" : text)).toStdString();
    };
    const char* key = "Software\\Orbiscribe\\Test";
    const std::pair<std::pair<const char*, const char*>, std::string> cases[] = {
        {{"software\\ORBISCRIBE\\test", ""}, "1|64 65 66 61 75 6c 74 00 / 0 default"},
        {{key, "TEXT"}, "1|61 22 62 5c 63 09 71 e9 80 21 00 / 0 a\"b\\c\tq\u00e9\u20ac!"},
        {{key, "Number"}, "4|02 0a 00 00 / 0 &hkeptA2"}, {{key, "Bin"}, "3|01 02 ab ff / 0 kept"},
        {{key, "Multi"}, "7|61 00 62 00 00 / 0 kept"}, {{key, "Odd"}, "query 2 size 16 / 1 "},
        {{key, "Short"}, "query 234 size 1024 / 0 long"}, {{key, "Long"}, "query 234 size 1025 / 1 "},
        {{key, "Full"}, "query 234 size 1024 / 2 kept"},
        {{"Software\\Orbiscribe\\Test\\Sub", "Other"}, "1|78 00 / 0 x"},
        {{"Software\\Orbiscribe", "Other"}, "open 2"},
    };
    for (const auto& [where, expected] : cases)
        EXPECT_EQ(read(where.first, where.second), expected) << where.second;
    EXPECT_TRUE(registryKeys.open.empty()) << "a key was left open";
}

TEST(RegistryTest, SystemInformationStartsFromThePathValueOrElseTheLocationFolder)
{
    const support::TestEnvironment env;
    support::WriteStandInProgram(env.driveC() + "/Info Tools/INFO.EXE", env.root() + "/info", {});
    support::WriteStandInProgram(env.driveC() + "/Windows/msinfo32.exe", env.root() + "/msinfo", {});
    const QByteArray path = "[Software\\\\Microsoft\\\\Shared Tools\\\\MSInfo] 1\n";
    const QByteArray location = "[Software\\\\Microsoft\\\\Shared Tools Location] 1\n\"MSInfo\"=";
    const QByteArray fullHex = "hex:" + QByteArray(1024, 'y').toHex(',') + '\n';
    const std::pair<QByteArray, const char*> cases[] = {
        {path + R"("Path"="C:\\Info Tools\\info.exe")", "info"},
        {path + R"("Path"="C:\\Missing.exe")" "\n" + location + R"("C:\\Windows")", nullptr},
        {path + location + R"("c:\\windows")", "msinfo"}, {location + R"("C:\\Info Tools")", nullptr},
        {path + "\"Path\"=hex:41\n" + location + R"("C:\\Windows")", nullptr},
        {path + "\"Path\"=" + fullHex + location + R"("C:\\Windows")", nullptr},
    };
    for (const auto& [keys, started] : cases) {
        env.writeFile("wine/system.reg", keys + '\n');
        EXPECT_EQ(shell::StartSystemInformation(), started != nullptr) << keys.toStdString();
        EXPECT_TRUE(!started || support::WaitForStart(env.root() + '/' + started).has_value()) << started;
    }
}

}  // namespace
}  // namespace platform
