// The texts the window builds for the system: the dialog's filter and the browser command.
#include <gtest/gtest.h>
#include "app/file_dialog.h"
#include "app/links_box.h"

namespace {

struct FilterCase {
    const char* filterText;
    Text expected;
};

TEST(BuildFileFilter, PairsBecomeNulSeparatedAndDoublyEnded)
{
    using namespace std::string_literals;
    const FilterCase cases[] = {
        {"QQ数据备份文件（*.qq）|*.qq", "QQ数据备份文件（*.qq）\0*.qq\0\0"s},
        {"A|*.a|B|*.b", "A\0*.a\0B\0*.b\0\0"s},
        {"A|*.a||", "A\0*.a\0\0"s},
        {"A|*.a  \t\r\n", "A\0*.a\0\0"s},
        {"A|*.a|| ", "A\0*.a\0\0"s},
        {"", ""},
        {"   ", ""},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.filterText);
        EXPECT_EQ(BuildFileFilter(c.filterText), c.expected);
    }
}

TEST(BuildFileFilter, TheBackupFilterShowsOneEntry)
{
    EXPECT_STREQ(kBackupFilterText, "QQ数据备份文件（*.qq）|*.qq");
}

struct CommandCase {
    const char* openCommand;
    const char* expected;
};

TEST(BrowserCommandLine, CutsAtTheArgumentAndAppendsTheTarget)
{
    const CommandCase cases[] = {
        {"\"C:\\Browser\\b.exe\" \"%1\"", "\"C:\\Browser\\b.exe\"  https://x.example/"},
        {"C:\\Browser\\b.exe -nohome \"%1\" -new", "C:\\Browser\\b.exe -nohome  https://x.example/"},
        {"C:\\Browser\\b.exe %1", "C:\\Browser\\b.exe  https://x.example/"},
        {"C:\\Browser\\b.exe -url %1 \"%1\"", "C:\\Browser\\b.exe -url %1  https://x.example/"},
        {"C:\\Browser\\b.exe", "C:\\Browser\\b.exe https://x.example/"},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.openCommand);
        EXPECT_EQ(BrowserCommandLine(c.openCommand, "https://x.example/"), c.expected);
    }
}

TEST(LinksBox, LinksLeadToTheProjectsOwnPages)
{
    EXPECT_EQ(Text(kHomePageLink).rfind("https://brinkvale.example/", 0), 0u);
    EXPECT_EQ(Text(kPersonalPageLink).rfind("https://brinkvale.example/", 0), 0u);
    EXPECT_STRNE(kHomePageLink, kPersonalPageLink);
}

}  // namespace
