// The system's process list (the Toolhelp snapshot, reached late-bound) and ending a process.
#pragma once
#include <cstdint>
#include "sys/sys_text.h"

enum SnapshotKind { SnapshotAll = 15, SnapshotProcesses = 2 };

// Calls visit(image name, process id) for each process in snapshot order until it returns true.
// Returns false when the snapshot could not be taken.
template <class Visit>
bool WalkProcesses(int snapshotKind, Visit visit);

bool WalkProcessList(int snapshotKind, bool (*visit)(const Text& image, uint32_t id, void* context),
                     void* context);

void TerminateProcessById(uint32_t id);             // exit code 0; returns at once
bool WaitForProcessEnd(uint32_t id, uint32_t milliseconds);  // true when it has gone

template <class Visit>
bool WalkProcesses(int snapshotKind, Visit visit)
{
    return WalkProcessList(
        snapshotKind,
        [](const Text& image, uint32_t id, void* context) { return (*static_cast<Visit*>(context))(image, id); },
        &visit);
}
