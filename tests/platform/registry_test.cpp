#include "platform/registry.h"

#include <gtest/gtest.h>

#include "shell/system_info.h"
#include "support/test_environment.h"

namespace platform {
namespace {

using shell::KeyValueRead;

const char kKey[] = "Software\\Orbiscribe\\Test";

// A value name and a hex byte list as system.reg holds a long binary value.
QByteArray HexValue(const char* name, const QByteArray& bytes)
{
    return QByteArray("\"") + name + "\"=hex:" + bytes.toHex(',') + "\n";
}

class RegistryTest : public testing::Test {
protected:
    RegistryTest()
    {
        env.writeFile("wine/system.reg",
                      "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
                      "[Software\\\\Orbiscribe\\\\Test] 1700000000\n#time=1d9a\n"
                      "@=\"default\"\n"
                      "\"Text\"=\"a\\\"b\\\\c\\tq\\x00e9\\x20ac!\"\n"
                      "\"Number\"=dword:00000102\n"
                      "\"Bin\"=hex:01,02,\\\n  ab,\\\n  ff\n"
                      "\"Expand\"=str(2):\"%A%\"\n"
                      "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"
                      "\"Odd\"=dword:zz\n"
                      "\"Short\"=\"" + QByteArray(1023, 'x') + "\"\n"
                      "\"Long\"=\"" + QByteArray(1024, 'x') + "\"\n"
                      + HexValue("Full", QByteArray(1024, 'y')) + HexValue("Fits", QByteArray(1023, 'y')) +
                      "\n[Software\\\\Orbiscribe\\\\Test\\\\Sub] 1700000001\n\"Other\"=\"x\"\n"
                      "[Software\\\\Other] 1\n\"Text\"=\"wrong key\"\n");
    }

    // "type|bytes" of a value as the 8-bit query gives it, or the status of the call that failed.
    static std::string Query(const char* key, const char* value)
    {
        HKEY handle = 0;
        if (LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, 0x2003F, handle))
            return "open " + std::to_string(status);
        QByteArray data(16, '\0');
        quint32 type = 0;
        quint32 size = data.size();
        const LSTATUS status = RegQueryValueExA(handle, value, 0, type, data.data(), size);
        EXPECT_EQ(RegCloseKey(handle), ERROR_SUCCESS);
        if (status)
            return "query " + std::to_string(status) + " size " + std::to_string(size);
        return std::to_string(type) + '|' + data.first(size).toHex(' ').toStdString();
    }

    support::TestEnvironment env;
};

TEST_F(RegistryTest, ValuesOfEveryFormReadWithTheirTypesAndBytes)
{
    const std::vector<std::pair<std::pair<const char*, const char*>, std::string>> cases = {
        {{"software\\ORBISCRIBE\\test", ""}, "1|64 65 66 61 75 6c 74 00"},
        {{kKey, "TEXT"}, "1|61 22 62 5c 63 09 71 e9 80 21 00"},
        {{kKey, "Number"}, "4|02 01 00 00"},
        {{kKey, "Bin"}, "3|01 02 ab ff"},
        {{kKey, "Expand"}, "2|25 41 25 00"},
        {{kKey, "Multi"}, "7|61 00 62 00 00"},
        {{kKey, "Odd"}, "query 2 size 16"},
        {{kKey, "Short"}, "query 234 size 1024"},
        {{kKey, "Missing"}, "query 2 size 16"},
        {{"Software\\Orbiscribe\\Test\\Sub", "Other"}, "1|78 00"},
        {{"Software\\Orbiscribe", "Text"}, "open 2"},
        {{"Software\\Orbiscribe\\Test\\Sub\\", "Other"}, "open 2"},
    };
    for (const auto& [where, expected] : cases)
        EXPECT_EQ(Query(where.first, where.second), expected) << where.first << " / " << where.second;
}

TEST_F(RegistryTest, GetKeyValueGivesTextsAndTellsAbsentFromFailedAndClosesEveryKey)
{
    struct Case {
        const char* key;
        const char* value;
        KeyValueRead read;
        QString text;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        QString text = QStringLiteral("kept");
        EXPECT_EQ(shell::GetKeyValue(HKEY_LOCAL_MACHINE, c.key, c.value, text), c.read) << c.value;
        EXPECT_EQ(text, c.text) << c.value;
    }
    EXPECT_TRUE(registryKeys.open.empty());
    QFile::remove(env.root() + "/wine/system.reg");
    QString text = QStringLiteral("kept");
    EXPECT_EQ(shell::GetKeyValue(HKEY_LOCAL_MACHINE, kKey, "Text", text), KeyValueRead::Absent);
    EXPECT_EQ(text, QString());
}

}  // namespace
}  // namespace platform
