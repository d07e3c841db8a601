#include "platform/registry.h"

#include <gtest/gtest.h>

#include "shell/system_info.h"
#include "support/stand_in_program.h"
#include "support/test_environment.h"

namespace platform {
namespace {

using shell::KeyValueRead;

const char kKey[] = "Software\\Orbiscribe\\Test";

QByteArray HexValue(const char* name, const QByteArray& bytes)
{
    return QByteArray("\"") + name + "\"=hex:" + bytes.toHex(',') + "\n";
}

class RegistryTest : public testing::Test {
protected:
    void WriteRegistry(const QByteArray& keys)
    {
        env.writeFile("wine/system.reg", "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                                         "#arch=win32\n\n" + keys);
    }

    support::TestEnvironment env;
};

TEST_F(RegistryTest, ValuesOfEveryFormAreReadAsTheEightBitCallsGiveThem)
{
    WriteRegistry(R"([Software\\Orbiscribe\\Test] 1700000000
#time=1d9a
@="default"
"Text"="a\"b\\c\tq\x00e9\x20ac!"
"Number"=dword:00000102
"Bin"=hex:01,02,\
  ab,\
  ff
"Expand"=str(2):"%A%"
"Multi"=hex(7):61,00,00,00,62,00,00,00,00,00
"Odd"=dword:zz
)" "\"Short\"=\"" + QByteArray(1023, 'x') + "\"\n\"Long\"=\"" + QByteArray(1024, 'x') + "\"\n"
                  + HexValue("Full", QByteArray(1024, 'y')) + HexValue("Fits", QByteArray(1023, 'y'))
                  + "[Software\\\\Orbiscribe\\\\Test\\\\Sub] 1700000001\n\"Other\"=\"x\"\n");
    // "type|bytes" of a value read through a 16-byte buffer, or the status of the failing call.
    const auto query = [](const char* key, const char* value) -> std::string {
        HKEY handle = 0;
        if (LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, 0x2003F, handle))
            return "open " + std::to_string(status);
        QByteArray data(16, '\0');
        quint32 type = 0, size = data.size();
        const LSTATUS status = RegQueryValueExA(handle, value, 0, type, data.data(), size);
        EXPECT_EQ(RegCloseKey(handle), ERROR_SUCCESS);
        return status ? "query " + std::to_string(status) + " size " + std::to_string(size)
                      : std::to_string(type) + '|' + data.first(size).toHex(' ').toStdString();
    };
    const std::vector<std::pair<std::pair<const char*, const char*>, std::string>> cases = {
        {{"software\\ORBISCRIBE\\test", ""}, "1|64 65 66 61 75 6c 74 00"},
        {{kKey, "TEXT"}, "1|61 22 62 5c 63 09 71 e9 80 21 00"},
        {{kKey, "Number"}, "4|02 01 00 00"},
        {{kKey, "Bin"}, "3|01 02 ab ff"},
        {{kKey, "Expand"}, "2|25 41 25 00"},
        {{kKey, "Multi"}, "7|61 00 62 00 00"},
        {{kKey, "Odd"}, "query 2 size 16"},
        {{kKey, "Short"}, "query 234 size 1024"},
        {{"Software\\Orbiscribe\\Test\\Sub", "Other"}, "1|78 00"},
        {{"Software\\Orbiscribe", "Text"}, "open 2"},
    };
    for (const auto& [where, expected] : cases)
        EXPECT_EQ(query(where.first, where.second), expected) << where.first << " / " << where.second;

    const std::tuple<const char*, const char*, KeyValueRead, QString> reads[] = {
        {kKey, "Text", KeyValueRead::Read, QStringLiteral("a\"b\\c\tq\u00e9\u20ac!")},
        {kKey, "Number", KeyValueRead::Read, QStringLiteral("&hkept12")},
        {kKey, "Bin", KeyValueRead::Read, QStringLiteral("kept")},
        {kKey, "Short", KeyValueRead::Read, QString(1023, u'x')},
        {kKey, "Long", KeyValueRead::Absent, QString()},
        {kKey, "Fits", KeyValueRead::Read, QStringLiteral("kept")},
        {kKey, "Full", KeyValueRead::Failed, QStringLiteral("kept")},
        {kKey, "Missing", KeyValueRead::Absent, QString()},
        {"Software\\Missing", "Text", KeyValueRead::Absent, QString()},
    };
    for (const auto& [key, value, read, expected] : reads) {
        QString text = QStringLiteral("kept");
        EXPECT_EQ(shell::GetKeyValue(HKEY_LOCAL_MACHINE, key, value, text), read) << value;
        EXPECT_EQ(text, expected) << value;
    }
    EXPECT_TRUE(registryKeys.open.empty()) << "a key was left open";
}

TEST_F(RegistryTest, SystemInformationStartsFromThePathValueOrElseTheLocationFolder)
{
    support::WriteStandInProgram(env.driveC() + "/Info Tools/INFO.EXE", env.root() + "/info", {});
    support::WriteStandInProgram(env.driveC() + "/Windows/msinfo32.exe", env.root() + "/msinfo", {});
    const QByteArray path = "[Software\\\\Microsoft\\\\Shared Tools\\\\MSInfo] 1\n";
    const QByteArray location = "[Software\\\\Microsoft\\\\Shared Tools Location] 1\n\"MSInfo\"=";
    const std::pair<QByteArray, const char*> cases[] = {
        {path + R"("Path"="C:\\Info Tools\\info.exe")", "info"},
        {path + R"("Path"="C:\\Missing.exe")" "\n" + location + R"("C:\\Windows")", nullptr},
        {path + location + R"("c:\\windows")", "msinfo"},
        {location + R"("C:\\Info Tools")", nullptr},
        {path + "\"Path\"=hex:41\n" + location + R"("C:\\Windows")", nullptr},
        {path + HexValue("Path", QByteArray(1024, 'y')) + location + R"("C:\\Windows")", nullptr},
        {QByteArray(), nullptr},
    };
    for (const auto& [keys, started] : cases) {
        WriteRegistry(keys + '\n');
        EXPECT_EQ(shell::StartSystemInformation(), started != nullptr) << keys.toStdString();
        if (started) {
            EXPECT_TRUE(support::WaitForStart(env.root() + '/' + started).has_value()) << started;
            QFile::remove(env.root() + '/' + started);
        }
    }
}

}  // namespace
}  // namespace platform
