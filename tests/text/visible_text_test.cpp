#include "text/visible_text.h"

#include <gtest/gtest.h>
#include <string>

namespace tira {
namespace {

TEST(VisibleText, ControlCharactersAreShownNotSent)
{
    struct Case
    {
        const char* name;
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"plain text and tab", "今日は\tx", "今日は\tx"},
        {"escape sequence", "a\x1B[2Jb", "a^[[2Jb"},
        {"bell, CR, LF, NUL", std::string("\x07\r\n\0", 4), "^G^M^J^@"},
        {"DEL", "x\x7Fy", "x^?y"},
        {"C1 CSI reads as ESC [",
         "\xC2\x9B"
         "31m",
         "^[[31m"},
        {"no-break space is text", "\xC2\xA0", "\xC2\xA0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(visibleText(c.text), c.shown) << c.name;
}

TEST(VisibleText, CutKeepsCharactersWhole)
{
    EXPECT_EQ(cutText("abc", 3), "abc");
    EXPECT_EQ(cutText("abcd", 3), "abc…");
    EXPECT_EQ(cutText("aダb", 2), "a…"); // ダ is three bytes: not split
    EXPECT_EQ(cutText(std::string(1000, 'x'), 200).size(), 200 + std::string("…").size());
}

} // namespace
} // namespace tira
