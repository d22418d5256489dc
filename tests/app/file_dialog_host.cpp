// Shows the program's file dialog once over the real main window and writes what it returned:
//   app_file_dialog_host.exe open|save RESULT-FILE [FILENAME]
// RESULT-FILE gets "1" or "0", a line break, and FileName after the dialog.
#include <windows.h>
#include <cstdio>
#include "app/main_window.h"
#include "sys/sys_exit.h"
#include "sys/sys_files.h"

static void NothingToFill() {}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    InitProcess();
    TextList args = GetCommandLineArgs();
    if (ListCount(args) < 2) EndProgram(2);
    FileDialog.kind = TextEquals(ListAt(args, 1), "open") ? Open : Save;
    if (ListCount(args) >= 3) FileDialog.FileName = ListAt(args, 3);
    LoadMainWindow(NothingToFill);
    bool accepted = ShowFileDialog();
    if (FILE* file = std::fopen(ListAt(args, 2).c_str(), "wb")) {
        std::fprintf(file, "%d\n%s", accepted ? 1 : 0, FileDialog.FileName.c_str());
        std::fclose(file);
    }
    EndProgram(0);
}
