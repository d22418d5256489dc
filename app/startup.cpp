#include "app/startup.h"
#include "app/main_window.h"
#include "app/skin_setup.h"
#include "archiver/archiver.h"
#include "ops/restore.h"
#include "qq/data_root.h"
#include "shell/file_type.h"
#include "sys/sys_exit.h"
#include "sys/sys_files.h"
#include "sys/sys_messages.h"

namespace {

const char* const kNoQqRoot = "无\\Users\\";

// Window mode: the file type, the data root and the two checks, then the window filled.
void FillWindow()
{
    {
        Text executablePath = JoinTexts(GetRunDirectory(), "\\", GetExecutableName());
        RegisterFileType(executablePath, "qq", Text(), "QQ数据备份文件", Text());
    }
    LocateDataRoot();
    if (!IsWinRarInstalled() && !Is360ZipInstalled()) {
        ShowMessage("您没有安装winrar压缩或者360压缩软件，无法使用本软件，请安装后再使用本软件。");
        EndProgram(0);
    }
    SetFolderText(DataRoot());
    if (TextEquals(DataRoot(), kNoQqRoot)) {
        ShowMessage("软件没有找到您的QQ安装目录，请安装最新版QQ后重启本软件。");
        EndProgram(0);
    }
    ScanAccounts();
    const TextList& accounts = AccountList();
    int count = ListCount(accounts);
    for (int position = 1; position <= count; position++) AddAccountItem(ListAt(accounts, position));
    SetAccountSelection(0);
}

}  // namespace

int StartUp()
{
    InitProcess();
    InitGlobals();
    SetExitCallback(ReleaseGlobals);
    LoadMainWindow(OnMainWindowCreated);
    RunMessageLoop();
    return 0;
}

void InitGlobals() { InitAccountState(); }

void ReleaseGlobals() { ReleaseAccountState(); }

void OnMainWindowCreated()
{
    TextList args;
    ApplySkin();
    args = GetCommandLineArgs();
    if (ListCount(args) >= 1) {
        RestoreFromFile(ListAt(args, 1));
        EndProgram(0);
    }
    FillWindow();
}
