// WinRAR first, 360zip second: found in the registry on every call, driven by four command lines.
#include "archiver/archiver.h"
#include "sys/sys_files.h"
#include "sys/sys_registry.h"

static const char* const kNone = "无";
static const char* const kWinRarPath = "Software\\WinRAR SFX\\C%%Program Files%WinRAR";
static const char* const kZip360Path = "360zip\\DefaultIcon\\";

static Text ReadWinRarValue() { return ReadRegistryText(CurrentUser, kWinRarPath, kNone); }
static Text ReadZip360Value() { return ReadRegistryText(ClassesRoot, kZip360Path, kNone); }

bool IsWinRarInstalled() { return !TextEquals(ReadWinRarValue(), kNone); }
bool Is360ZipInstalled() { return !TextEquals(ReadZip360Value(), kNone); }

Text WinRarProgramPath(const Text& winRarValue) { return JoinTexts(winRarValue, "\\WinRAR.exe"); }

// The value is an icon location, "program,index" or the program alone. The path is quoted so
// that a blank in it cannot make Windows start "C:\Program.exe" instead.
Text Zip360ProgramPath(const Text& zip360Value)
{
    int comma = FindText(zip360Value, ",");
    Text program = comma == -1 ? zip360Value : LeftText(zip360Value, comma - 1);
    if (program.empty() || program[0] == '"') return program;
    return JoinTexts("\"", program, "\"");
}

Text WinRarCompressCommand(const Text& program, const Text& source, const Text& target)
{
    return JoinTexts("\"", program, "\" a -ep1 -r -iext -- \"", target, ".zip\" \"", source, "\"");
}

Text Zip360CompressCommand(const Text& program, const Text& source, const Text& target)
{
    return JoinTexts(program, " -ar \"", source, "\" \"", target, ".zip\"");
}

Text WinRarExtractCommand(const Text& program, const Text& archive, const Text& destination)
{
    return JoinTexts("\"", program, "\" x -iext -ow -ver -- \"", archive, "\" \"", destination, "\"");
}

Text Zip360ExtractCommand(const Text& program, const Text& archive, const Text& destination)
{
    return JoinTexts(program, " -x \"", archive, "\" \"", destination, "\"");
}

static ArchiverResult RunArchiver(const Text& commandLine)
{
    RunResult run = RunProgram(commandLine, true);
    ArchiverResult result;
    result.archiverFound = true;
    result.started = run.started;
    result.exitCode = run.exitCode;
    return result;
}

ArchiverResult CompressWithWinRar(const Text& source, const Text& target)
{
    Text program = WinRarProgramPath(ReadWinRarValue());
    RemoveFile(JoinTexts(target, ".zip"));
    return RunArchiver(WinRarCompressCommand(program, source, target));
}

ArchiverResult CompressWith360Zip(const Text& source, const Text& target)
{
    Text program = Zip360ProgramPath(ReadZip360Value());
    RemoveFile(JoinTexts(target, ".zip"));
    return RunArchiver(Zip360CompressCommand(program, source, target));
}

ArchiverResult ExtractWithWinRar(const Text& archive, Text& destination)
{
    Text program = WinRarProgramPath(ReadWinRarValue());
    // WinRAR reads its destination as a folder only when it ends with "\".
    if (FindText(destination, "\\", TextLength(destination)) == -1) destination += '\\';
    return RunArchiver(WinRarExtractCommand(program, archive, destination));
}

ArchiverResult ExtractWith360Zip(const Text& archive, const Text& destination)
{
    Text program = Zip360ProgramPath(ReadZip360Value());
    return RunArchiver(Zip360ExtractCommand(program, archive, destination));
}

ArchiverResult CompressFolder(const Text& source, const Text& target)
{
    if (IsWinRarInstalled()) return CompressWithWinRar(source, target);
    if (Is360ZipInstalled()) return CompressWith360Zip(source, target);
    return ArchiverResult();
}

ArchiverResult ExtractArchive(const Text& archive, Text& destination)
{
    if (IsWinRarInstalled()) return ExtractWithWinRar(archive, destination);
    if (Is360ZipInstalled()) return ExtractWith360Zip(archive, destination);
    return ArchiverResult();
}
