// The stand-ins' handling of their command line and of the test hooks in the environment.
#include "standin_command.h"
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include "standin_zip.h"

static bool MatchRest(const std::string& rest, const char* pattern, StandInJob* job)
{
    size_t at = 0;
    job->arguments.clear();
    for (const char* p = pattern; *p; p++) {
        if (*p != '\x01') {
            if (at >= rest.size() || rest[at] != *p) return false;
            at++;
            continue;
        }
        size_t close = rest.find('"', at);
        if (close == std::string::npos || close == at) return false;
        job->arguments.push_back(rest.substr(at, close - at));
        at = close;
    }
    return at == rest.size();
}

bool MatchCommandLine(const std::string& line, const std::vector<CommandForm>& forms, StandInJob* job)
{
    for (const CommandForm& form : forms) {
        job->pack = form.pack;
        if (!line.empty() && line[0] == '"') {
            size_t close = line.find('"', 1);
            if (close != std::string::npos && MatchRest(line.substr(close + 1), form.pattern, job))
                return true;
            continue;
        }
        // An unquoted program path may hold blanks; it ends where the form's switches begin.
        std::string pattern = form.pattern;
        std::string lead = pattern.substr(0, pattern.find('\x01'));
        size_t start = line.find(lead);
        if (start != std::string::npos && start > 0 && MatchRest(line.substr(start), form.pattern, job))
            return true;
    }
    return false;
}

static std::string Environment(const char* name)
{
    char value[4096];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

static void AppendToLog(const std::string& path, const std::string& line)
{
    HANDLE log = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    std::string bytes = line + "\r\n";
    DWORD written = 0;
    WriteFile(log, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(log);
}

static bool EndsWithZip(const std::string& path)
{
    return path.size() > 4 && _stricmp(path.c_str() + path.size() - 4, ".zip") == 0;
}

int RunStandIn(const std::vector<CommandForm>& forms, int sourceArgument, int archiveArgument,
               const char* name)
{
    std::string line = GetCommandLineA();
    std::string logPath = Environment("BRINKVALE_ARCHIVER_LOG");
    if (!logPath.empty()) AppendToLog(logPath, line);
    std::string delay = Environment("BRINKVALE_ARCHIVER_DELAY_MS");
    if (!delay.empty()) Sleep(static_cast<DWORD>(strtoul(delay.c_str(), nullptr, 10)));
    if (Environment("BRINKVALE_ARCHIVER_FAIL") == "1") {
        fprintf(stderr, "%s: failing on demand\n", name);
        return ExitFailOnDemand;
    }

    StandInJob job;
    if (!MatchCommandLine(line, forms, &job)) {
        fprintf(stderr, "%s: command line not understood: %s\n", name, line.c_str());
        return ExitBadCommand;
    }
    std::string error;
    bool done;
    if (job.pack) {
        const std::string& archive = job.arguments[archiveArgument];
        if (!EndsWithZip(archive)) {
            fprintf(stderr, "%s: the archive name must end with .zip: %s\n", name, archive.c_str());
            return ExitBadCommand;
        }
        done = PackFolder(job.arguments[sourceArgument], archive, &error);
    } else {
        done = UnpackArchive(job.arguments[0], job.arguments[1], &error);
    }
    if (!done) {
        fprintf(stderr, "%s: %s\n", name, error.c_str());
        return ExitJobFailed;
    }
    return ExitDone;
}
