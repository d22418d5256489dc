#include "program_start.h"
#include <gtest/gtest.h>

ProgramFolder::ProgramFolder() : folder_(scratch_ / "Brink Tools")
{
    MakeFolders(folder_);
    MakeFolders(scratch_ / "QQ\\Users\\10001");
    MakeFolders(scratch_ / "WinRAR");
    SetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tencent\\QQ2009", "Install", scratch_ / "QQ");
    SetRegistryString(HKEY_CURRENT_USER, "Software\\WinRAR SFX", "C%%Program Files%WinRAR", scratch_ / "WinRAR");
    CopyFileA(BinPath("brinkvale.exe").c_str(), exe().c_str(), FALSE);
}

HWND ProgramFolder::Start()
{
    program = StartProgram("\"" + exe() + "\"", folder_);
    if (!program.process) return nullptr;
    return WaitForWindow(program.pid, "BrinkvaleMain", "Brinkvale", 20000);
}

bool ProgramFolder::Close()
{
    HWND window = FindProcessWindow(program.pid, "BrinkvaleMain", nullptr);
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    bool ended = WaitForExit(program, 20000, &code);
    if (!ended) KillProgram(program);
    else CloseProgram(program);
    return ended && code == 0;
}
