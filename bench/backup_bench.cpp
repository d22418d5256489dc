// Backup (box unticked and ticked) and restore through the window, each against the stand-in
// WinRAR alone doing the same packing or unpacking; the peak working set of brinkvale.exe; and,
// in an extra untimed backup, how much file data the ticked box's staging copied.
#include "bench_benches.h"

#include <windows.h>
#include <tlhelp32.h>
#include <cstdio>
#include <vector>

#include "archiver/archiver.h"
#include "bench_clock.h"
#include "bench_world.h"

namespace {

const char kBackupDone[] = "数据备份成功！";
const char kRestoreDone[] = "数据还原成功！";

std::string TempFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return temp;  // ends with "\"
}

struct Session {
    Program program;
    HWND window = nullptr;
};

bool OpenSession(const BenchWorld& world, bool ticked, Session& session)
{
    session.program = StartBrinkvale(world);
    session.window = session.program.process ? PollWindow(session.program.pid, "Brinkvale", 60000) : nullptr;
    if (!session.window) {
        std::fprintf(stderr, "the main window did not appear\n");
        return false;
    }
    HWND box = FindControl(session.window, "", "不备份聊天内容中的图片");
    if (!box) {
        std::fprintf(stderr, "no picture check box\n");
        return false;
    }
    for (int i = 0; i < 400; ++i) {
        DWORD_PTR state = 0;
        SendMessageTimeoutA(box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
        if ((state == BST_CHECKED) == ticked) return true;
        if (i % 40 == 0) ClickButton(box);
        Sleep(5);
    }
    std::fprintf(stderr, "the picture check box does not change\n");
    return false;
}

// One click on a button whose handler asks for a file: answers the dialog, then times the work
// until the closing message. The message is checked and closed.
double TimeThroughDialog(Session& session, const char* button, const std::string& path, const char* expected,
                         double* peakMb)
{
    HWND control = FindControl(session.window, "", button);
    if (!control) return -1;
    ClickButton(control);
    if (!AnswerFileDialog(session.program.pid, path, 30000)) {
        std::fprintf(stderr, "no file dialog after %s\n", button);
        return -1;
    }
    double start = NowMs();
    MessageBoxInfo box;
    if (!PollMessageBox(session.program.pid, 600000, &box)) return -1;
    double elapsed = NowMs() - start;
    if (peakMb) *peakMb = PeakWorkingSetMb(session.program.process);
    PressDialogButton(box.hwnd, IDOK);
    for (int i = 0; i < 400 && WaitForMessageBox(session.program.pid, 0, nullptr); ++i) Sleep(5);
    if (box.text.rfind(expected, 0) != 0) {
        std::fprintf(stderr, "%s ended with: %s\n", button, box.text.c_str());
        return -1;
    }
    return elapsed;
}

double TimeStandinPack(const std::string& source, const std::string& target)
{
    DeleteFileA((target + ".zip").c_str());
    DWORD code = 1;
    double ms = TimeCommand(WinRarCompressCommand(StandinWinRar(), source, target), &code);
    DeleteFileA((target + ".zip").c_str());
    return code == 0 ? ms : -1;
}

double TimeStandinUnpack(const std::string& archive, const std::string& destination)
{
    DWORD code = 1;
    double ms = TimeCommand(WinRarExtractCommand(StandinWinRar(), archive, destination), &code);
    return code == 0 ? ms : -1;
}

bool ArchiverRunsFor(DWORD parent)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
        found = entry.th32ParentProcessID == parent && _stricmp(entry.szExeFile, "WinRAR.exe") == 0;
    CloseHandle(snapshot);
    return found;
}

struct StagingCount {
    long long copiedBytes = 0, linkedBytes = 0;
    int copiedFiles = 0, linkedFiles = 0, folders = 0;
};

// A file with one link is a copy; more than one, a second name of the account's own file.
void CountStaging(const std::string& folder, StagingCount& count)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ++count.folders;
            CountStaging(path, count);
            continue;
        }
        HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        BY_HANDLE_FILE_INFORMATION info;
        if (GetFileInformationByHandle(file, &info)) {
            long long size = (long long)info.nFileSizeHigh << 32 | info.nFileSizeLow;
            if (info.nNumberOfLinks > 1) {
                ++count.linkedFiles;
                count.linkedBytes += size;
            } else {
                ++count.copiedFiles;
                count.copiedBytes += size;
            }
        }
        CloseHandle(file);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

long long FreeBytes(const std::string& folder)
{
    ULARGE_INTEGER free = {};
    GetDiskFreeSpaceExA(folder.c_str(), &free, nullptr, nullptr);
    return (long long)free.QuadPart;
}

// An untimed ticked backup: once the archiver runs, the staging is complete; count it then.
bool ProbeStaging(Session& session, const std::string& backupPath, StagingCount& count, long long* freeDrop)
{
    DeleteFileA(backupPath.c_str());
    HWND control = FindControl(session.window, "", "备份数据");
    std::string staging = TempFolder() + "Brinkvale\\" + std::to_string(session.program.pid);
    long long freeBefore = FreeBytes(TempFolder());
    ClickButton(control);
    if (!AnswerFileDialog(session.program.pid, backupPath, 30000)) return false;
    bool seen = false;
    for (DWORD start = GetTickCount(); !seen && GetTickCount() - start < 600000;) {
        seen = ArchiverRunsFor(session.program.pid);
        if (!seen) {
            if (WaitForMessageBox(session.program.pid, 0, nullptr)) break;
            Sleep(2);
        }
    }
    if (seen) {
        *freeDrop = freeBefore - FreeBytes(TempFolder());
        CountStaging(staging, count);
    }
    MessageBoxInfo box;
    if (!PollMessageBox(session.program.pid, 600000, &box)) return false;
    PressDialogButton(box.hwnd, IDOK);
    for (int i = 0; i < 400 && WaitForMessageBox(session.program.pid, 0, nullptr); ++i) Sleep(5);
    return seen && box.text.rfind(kBackupDone, 0) == 0;
}

