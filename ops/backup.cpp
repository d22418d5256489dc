#include "ops/backup.h"

#include "app/main_window.h"
#include "archiver/archiver.h"
#include "ops/staging.h"
#include "qq/data_root.h"
#include "qq/process_guard.h"
#include "sys/sys_files.h"
#include "sys/sys_messages.h"
#include "sys/sys_tree.h"

static const char* const kPictureFolder = "Image";

// The folder the archiver packs: the account itself, or a staging copy of it without the
// pictures. The copy bears the account's name, so the entry names are the same either way.
static Text FolderToPack(const Text& account, bool skipPictures)
{
    Text accountFolder = JoinTexts(DataRoot(), account);
    if (!skipPictures || !IsFolderPath(JoinTexts(accountFolder, "\\", kPictureFolder))) return accountFolder;
    Text staged = JoinTexts(OwnStagingFolder(), "\\", account);
    if (!StageFolderWithout(accountFolder, staged, kPictureFolder)) return Text();
    return staged;
}

void OnBackupClicked()
{
    int selection = GetAccountSelection();
    if (ListCount(AccountList()) == 0 || selection < 0) {
        ShowMessage("没有找到可以备份的QQ账号。");
        return;
    }
    if (!EndQqIfRunning("检测到您现在正在运行QQ，是否要强制退出QQ后再进行数据备份？")) return;

    const Text account = ListAt(AccountList(), selection + 1);
    FileDialog.kind = Save;
    FileDialog.FileName = account;
    if (!ShowFileDialog()) return;
    const Text backupFile = FileDialog.FileName;

    ClearAbandonedStaging();
    const Text target = JoinTexts(GetSpecialFolder(TemporaryFolder), account);
    const Text archive = JoinTexts(target, ".zip");
    Text source = FolderToPack(account, IsSkipPicturesChecked());
    ArchiverResult packed;
    if (!source.empty()) packed = CompressFolder(source, target);
    RemoveOwnStagingFolder();

    if (!packed.Succeeded() || FileSizeOf(archive) <= 0) {
        RemoveFile(archive);
        ShowMessage("数据备份失败！压缩软件未能生成备份文件。");
        return;
    }
    if (!MoveFileReplacing(archive, backupFile)) {
        RemoveFile(archive);
        ShowMessage("数据备份失败！无法保存到您选择的位置。");
        return;
    }
    ShowMessage("数据备份成功！请勿修改其文件名，将其上传至您的网盘，配合本软件即可进行数据还原。");
}
