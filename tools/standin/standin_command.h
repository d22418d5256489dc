// What the stand-in archivers share around the zip work: the exact command-line forms they accept,
// the test hooks in the environment, and their exit codes.
#pragma once
#include <string>
#include <vector>

enum StandInExit { ExitDone = 0, ExitFailOnDemand = 1, ExitBadCommand = 2, ExitJobFailed = 3 };

// One accepted form after the program part: literal text with '\x01' where a quoted argument
// stands (the quotes are part of the literal). pack tells packing from unpacking.
struct CommandForm {
    const char* pattern;
    bool pack;
};

struct StandInJob {
    bool pack = false;
    std::vector<std::string> arguments;  // in the order of the form
};

// Matches a raw command line, whose program part may be quoted or not, against the forms.
bool MatchCommandLine(const std::string& line, const std::vector<CommandForm>& forms, StandInJob* job);

// Logs the raw line, honours the fail and delay variables, matches, and runs pack or unpack with
// (source, archive) or (archive, destination) in that order; returns the exit code.
int RunStandIn(const std::vector<CommandForm>& forms, int sourceArgument, int archiveArgument,
               const char* name);
