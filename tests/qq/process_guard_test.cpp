// The QQ guard against real stand-in QQ processes, with its prompt answered through the real
// message box from a second thread as a user would.
#include <gtest/gtest.h>
#include <windows.h>
#include "box_answerer.h"
#include "driver/driver.h"
#include "qq/process_guard.h"
#include "support/test_support.h"

namespace {

const char* const kPrompt = "QQ正在运行，是否结束QQ？";

class QqGuard : public ::testing::Test {
protected:
    void SetUp() override
    {
        programs_.reserve(16);  // the tests hold references to the programs they start
        ASSERT_FALSE(IsProcessRunning("QQ.exe")) << "a QQ is left over from elsewhere";
    }
    void TearDown() override
    {
        for (Program& p : programs_)
            if (p.process) KillProgram(p);
    }
    // Starts a copy of the stand-in under the image name given, each in a folder of its own.
    Program& StartQq(const std::string& imageName)
    {
        std::string path = dir_ / (std::to_string(programs_.size()) + "\\" + imageName);
        MakeFolders(dir_ / std::to_string(programs_.size()));
        EXPECT_TRUE(CopyFileA(BinPath("standin\\qq\\QQ.exe").c_str(), path.c_str(), FALSE));
        programs_.push_back(StartProgram("\"" + path + "\" 120"));
        EXPECT_NE(programs_.back().process, nullptr) << path;
        return programs_.back();
    }
    static bool HasEnded(Program& p, DWORD waitMs = 0)
    {
        DWORD code;
        return WaitForExit(p, waitMs, &code);
    }

    ScratchDir dir_{"qqguard"};
    std::vector<Program> programs_;
};

TEST_F(QqGuard, ImageNameMatchesInAnyLetterCaseButWhole)
{
    struct Case {
        const char* imageName;
        bool isQq;
    };
    const Case cases[] = {{"QQ.exe", true}, {"qq.exe", true}, {"QQ.EXE", true}, {"QQ.exe.exe", false}, {"MyQQ.exe", false}};
    for (const Case& c : cases) {
        Program& qq = StartQq(c.imageName);
        EXPECT_EQ(IsProcessRunning("QQ.exe"), c.isQq) << c.imageName;
        EXPECT_EQ(IsProcessRunning("qq.EXE"), c.isQq) << c.imageName;
        EXPECT_EQ(FindProcessId("QQ.exe"), c.isQq ? qq.pid : 0u) << c.imageName;
        KillProgram(qq);
    }
}

TEST_F(QqGuard, NoPromptWhenQqIsNotRunning)
{
    StartQq("QQ.exe.exe");
    BoxAnswerer answerer({});
    EXPECT_TRUE(EndQqIfRunning(kPrompt));
    Sleep(1000);
    EXPECT_TRUE(answerer.Finish().empty());
}

TEST_F(QqGuard, OkEndsEveryQqBeforeGoingOn)
{
    Program& first = StartQq("QQ.exe");
    Program& second = StartQq("qq.exe");
    BoxAnswerer answerer({IDOK});

    EXPECT_TRUE(EndQqIfRunning(kPrompt));
    EXPECT_TRUE(HasEnded(first)) << "the guard returns once QQ has gone";
    EXPECT_TRUE(HasEnded(second));
    EXPECT_FALSE(IsProcessRunning("QQ.exe"));
    Sleep(500);
    const std::vector<MessageBoxInfo>& boxes = answerer.Finish();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kPrompt);
    EXPECT_EQ(boxes[0].title, "信息：");
    EXPECT_EQ(boxes[0].buttons.size(), 2u);
}

TEST_F(QqGuard, DecliningLeavesQqRunning)
{
    const int answers[] = {IDCANCEL, 0};
    for (int answer : answers) {
        Program& qq = StartQq("QQ.exe");
        BoxAnswerer answerer({answer});
        EXPECT_FALSE(EndQqIfRunning(kPrompt)) << answer;
        EXPECT_FALSE(HasEnded(qq, 500)) << answer;
        EXPECT_EQ(answerer.Finish().size(), 1u);
        KillProgram(qq);
    }
}

}  // namespace
