#include "sys/sys_process.h"
#include <windows.h>
#include <tlhelp32.h>
#include "sys/sys_external.h"

namespace {

ExternalEntry g_createSnapshot{"", "CreateToolhelp32Snapshot"};
ExternalEntry g_processFirst{"", "Process32First"};
ExternalEntry g_closeHandle{"kernel32", "CloseHandle"};
ExternalEntry g_processNext{"", "Process32Next"};
ExternalEntry g_openProcess{"", "OpenProcess"};
ExternalEntry g_terminateProcess{"", "TerminateProcess"};

using CreateSnapshotFunction = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFunction = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
using CloseHandleFunction = BOOL(WINAPI*)(HANDLE);
using OpenProcessFunction = HANDLE(WINAPI*)(DWORD, BOOL, DWORD);
using TerminateProcessFunction = BOOL(WINAPI*)(HANDLE, UINT);

}  // namespace

bool WalkProcessList(int snapshotKind, bool (*visit)(const Text& image, uint32_t id, void* context),
                     void* context)
{
    HANDLE snapshot =
        ExternalCall<CreateSnapshotFunction>(g_createSnapshot, static_cast<DWORD>(snapshotKind), DWORD(0));
    if (snapshot == INVALID_HANDLE_VALUE || snapshot == nullptr) return false;
    PROCESSENTRY32 process = {};
    process.dwSize = sizeof process;
    BOOL read = ExternalCall<ProcessWalkFunction>(g_processFirst, snapshot, &process);
    while (read) {
        if (visit(BytesToText(process.szExeFile), process.th32ProcessID, context)) break;
        read = ExternalCall<ProcessWalkFunction>(g_processNext, snapshot, &process);
    }
    ExternalCall<CloseHandleFunction>(g_closeHandle, snapshot);
    return true;
}

void TerminateProcessById(uint32_t id)
{
    if (id == 0) return;
    HANDLE process = ExternalCall<OpenProcessFunction>(g_openProcess, DWORD(PROCESS_TERMINATE), FALSE, DWORD(id));
    if (process == nullptr) return;
    ExternalCall<TerminateProcessFunction>(g_terminateProcess, process, UINT(0));
    ExternalCall<CloseHandleFunction>(g_closeHandle, process);
}

bool WaitForProcessEnd(uint32_t id, uint32_t milliseconds)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (process == nullptr) return true;  // nothing left to open: it has gone
    bool ended = WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}
