// Registry values addressed by a root number and one path ending in the value name; reads fall
// back to the caller's default, writes create the key chain. Every open sees the 32-bit view.
#pragma once
#include <cstdint>
#include "sys/sys_text.h"

enum RegistryRoot { ClassesRoot = 1, CurrentConfig = 2, CurrentUser = 3, LocalMachine = 4, Users = 5 };

enum RegistryView { View32 = 0, View64 = 1 };

struct RegistryPath {
    Text key;
    Text value;  // empty: the key's default value
};

// Splits at the last backslash that is a character of its own (double-byte aware).
RegistryPath SplitRegistryPath(const Text& path);

Text ReadRegistryText(int root, const Text& path, const Text& fallback = Text());
Text ReadRegistryTextInView(int root, const Text& path, const Text& fallback, RegistryView view);

// True when the value was stored; the system's own callers ignore it.
bool WriteRegistryValue(int root, const Text& path, const Text& value);
bool WriteRegistryValue(int root, const Text& path, uint32_t value);
