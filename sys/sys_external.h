// Late-bound library calls: an entry is resolved by name on its first call and kept for the run;
// a library or entry that cannot be found ends the process with the fatal error box.
#pragma once
#include "sys/sys_text.h"

struct ExternalEntry {
    const char* library;  // empty: the standard system libraries, in order
    const char* name;
    void* address = nullptr;
    void* module = nullptr;
};

void* ResolveExternal(ExternalEntry& entry);
// Like ResolveExternal, but gives nullptr instead of the fatal error (for optional libraries).
void* TryResolveExternal(ExternalEntry& entry);
void ReleaseExternalLibraries();  // the exit clean-up's part

template <class Function, class... Args>
auto ExternalCall(ExternalEntry& entry, Args... args)
{
    return reinterpret_cast<Function>(ResolveExternal(entry))(args...);
}
