#include "shell/script_caption.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace shell {
namespace {

TEST(ScriptCaption, NumbersWithoutLeadingZerosAndOnlyTheFirstSixCharactersDecideUntitled)
{
    EXPECT_EQ(QStringList({ScriptCaption(1), ScriptCaption(10), ScriptCaption(2147483647)}),
              QStringList({"Script 1", "Script 10", "Script 2147483647"}));
    std::vector<bool> untitled;
    for (const char16_t* caption : {u"Script 1", u"Script", u"Scripts\\mission.scr", u"C:\\Script\\mission.scr",
                                    u"/home/me/Script 1", u"script 1", u"SCRIPT 1", u" Script 1", u"Scrip", u""})
        untitled.push_back(IsUntitled(caption));
    EXPECT_EQ(untitled, std::vector<bool>({true, true, true, false, false, false, false, false, false, false}));
}

}  // namespace
}  // namespace shell
