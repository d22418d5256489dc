// Finding the installed archiver in the registry, building its four command lines, and running
// them to their end; the caller learns whether the job ran and how the archiver exited.
#pragma once
#include <cstdint>
#include "sys/sys_text.h"

struct ArchiverResult {
    bool archiverFound = false;  // a program path was known from the registry
    bool started = false;        // its process could be created
    uint32_t exitCode = 0;
    bool Succeeded() const { return archiverFound && started && exitCode == 0; }
};

bool IsWinRarInstalled();
bool Is360ZipInstalled();

// Packs source (a folder without a final "\") into target + ".zip".
ArchiverResult CompressFolder(const Text& source, const Text& target);
// Unpacks archive below destination; with WinRAR the caller's destination may gain a final "\".
ArchiverResult ExtractArchive(const Text& archive, Text& destination);

ArchiverResult CompressWithWinRar(const Text& source, const Text& target);
ArchiverResult CompressWith360Zip(const Text& source, const Text& target);
ArchiverResult ExtractWithWinRar(const Text& archive, Text& destination);
ArchiverResult ExtractWith360Zip(const Text& archive, const Text& destination);

// The command lines themselves, from the registry values as read.
Text WinRarProgramPath(const Text& winRarValue);
Text Zip360ProgramPath(const Text& zip360Value);
Text WinRarCompressCommand(const Text& program, const Text& source, const Text& target);
Text Zip360CompressCommand(const Text& program, const Text& source, const Text& target);
Text WinRarExtractCommand(const Text& program, const Text& archive, const Text& destination);
Text Zip360ExtractCommand(const Text& program, const Text& archive, const Text& destination);
