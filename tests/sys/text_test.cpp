#include <gtest/gtest.h>
#include <vector>
#include "sys/sys_text.h"

namespace {

// A GBK character whose second byte is 0x5C, the backslash.
const Text kBackslashTrail = "\x81\x5C";

std::vector<Text> Items(const TextList& list) { return list.items; }

TEST(SysText, CutsAtByteCounts)
{
    struct Case {
        const char* name;
        Text result;
        Text expected;
    } cases[] = {
        {"left -2", LeftText("abc", -2), ""},
        {"left 0", LeftText("abc", 0), ""},
        {"left past end", LeftText("abc", 9), "abc"},
        {"left splits a character", LeftText("中a", 1), "\xD6"},
        {"right -2", RightText("abc", -2), ""},
        {"right 2", RightText("abc", 2), "bc"},
        {"right past end", RightText("abc", 9), "abc"},
        {"mid -2", MidText("abc", 1, -2), ""},
        {"mid start 0", MidText("abc", 0, 2), ""},
        {"mid start past end", MidText("abc", 4, 1), ""},
        {"mid last byte", MidText("abc", 3, 1), "c"},
        {"mid count past end", MidText("abcdef", 4, 10), "def"},
        {"mid of empty", MidText("", 1, 1), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.result, c.expected) << c.name;
}

TEST(SysText, FindsByCharacterAfterTheFirstByte)
{
    const Text slashTrail = JoinTexts("a", kBackslashTrail, "b");
    struct Case {
        const char* name;
        Text text;
        Text wanted;
        int start;
        int expected;
    } cases[] = {
        {"trailing backslash at length", "C:\\dir\\", "\\", 7, 7},
        {"no trailing backslash", "C:\\dir", "\\", 6, -1},
        {"empty text", "", "\\", 0, -1},
        {"start below 1 is 1", "a\\b", "\\", -5, 2},
        {"start past end", "abc", "c", 4, -1},
        {"second byte is not a backslash from 1", slashTrail, "\\", 1, -1},
        {"second byte found when started on it", slashTrail, "\\", 3, 3},
        {"first match at or after start", "a.b.c", ".", 3, 4},
        {"longer wanted text", "xxabab", "ab", 1, 3},
        {"wanted longer than rest", "ab", "abc", 1, -1},
        {"lead byte at the very end", "a\xD6", "z", 2, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(FindText(c.text, c.wanted, c.start), c.expected) << c.name;
}

TEST(SysText, FindsTheLastMatchOnCharacterBoundaries)
{
    struct Case {
        const char* name;
        Text text;
        Text wanted;
        int expected;
    } cases[] = {
        {"last dot", "C:\\a.b\\c.txt", ".", 9},
        {"dot only in a folder name", "C:\\a.b\\file", ".", 5},
        {"no dot", "C:\\a\\file", ".", -1},
        {"overlapping matches count", "aaa", "aa", 2},
        {"backslash as second byte skipped", JoinTexts("x\\", kBackslashTrail), "\\", 2},
        {"empty text", "", ".", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(FindTextReverse(c.text, c.wanted), c.expected) << c.name;
}

TEST(SysText, LowersAsciiCapitalsOnly)
{
    EXPECT_EQ(LowerText("QQ.exe"), "qq.exe");
    EXPECT_EQ(LowerText("QQ.EXE"), "qq.exe");
    // 0x81 0x41: the second byte is an "A" and stays one.
    EXPECT_EQ(LowerText("\x81\x41Z"), "\x81\x41z");
    EXPECT_EQ(LowerText("\xC0"), "\xC0");
}

TEST(SysText, TrimsAsciiAndFullWidthSpaces)
{
    const Text wide = "\xA1\xA1";
    struct Case {
        const char* name;
        Text text;
        Text expected;
    } cases[] = {
        {"ascii both ends", "  ab c  ", "ab c"},
        {"full-width both ends", JoinTexts(wide, "x", wide, " "), "x"},
        {"only spaces", JoinTexts(" ", wide, " ", wide), ""},
        {"tabs stay", "\tab\t", "\tab\t"},
        {"line ends stay", " ab\r\n", "ab\r\n"},
        // The walk pairs B0 A1, then A1 A1 is a full-width space.
        {"full-width space after a character", "\xB0\xA1\xA1\xA1", "\xB0\xA1"},
        // x, A1 A1, then a lone lead byte: the last two bytes are not a space of their own.
        {"second byte not taken for a space", "x\xA1\xA1\xA1", "x\xA1\xA1\xA1"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(TrimText(c.text), c.expected) << c.name;
}

TEST(SysText, SplitsAtSeparator)
{
    struct Case {
        const char* name;
        Text text;
        std::vector<Text> expected;
    } cases[] = {
        {"adjacent and trailing", "a||b|", {"a", "", "b"}},
        {"single piece", "qq", {"qq"}},
        {"empty text", "", {}},
        {"leading separator", "|a", {"", "a"}},
        {"only a separator", "|", {""}},
        // 0x81 0x7C: the second byte is "|" and does not split.
        {"second byte is not a separator", "\x81\x7C|x", {"\x81\x7C", "x"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Items(SplitText(c.text, "|")), c.expected) << c.name;
}

TEST(SysText, BytesUpToTheFirstZero)
{
    char full[256];
    for (char& c : full) c = 'x';
    EXPECT_EQ(TextLength(BytesToText(full)), 256);
    char named[256] = "QQ.exe";
    EXPECT_EQ(BytesToText(named), "QQ.exe");
    unsigned char data[] = {1, 0, 2};
    EXPECT_EQ(ByteCount(ByteBlock{data, sizeof data}), 3u);
    EXPECT_EQ(ByteCount(ByteBlock{nullptr, 5}), 0u);
}

TEST(SysText, EqualityAndLength)
{
    EXPECT_TRUE(TextEquals(Text(), ""));
    EXPECT_FALSE(TextEquals("a", "A"));
    EXPECT_EQ(TextLength("中文"), 4);
    EXPECT_EQ(JoinTexts(Text("C:"), "\\", Text("a")), "C:\\a");
}

TEST(SysText, ListsKeepCopiesInOrder)
{
    TextList list;
    Text item = "one";
    ListAppend(list, item);
    item = "changed";
    ListAppend(list, Text());
    ListAppend(list, "three");
    ASSERT_EQ(ListCount(list), 3);
    EXPECT_EQ(ListAt(list, 1), "one");
    EXPECT_EQ(ListAt(list, 2), "");
    EXPECT_EQ(ListAt(list, 3), "three");
    ListClear(list);
    EXPECT_EQ(ListCount(list), 0);
}

}  // namespace
