// Files, folders, the process's identity and command line, special folders, folder search, and
// starting an outside program. Paths are ANSI byte strings handed to the ANSI functions unchanged.
#pragma once
#include <cstdint>
#include <initializer_list>
#include "sys/sys_text.h"

// Records the executable's folder and name and makes the folder the current directory.
void InitProcessPaths();
Text GetRunDirectory();     // without a trailing backslash ("C:" in a drive root)
Text GetExecutableName();   // with its extension

// The arguments after the program's own name, from the raw command line.
TextList GetCommandLineArgs();
TextList SplitCommandLine(const Text& commandLine);

enum SpecialFolderKind { DocumentsFolder = 1, TemporaryFolder = 11 };
Text GetSpecialFolder(int kind);  // ends with "\"; empty when the system gives none

bool FileExists(const Text& path);  // anything FindFirstFileA finds: file, folder, wildcard match
void RemoveFile(const Text& path);
void RenameFile(const Text& oldPath, const Text& newPath);  // never replaces an existing file
void ChangeFileAttributes(const Text& path, uint32_t attributes);
void WriteBytesToFile(const Text& path, std::initializer_list<ByteBlock> blocks);

struct SearchState {
    void* handle = nullptr;  // an open search, or none
};
// A non-empty pattern starts a search, an empty one continues it; empty result at the end.
Text FindFirstMatch(const Text& pattern, uint32_t attributeMask, SearchState& state);
void FindMatchClose(SearchState& state);

struct RunResult {
    bool started = false;
    uint32_t exitCode = 0;  // meaningful once a waited-for program has ended
};
RunResult RunProgram(const Text& commandLine, bool wait);

// Dispatches the queued messages of the GUI thread; a waiting WM_QUIT stays for the main loop.
void ProcessPendingEvents();
