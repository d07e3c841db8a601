#include "shell/script_caption.h"

#include <gtest/gtest.h>

namespace shell {
namespace {

TEST(ScriptCaption, NumbersWithoutBlanksOrLeadingZeros)
{
    EXPECT_EQ(ScriptCaption(1), "Script 1");
    EXPECT_EQ(ScriptCaption(10), "Script 10");
    EXPECT_EQ(ScriptCaption(2147483647), "Script 2147483647");
}

TEST(ScriptCaption, OnlyTheFirstSixCharactersDecideUntitled)
{
    EXPECT_TRUE(IsUntitled(u"Script 1"));
    EXPECT_TRUE(IsUntitled(u"Script"));
    EXPECT_TRUE(IsUntitled(u"Scripts\\mission.scr"));

    EXPECT_FALSE(IsUntitled(u"C:\\Script\\mission.scr"));
    EXPECT_FALSE(IsUntitled(u"/home/me/Script 1"));
    EXPECT_FALSE(IsUntitled(u"script 1"));
    EXPECT_FALSE(IsUntitled(u"SCRIPT 1"));
    EXPECT_FALSE(IsUntitled(u" Script 1"));
    EXPECT_FALSE(IsUntitled(u"Scrip"));
    EXPECT_FALSE(IsUntitled(u""));
}

}  // namespace
}  // namespace shell
