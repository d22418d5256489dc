// A machine as the program finds it at start: QQ and the archivers recorded in the registry
// (or not), sample account folders, and the program started and watched through its windows.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "driver/driver.h"
#include "support/test_support.h"

extern const char* const kMainWindowClass;
extern const char* const kMessageTitle;
extern const char* const kNoArchiverMessage;
extern const char* const kNoQqMessage;

class RecordedMachine {
public:
    explicit RecordedMachine(const std::string& prefix);
    ~RecordedMachine();
    // QQ's installation folder with a Users folder holding these account folders.
    std::string RecordQq(const std::vector<std::string>& accounts);
    void RecordWinRar();
    void Record360Zip();
    const ScratchDir& scratch() const { return scratch_; }
private:
    ScratchDir scratch_;
    RegistryKeyGuard qq_;
    RegistryKeyGuard winRar_;
    RegistryKeyGuard zip360_;
};

// The folder names below a folder in the order the system lists them, "." entries left out.
std::vector<std::string> ListedFolders(const std::string& folder);

// Starts a program from the build tree with arguments; the test fails when it cannot start.
Program StartBuilt(const std::string& exe, const std::string& arguments = "",
                   const std::vector<std::string>& environment = {});
// Ends the process if it is still running, so that a failed test leaves nothing behind.
struct ProgramGuard {
    Program& program;
    ~ProgramGuard() { if (program.process) KillProgram(program); }
};

// The exit code once it ended; -2 when it did not end in time.
long ExitCodeWithin(Program& program, DWORD timeoutMs);
// Reads a combo box's items from another process.
std::vector<std::string> ComboItems(HWND combo);
const ControlInfo* ControlWithId(const std::vector<ControlInfo>& controls, int id);
