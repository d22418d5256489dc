// Finding QQ among the running processes and ending it before its data is touched.
#include "qq/process_guard.h"
#include <chrono>
#include <thread>
#include <vector>
#include "sys/sys_messages.h"
#include "sys/sys_process.h"

static const char* const kQqImageName = "QQ.exe";
static const char* const kQqNotEnded = "无法结束QQ程序，请手动退出QQ后再试。";
// Long enough for a QQ with several accounts to shut down, short enough for a waiting user.
static const int kQqEndWaitMs = 10000;

bool IsProcessRunning(const Text& imageName)
{
    const Text wanted = LowerText(imageName);
    bool found = false;
    WalkProcesses(SnapshotAll, [&](const Text& image, uint32_t) {
        found = TextEquals(LowerText(image), wanted);
        return found;
    });
    return found;
}

uint32_t FindProcessId(const Text& imageName)
{
    const Text wanted = LowerText(imageName);
    uint32_t processId = 0;
    WalkProcesses(SnapshotProcesses, [&](const Text& image, uint32_t id) {
        if (!TextEquals(LowerText(image), wanted)) return false;
        processId = id;
        return true;
    });
    return processId;
}

void KillProcess(uint32_t processId)
{
    if (processId != 0) TerminateProcessById(processId);
}

static std::vector<uint32_t> FindAllProcessIds(const Text& imageName)
{
    const Text wanted = LowerText(imageName);
    std::vector<uint32_t> ids;
    WalkProcesses(SnapshotProcesses, [&](const Text& image, uint32_t id) {
        if (TextEquals(LowerText(image), wanted)) ids.push_back(id);
        return false;
    });
    return ids;
}

// Ends every QQ process (one per signed-in account) and waits until all have gone; QQ may be
// restarted by a helper meanwhile, so the list is taken again until it is empty or time is up.
static bool EndAllQq()
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kQqEndWaitMs);
    for (;;) {
        std::vector<uint32_t> ids = FindAllProcessIds(kQqImageName);
        if (ids.empty()) return true;
        for (uint32_t id : ids) KillProcess(id);
        bool allEnded = true;
        for (uint32_t id : ids) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (!WaitForProcessEnd(id, left.count() > 0 ? static_cast<uint32_t>(left.count()) : 0))
                allEnded = false;
        }
        if (Clock::now() >= deadline) return FindAllProcessIds(kQqImageName).empty();
        // A process that cannot be waited for is looked up again, not polled in a tight loop.
        if (!allEnded) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool EndQqIfRunning(const Text& prompt)
{
    if (!IsProcessRunning(kQqImageName)) return true;
    if (ShowMessage(prompt, OkCancel) != Ok) return false;
    if (EndAllQq()) return true;
    ShowMessage(kQqNotEnded);
    return false;
}
