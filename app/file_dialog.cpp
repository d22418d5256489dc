#include "app/file_dialog.h"
#include <windows.h>
#include <commdlg.h>
#include <cstring>
#include "app/main_window.h"
#include "sys/sys_external.h"

const char* const kBackupFilterText = "QQ数据备份文件（*.qq）|*.qq";

FileDialogState FileDialog;

namespace {

const char* const kDefaultExtension = "qq";
const size_t kFileNameBytes = 260;
const size_t kFileTitleBytes = 64;

// The dialog library is loaded on the first click, not at every start.
ExternalEntry g_openDialog = {"comdlg32", "GetOpenFileNameA"};
ExternalEntry g_saveDialog = {"comdlg32", "GetSaveFileNameA"};

bool IsTrailingSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

Text BuildFileFilter(const Text& filterText)
{
    Text filter = filterText;
    while (!filter.empty() && IsTrailingSpace(filter.back())) filter.pop_back();
    if (filter.empty()) return filter;
    if (filter.size() < 2 || filter.compare(filter.size() - 2, 2, "||") != 0) filter += "||";
    for (char& c : filter)
        if (c == '|') c = '\0';
    return filter;
}

bool ShowFileDialog()
{
    Text filter = BuildFileFilter(kBackupFilterText);
    char fileName[kFileNameBytes] = {};
    char fileTitle[kFileTitleBytes] = {};
    std::strncpy(fileName, FileDialog.FileName.c_str(), kFileNameBytes - 1);

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = static_cast<HWND>(MainWindowHandle());
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = kFileNameBytes;
    dialog.lpstrFileTitle = fileTitle;
    dialog.nMaxFileTitle = kFileTitleBytes;
    dialog.lpstrDefExt = kDefaultExtension;
    dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER;

    using DialogFunction = BOOL(WINAPI*)(OPENFILENAMEA*);
    BOOL accepted = ExternalCall<DialogFunction>(FileDialog.kind == Open ? g_openDialog : g_saveDialog, &dialog);
    if (!accepted) return false;
    FileDialog.FileName = fileName;
    return true;
}
