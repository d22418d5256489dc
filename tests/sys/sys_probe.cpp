// Runs one scenario of the system services, named by the first argument, and ends as that
// scenario ends; results that are not an exit code go to the file named by BV_PROBE_OUT.
#include <windows.h>
#include <cstdlib>
#include <new>
#include "sys/sys_exit.h"
#include "sys/sys_external.h"
#include "sys/sys_files.h"
#include "sys/sys_messages.h"
#include "sys/sys_process.h"
#include "sys/sys_text.h"

namespace {

Text OutputPath()
{
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA("BV_PROBE_OUT", path, MAX_PATH);
    return path;
}

void AppendOutput(const Text& line)
{
    HANDLE file = CreateFileA(OutputPath().c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    Text withEnd = line + "\n";
    DWORD written = 0;
    WriteFile(file, withEnd.data(), static_cast<DWORD>(withEnd.size()), &written, nullptr);
    CloseHandle(file);
}

void RecordCallback() { AppendOutput("callback"); }
void RecordWindowRelease() { AppendOutput("window"); }
void RecordCallbackAndEndAgain()
{
    AppendOutput("callback");
    EndProgram(9);
}

int ArgumentNumber(const TextList& args, int position)
{
    return ListCount(args) >= position ? std::atoi(ListAt(args, position).c_str()) : 0;
}

[[noreturn]] void CallThrough(ExternalEntry& entry)
{
    ExternalCall<void(WINAPI*)(LONG, UINT, const void*, const void*)>(entry, LONG(0x08000000), UINT(0),
                                                                        nullptr, nullptr);
    EndProgram(0);
}

}  // namespace

int main()
{
    InitProcess();
    TextList args = GetCommandLineArgs();
    Text scenario = ListCount(args) > 0 ? ListAt(args, 1) : Text();
    if (scenario == "args") {
        for (int i = 1; i <= ListCount(args); ++i) AppendOutput(JoinTexts("[", ListAt(args, i), "]"));
    } else if (scenario == "paths") {
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        AppendOutput(GetRunDirectory());
        AppendOutput(GetExecutableName());
        AppendOutput(current);
    } else if (scenario == "exit") {
        Sleep(static_cast<DWORD>(ArgumentNumber(args, 3)));
        EndProgram(ArgumentNumber(args, 2));
    } else if (scenario == "message") {
        MessageButtons buttons = ListCount(args) > 1 && ListAt(args, 2) == "okcancel" ? OkCancel : OkOnly;
        EndProgram(ShowMessage("探针消息：请选择", buttons));
    } else if (scenario == "listat") {
        TextList empty;
        ListAt(empty, ArgumentNumber(args, 2));
    } else if (scenario == "fatal") {
        SetExitCallback(RecordCallback);
        SetWindowRelease(RecordWindowRelease);
        FatalRuntimeError(ListCount(args) > 1 ? ListAt(args, 2) : Text());
    } else if (scenario == "allocate") {
        // Far more than any machine gives, but within what the allocator may be asked for.
        void* block = ::operator new(static_cast<size_t>(-1) / 4);
        AppendOutput(block ? "allocated" : "null");
    } else if (scenario == "exit-callback") {
        SetExitCallback(RecordCallback);
        SetWindowRelease(RecordWindowRelease);
        EndProgram(7);
    } else if (scenario == "exit-callback-reenter") {
        SetExitCallback(RecordCallbackAndEndAgain);
        SetWindowRelease(RecordWindowRelease);
        EndProgram(7);
    } else if (scenario == "missing-library") {
        static ExternalEntry entry{"bv_missing_library.dll", "BvMissingEntry"};
        CallThrough(entry);
    } else if (scenario == "missing-entry") {
        static ExternalEntry entry{"", "BvMissingEntry"};
        CallThrough(entry);
    } else if (scenario == "missing-kernel32-entry") {
        static ExternalEntry entry{"kernel32", "BvMissingEntry"};
        CallThrough(entry);
    } else if (scenario == "shell-notify") {
        static ExternalEntry entry{"shell32", "SHChangeNotify"};
        CallThrough(entry);
    } else if (scenario == "library-notify") {
        static ExternalEntry entry{"bv_marker.dll", "SHChangeNotify"};
        CallThrough(entry);
    } else if (scenario == "load") {
        EndProgram(LoadLibraryA(ListCount(args) > 1 ? ListAt(args, 2).c_str() : "") ? 0 : 2);
    } else if (scenario == "resolve") {
        static Text library = ListCount(args) > 1 ? ListAt(args, 2) : Text();
        static Text name = ListCount(args) > 2 ? ListAt(args, 3) : Text();
        static ExternalEntry entry{library.c_str(), name.c_str()};
        EndProgram(TryResolveExternal(entry) ? 0 : 3);
    } else if (scenario == "process-list") {
        // Reaches every entry of the process list, kernel32's CloseHandle among them.
        DWORD self = GetCurrentProcessId();
        Text image;
        WalkProcesses(SnapshotProcesses, [&](const Text& name, uint32_t id) {
            if (id != self) return false;
            image = name;
            return true;
        });
        AppendOutput(image);
    }
    EndProgram(0);
}
