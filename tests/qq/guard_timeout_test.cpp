// The guard when QQ will not end: a process list of this test's own takes the place of the
// system's (these definitions replace the system layer's process functions in this executable),
// since under Wine every real process ends when asked.
#include <gtest/gtest.h>
#include <chrono>
#include <set>
#include "box_answerer.h"
#include "qq/process_guard.h"
#include "sys/sys_process.h"

namespace {

struct FakeProcess {
    const char* image;
    uint32_t id;
    bool endsWhenAsked;
};

std::vector<FakeProcess> g_Processes;
std::set<uint32_t> g_AskedToEnd;

}  // namespace

bool WalkProcessList(int, bool (*visit)(const Text& image, uint32_t id, void* context), void* context)
{
    for (const FakeProcess& p : g_Processes)
        if (visit(p.image, p.id, context)) break;
    return true;
}

void TerminateProcessById(uint32_t id)
{
    g_AskedToEnd.insert(id);
    for (size_t i = 0; i < g_Processes.size(); i++)
        if (g_Processes[i].id == id && g_Processes[i].endsWhenAsked) g_Processes.erase(g_Processes.begin() + i--);
}

bool WaitForProcessEnd(uint32_t id, uint32_t milliseconds)
{
    for (const FakeProcess& p : g_Processes)
        if (p.id == id) {
            Sleep(milliseconds);
            return false;
        }
    return true;
}

namespace {

TEST(QqGuardTimeout, QqThatDoesNotEndIsReportedAfterTheWait)
{
    g_Processes = {{"explorer.exe", 8, true}, {"QQ.exe", 100, true}, {"qq.exe", 200, false}};
    BoxAnswerer answerer({IDOK, IDOK});

    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(EndQqIfRunning("QQ正在运行，是否结束QQ？"));
    auto waited = std::chrono::steady_clock::now() - start;

    const std::vector<MessageBoxInfo>& boxes = answerer.Finish();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "无法结束QQ程序，请手动退出QQ后再试。");
    EXPECT_EQ(boxes[1].title, "信息：");
    EXPECT_EQ(boxes[1].buttons.size(), 1u);
    EXPECT_EQ(g_AskedToEnd, (std::set<uint32_t>{100, 200}));
    EXPECT_GE(waited, std::chrono::seconds(9)) << "the guard gives QQ its time to end";
}

}  // namespace
