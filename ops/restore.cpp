#include "ops/restore.h"

#include "app/main_window.h"
#include "archiver/archiver.h"
#include "ops/staging.h"
#include "ops/unpacking_name.h"
#include "qq/data_root.h"
#include "qq/process_guard.h"
#include "sys/sys_files.h"
#include "sys/sys_messages.h"
#include "sys/sys_tree.h"

namespace {

// How the archiver gets to see the backup under a ".zip" name: a second name for the same file
// (the user's file never leaves its own name), or, where the volume has no hard links, a rename.
// Where the backup's folder cannot be written at all (a read-only share or disc), the name is
// given in the program's staging folder: a link there, or a copy.
enum class Unpacking { None, AsIs, Link, Renamed, Staged };

struct UnpackingFile {
    Unpacking how = Unpacking::None;
    Text name;
};

Text FileNamePart(const Text& path)
{
    int slash = FindTextReverse(path, "\\");
    return slash > 0 ? MidText(path, slash + 1, TextLength(path)) : path;
}

UnpackingFile GiveUnpackingName(const Text& path)
{
    ClearAbandonedStaging();
    Text name = UnpackingName(path);
    if (TextEquals(LowerText(name), LowerText(path))) return {Unpacking::AsIs, path};
    // A second name of this very file is what an interrupted restore left behind.
    if (FileExists(name) && IsSameFile(name, path)) RemoveOneName(name);
    // A file that already bears the name is someone's own: it is neither unpacked nor touched.
    for (int n = 1; FileExists(name) && n < 1000; ++n) name = AlternativeUnpackingName(path, n);
    if (FileExists(name)) return {};
    if (MakeHardLink(name, path)) return {Unpacking::Link, name};
    RenameFile(path, name);
    if (FileExists(name) && !FileExists(path)) return {Unpacking::Renamed, name};
    if (FileExists(name)) return {};

    // The own staging folder was emptied above with the abandoned ones: the name is free.
    Text staged = JoinTexts(OwnStagingFolder(), "\\", FileNamePart(UnpackingName(path)));
    if (MakeHardLink(staged, path) || CopyToNewFile(path, staged)) return {Unpacking::Staged, staged};
    RemoveOwnStagingFolder();
    return {};
}

void TakeBackUnpackingName(const UnpackingFile& file, const Text& path)
{
    if (file.how == Unpacking::Link) RemoveOneName(file.name);
    if (file.how == Unpacking::Renamed) RenameFile(file.name, path);
    if (file.how == Unpacking::Staged) RemoveOwnStagingFolder();
}

Text StemOfFileName(const Text& path)
{
    Text name = FileNamePart(path);
    int dot = FindTextReverse(name, ".");
    return dot > 1 ? LeftText(name, dot - 1) : name;
}

// The account just restored: the one the file is named after (the save dialog proposes the
// account's name), else one that was not there before, else the first.
int RestoredAccountPosition(const TextList& before, const Text& path)
{
    const TextList& after = AccountList();
    Text stem = StemOfFileName(path);
    for (int i = 1; i <= ListCount(after); ++i)
        if (TextEquals(ListAt(after, i), stem)) return i - 1;
    for (int i = 1; i <= ListCount(after); ++i) {
        bool known = false;
        for (int k = 1; k <= ListCount(before) && !known; ++k) known = TextEquals(ListAt(before, k), ListAt(after, i));
        if (!known) return i - 1;
    }
    return 0;
}

// So that the name shown in the window is the name a later backup uses.
void RefillAccountBox(const TextList& before, const Text& path)
{
    LocateDataRoot();
    ScanAccounts();
    ClearAccountItems();
    for (int i = 1; i <= ListCount(AccountList()); ++i) AddAccountItem(ListAt(AccountList(), i));
    SetAccountSelection(RestoredAccountPosition(before, path));
}

}  // namespace

void OnRestoreClicked()
{
    FileDialog.kind = Open;
    if (!ShowFileDialog()) return;
    RestoreFromFile(FileDialog.FileName);
}

void RestoreFromFile(const Text& path)
{
    LocateDataRoot();
    ScanAccounts();
    if (!EndQqIfRunning("检测到您现在正在运行QQ，是否要强制退出QQ后再进行数据还原？")) return;

    UnpackingFile file;
    if (!path.empty() && FileSizeOf(path) >= 0) file = GiveUnpackingName(path);
    if (file.how == Unpacking::None) {
        ShowMessage("数据还原失败！无法读取备份文件。");
        return;
    }
    const TextList before = AccountList();
    Text destination = DataRoot();
    ArchiverResult unpacked = ExtractArchive(file.name, destination);
    TakeBackUnpackingName(file, path);

    if (!unpacked.Succeeded()) {
        ShowMessage("数据还原失败！压缩软件未能完成解压。");
        return;
    }
    RefillAccountBox(before, path);
    ShowMessage("数据还原成功！请启动QQ查看！");
}
