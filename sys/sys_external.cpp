#include "sys/sys_external.h"
#include <windows.h>
#include <vector>
#include "sys/sys_files.h"
#include "sys/sys_messages.h"

namespace {

// Tried in this order for an entry that names no library.
const char* const kSystemLibraries[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                        "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

std::vector<ExternalEntry*> g_resolved;

Text WithoutDllExtension(const Text& name)
{
    Text lowered = LowerText(name);
    if (TextLength(lowered) > 4 && TextEquals(RightText(lowered, 4), ".dll"))
        return LeftText(lowered, TextLength(lowered) - 4);
    return lowered;
}

// Loaded late so that a start of the program does not pay for them; system libraries all the same.
const char* const kLateSystemLibraries[] = {"Comdlg32.dll"};

bool IsSystemLibrary(const Text& name)
{
    Text bare = WithoutDllExtension(name);
    for (const char* library : kSystemLibraries) {
        if (TextEquals(bare, WithoutDllExtension(library))) return true;
    }
    for (const char* library : kLateSystemLibraries) {
        if (TextEquals(bare, WithoutDllExtension(library))) return true;
    }
    return false;
}

// A system library comes from the system folder only: a copy planted beside the program or in
// the current folder must never be loaded in its place.
HMODULE LoadSystemLibrary(const Text& name)
{
    HMODULE module = LoadLibraryExA(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    // Systems without the search flags: the full path in the system folder.
    char folder[MAX_PATH + 1] = {};
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length > MAX_PATH) return nullptr;
    Text path = JoinTexts(BytesToText(folder, sizeof folder), "\\", name);
    if (FindText(name, ".") == -1) path += ".dll";
    return LoadLibraryA(path.c_str());
}

Text ModuleFolder()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    Text full = BytesToText(path, sizeof path);
    return LeftText(full, FindTextReverse(full, "\\"));
}

// Another library: the run directory first, then the module's folder, then the system's search.
HMODULE LoadOtherLibrary(const Text& name)
{
    HMODULE module = LoadLibraryA(JoinTexts(GetRunDirectory(), "\\", name).c_str());
    if (module == nullptr) module = LoadLibraryA(JoinTexts(ModuleFolder(), name).c_str());
    if (module == nullptr) module = LoadLibraryA(name.c_str());
    return module;
}

void* FindInSystemLibraries(const char* exportName, HMODULE* found)
{
    for (const char* library : kSystemLibraries) {
        HMODULE module = LoadSystemLibrary(library);
        if (module == nullptr) continue;
        FARPROC address = GetProcAddress(module, exportName);
        if (address != nullptr) {
            *found = module;
            return reinterpret_cast<void*>(address);
        }
        FreeLibrary(module);
    }
    return nullptr;
}

void* FindInNamedLibrary(const Text& library, const char* exportName, HMODULE* found)
{
    HMODULE module = IsSystemLibrary(library) ? LoadSystemLibrary(library) : LoadOtherLibrary(library);
    if (module == nullptr) return nullptr;
    FARPROC address = GetProcAddress(module, exportName);
    if (address == nullptr) {
        FreeLibrary(module);
        return nullptr;
    }
    *found = module;
    return reinterpret_cast<void*>(address);
}

Text MissingEntryMessage(const ExternalEntry& entry)
{
    Text library = entry.library ? entry.library : "";
    if (library.empty()) return JoinTexts("无法找到指定DLL库文件中的输出命令“", entry.name, "”");
    return JoinTexts("无法找到指定DLL库文件“", library, "”中的输出命令“", entry.name, "”");
}

}  // namespace

void* TryResolveExternal(ExternalEntry& entry)
{
    if (entry.address != nullptr) return entry.address;
    Text library = entry.library ? entry.library : "";
    HMODULE module = nullptr;
    void* address = library.empty() ? FindInSystemLibraries(entry.name, &module)
                                    : FindInNamedLibrary(library, entry.name, &module);
    if (address == nullptr) return nullptr;
    entry.address = address;
    entry.module = module;
    g_resolved.push_back(&entry);
    return address;
}

void* ResolveExternal(ExternalEntry& entry)
{
    void* address = TryResolveExternal(entry);
    if (address == nullptr) FatalRuntimeError(MissingEntryMessage(entry));
    return address;
}

void ReleaseExternalLibraries()
{
    for (ExternalEntry* entry : g_resolved) {
        FreeLibrary(static_cast<HMODULE>(entry->module));
        entry->address = nullptr;
        entry->module = nullptr;
    }
    g_resolved.clear();
}