// What leaving Image out costs at least: a bare loop giving every file outside Image a second
// name in the temporary folder and taking it away again, with nothing else around it.
struct LinkLoop {
    int files = 0;
    double ms = 0;
};

// made: each name with whether it is a folder, in the order made.
void LinkTree(const std::string& from, const std::string& to, std::vector<std::pair<std::string, bool>>& made,
              bool top)
{
    CreateDirectoryA(to.c_str(), nullptr);
    made.emplace_back(to, true);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (top && _stricmp(name.c_str(), "Image") == 0) continue;
            LinkTree(from + "\\" + name, to + "\\" + name, made, false);
        } else if (CreateHardLinkA((to + "\\" + name).c_str(), (from + "\\" + name).c_str(), nullptr)) {
            made.emplace_back(to + "\\" + name, false);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

LinkLoop TimeLinkLoop(const std::string& account)
{
    const std::string staging = TempFolder() + "bench-links";
    std::vector<std::pair<std::string, bool>> made;
    double start = NowMs();
    LinkTree(account, staging, made, true);
    LinkLoop loop;
    for (auto name = made.rbegin(); name != made.rend(); ++name) {
        if (name->second) {
            RemoveDirectoryA(name->first.c_str());
        } else {
            DeleteFileA(name->first.c_str());
            ++loop.files;
        }
    }
    loop.ms = NowMs() - start;
    return loop;
}

void PrintStaging(const StagingCount& count, long long freeDrop)
{
    char line[400];
    std::snprintf(line, sizeof line,
                  "staging when the archiver started: %d files copied (%lld bytes), %d hard links (%lld bytes), "
                  "%d folders; volume free space had dropped by %lld bytes (other writers on the volume count too)",
                  count.copiedFiles, count.copiedBytes, count.linkedFiles, count.linkedBytes, count.folders, freeDrop);
    PrintNote(line);
}

}  // namespace

int RunBackupBench(const std::string& root, const std::string& account, int rounds)
{
    BenchWorld world;
    if (!EnterWorld(world, root)) return 1;
    const std::string backups = root + "\\backups";
    const std::string backup = backups + "\\" + account + ".qq";
    const std::string target = TempFolder() + account;
    MakeFolders(backups);
    double peakMb = 0;

    for (int ticked = 1; ticked >= 0; --ticked) {
        Session session;
        if (!OpenSession(world, ticked, session)) return 1;
        const std::string source = ticked ? root + "\\noimage\\" + account : world.users + "\\" + account;
        std::vector<double> ours, base;
        for (int i = 0; i < rounds; ++i) {
            DeleteFileA(backup.c_str());
            double peak = 0;
            double o = TimeThroughDialog(session, "备份数据", backup, kBackupDone, &peak);
            double b = TimeStandinPack(source, target);
            if (o < 0 || b < 0) return 1;
            ours.push_back(o);
            base.push_back(b);
            if (peak > peakMb) peakMb = peak;
            std::printf("SAMPLE backup_%s ours=%.1f standin=%.1f peak_ws_mb=%.2f\n", ticked ? "ticked" : "unticked", o,
                        b, peak);
            std::fflush(stdout);
        }
        PrintResult(ticked ? "backup_ticked" : "backup_unticked", Median(ours) / 1000, Median(base) / 1000, "s");

        if (ticked) {
            StagingCount count;
            long long freeDrop = 0;
            if (!ProbeStaging(session, backups + "\\probe.qq", count, &freeDrop)) {
                std::fprintf(stderr, "the staging could not be seen while the archiver ran\n");
                return 1;
            }
            DeleteFileA((backups + "\\probe.qq").c_str());
            PrintResult("staging_copied", double(count.copiedBytes), 0, "bytes");
            PrintStaging(count, freeDrop);
            LinkLoop loop = TimeLinkLoop(world.users + "\\" + account);
            char line[300];
            std::snprintf(line, sizeof line,
                          "a bare loop linking the %d files outside Image into the temporary folder and removing the "
                          "links again takes %.2f s: the least the ticked box adds to the archiver's time",
                          loop.files, loop.ms / 1000);
            PrintNote(line);
        } else {
            // The last whole backup is the one restored; the stand-in unpacks it under a second name.
            const std::string archive = backups + "\\standin-copy.zip";
            DeleteFileA(archive.c_str());
            if (!CreateHardLinkA(archive.c_str(), backup.c_str(), nullptr)) CopyFileA(backup.c_str(), archive.c_str(), FALSE);
            std::vector<double> oursRestore, baseRestore;
            for (int i = 0; i < rounds; ++i) {
                double o = TimeThroughDialog(session, "还原数据", backup, kRestoreDone, nullptr);
                double b = TimeStandinUnpack(archive, world.users + "\\");
                if (o < 0 || b < 0) return 1;
                oursRestore.push_back(o);
                baseRestore.push_back(b);
                std::printf("SAMPLE restore ours=%.1f standin=%.1f\n", o, b);
                std::fflush(stdout);
            }
            PrintResult("restore", Median(oursRestore) / 1000, Median(baseRestore) / 1000, "s");
            DeleteFileA(archive.c_str());
        }
        CloseWindowAndWait(session.program, session.window);
    }
    PrintResult("backup_peak_ws", peakMb, 0, "MB");
    return 0;
}
