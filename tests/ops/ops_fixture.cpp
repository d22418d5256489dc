#include "ops_fixture.h"

#include <shlobj.h>

#include <sstream>

// The documents fallback is shared by every test of the prefix: each test starts without it.
static std::string DocumentsFallback()
{
    char documents[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE);
    return std::string(documents) + "\\Tencent Files";
}

void OpsWorld::SetUp()
{
    RemoveTree(DocumentsFallback());
    root_ = std::make_unique<ScratchDir>("ops");
    users_ = *root_ / "QQ\\Users";
    appDir_ = *root_ / "app";
    backups_ = *root_ / "backups";
    log_ = *root_ / "archiver.log";
    MakeFolders(appDir_);
    MakeFolders(backups_);
    ASSERT_TRUE(CopyFileA(BinPath("brinkvale.exe").c_str(), (appDir_ + "\\brinkvale.exe").c_str(), FALSE));
    MakeTree(Account(), {
        {"Msg3.0.db", std::string("chat\0history", 12)},
        {"Info.db", "profile"},
        {"Image\\", ""},
        {"Image\\a.png", "picture-a"},
        {"Image\\Group\\b.gif", "picture-b"},
        {"CustomFace\\", ""},
        {"CustomFace\\\xB1\x5C face.gif", "face"},
        {"Note\\", ""},
        {"Note\\empty\\", ""},
        {"Note\\\xCA\xD5\xB2\xD8 1.txt", "note"},
    });
    qqKey_ = std::make_unique<RegistryKeyGuard>(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tencent\\QQ2009");
    SetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tencent\\QQ2009", "Install", *root_ / "QQ");
    rarKey_ = std::make_unique<RegistryKeyGuard>(HKEY_CURRENT_USER, "Software\\WinRAR SFX");
    SetRegistryString(HKEY_CURRENT_USER, "Software\\WinRAR SFX", "C%%Program Files%WinRAR", BinPath("standin\\winrar"));
}

void OpsWorld::TearDown()
{
    if (program_.process) KillProgram(program_);
    RemoveTree(DocumentsFallback());
}

void OpsWorld::EmptyAccount()
{
    RemoveTree(Account());
    MakeFolders(Account());
}

std::string OpsWorld::MakeBackup(const std::string& path)
{
    std::string target = *root_ / "made";
    EXPECT_EQ(RunToEnd("\"" + BinPath("standin\\winrar\\WinRAR.exe") + "\" a -ep1 -r -iext -- \"" + target +
                       ".zip\" \"" + Account() + "\""), 0);
    MakeFolders(path.substr(0, path.rfind('\\')));
    EXPECT_TRUE(MoveFileA((target + ".zip").c_str(), path.c_str()));
    return path;
}

static std::vector<std::string> WithLog(const std::string& log, std::vector<std::string> environment)
{
    environment.push_back("BRINKVALE_ARCHIVER_LOG=" + log);
    return environment;
}

void OpsWorld::StartWindow(const std::vector<std::string>& extraEnvironment)
{
    program_ = StartProgram("\"" + appDir_ + "\\brinkvale.exe\"", appDir_, WithLog(log_, extraEnvironment));
    ASSERT_NE(program_.process, nullptr);
    window_ = WaitForWindow(program_.pid, nullptr, "Brinkvale", 30000);
    ASSERT_NE(window_, nullptr) << "the main window did not appear";
}

Program OpsWorld::StartRestore(const std::string& quotedPath, const std::vector<std::string>& extraEnvironment)
{
    return StartProgram("\"" + appDir_ + "\\brinkvale.exe\" " + quotedPath, appDir_, WithLog(log_, extraEnvironment));
}

HWND OpsWorld::Control(const std::string& text)
{
    for (const ControlInfo& control : ListControls(window_))
        if (control.text == text) return control.hwnd;
    ADD_FAILURE() << "no control with the text " << text;
    return nullptr;
}

static bool IsReplaceQuestion(const MessageBoxInfo& box)
{
    for (const std::string& caption : box.buttons)
        if (caption.find("是") == 0 || caption.find("&Yes") == 0 || caption.find("Yes") == 0) return true;
    return false;
}

std::string OpsWorld::NextMessage(bool pressOk, DWORD timeoutMs)
{
    DWORD until = GetTickCount() + timeoutMs;
    while (GetTickCount() < until) {
        MessageBoxInfo box;
        if (!WaitForMessageBox(program_.pid, until - GetTickCount(), &box)) break;
        if (box.text.empty()) {  // a box still being built or taken down
            Sleep(100);
            continue;
        }
        if (IsReplaceQuestion(box)) {  // the save dialog's own question before replacing a file
            PressDialogButton(box.hwnd, IDYES);
            Sleep(300);
            continue;
        }
        EXPECT_EQ(box.title, "信息：");
        PressDialogButton(box.hwnd, pressOk ? IDOK : IDCANCEL);
        Sleep(200);
        return box.text;
    }
    SaveScreenshot("C:\\bvtest\\no-message.png");  // what the screen showed instead
    return "<no message>";
}

bool OpsWorld::NoMessageFor(DWORD ms)
{
    MessageBoxInfo box;
    return !WaitForMessageBox(program_.pid, ms, &box);
}

void OpsWorld::CloseWindowAndWait()
{
    PostMessageA(window_, WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(WaitForExit(program_, 20000, &code));
    EXPECT_EQ(code, 0u);
    CloseProgram(program_);
}

std::string UnixPath(const std::string& windowsPath)
{
    using UnixName = char*(CDECL*)(const WCHAR*);
    auto toUnix = reinterpret_cast<UnixName>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name"));
    if (!toUnix) return std::string();
    WCHAR wide[MAX_PATH * 2];
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2);
    char* unix = toUnix(wide);
    if (!unix) return std::string();
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

bool StartUnixCommand(const std::string& utf8CommandLine)
{
    // Unix paths are UTF-8: the command line goes through the wide call so that Wine keeps them.
    std::vector<WCHAR> wide(utf8CommandLine.size() + 1);
    MultiByteToWideChar(CP_UTF8, 0, utf8CommandLine.c_str(), -1, wide.data(), int(wide.size()));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

static const char kExtractScript[] =
    "import sys, zipfile, os\n"
    "z = zipfile.ZipFile(sys.argv[1])\n"
    "out = sys.argv[2]\n"
    "names = []\n"
    "for info in z.infolist():\n"
    "    raw = info.filename.encode('utf-8') if info.flag_bits & 0x800 else info.filename.encode('cp437')\n"
    "    name = raw.decode('gbk').replace('\\\\', '/')\n"
    "    names.append(name)\n"
    "    target = os.path.join(out, name)\n"
    "    if name.endswith('/'):\n"
    "        os.makedirs(target, exist_ok=True)\n"
    "        continue\n"
    "    os.makedirs(os.path.dirname(target), exist_ok=True)\n"
    "    with open(target, 'wb') as f: f.write(z.read(info))\n"
    "open(sys.argv[3] + '.tmp', 'w', encoding='gbk').write('\\n'.join(names))\n"
    "os.rename(sys.argv[3] + '.tmp', sys.argv[3])\n";

static bool RunPython(const std::string& zipPath, const std::string& outDir, std::string* names)
{
    std::string work = outDir + ".py";
    WriteFileBytes(work, kExtractScript);
    std::string list = outDir + ".names";
    MakeFolders(outDir);
    StartUnixCommand("/usr/bin/python3 \"" + UnixPath(work) + "\" \"" + UnixPath(zipPath) + "\" \"" +
                     UnixPath(outDir) + "\" \"" + UnixPath(list) + "\"");
    // Wine cannot wait for a Unix process: the list, written last, tells that the script is done.
    for (int i = 0; i < 600 && !PathExists(list); ++i) Sleep(100);
    bool done = PathExists(list);
    Sleep(100);
    *names = ReadFileBytes(list);
    DeleteFileA(work.c_str());
    DeleteFileA(list.c_str());
    return done;
}

bool ExtractWithPython(const std::string& zipPath, const std::string& outDir)
{
    std::string names;
    return RunPython(zipPath, outDir, &names);
}

std::vector<std::string> ZipEntryNames(const std::string& zipPath)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string out = std::string(temp) + "bv-zipnames-" + std::to_string(GetCurrentProcessId());
    std::string names;
    std::vector<std::string> result;
    if (RunPython(zipPath, out, &names)) {
        std::istringstream lines(names);
        for (std::string line; std::getline(lines, line);) result.push_back(line);
    }
    RemoveTree(out);
    return result;
}

std::map<std::string, std::string> Without(std::map<std::string, std::string> tree, const std::string& prefix)
{
    for (auto it = tree.begin(); it != tree.end();)
        it = it->first.compare(0, prefix.size(), prefix) == 0 ? tree.erase(it) : std::next(it);
    return tree;
}
