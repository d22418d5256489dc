// Settings files written by other programs (INI sections and keys, read as their ANSI bytes)
// and environment variables inside paths.
#pragma once
#include "sys/sys_text.h"

// "%NAME%" parts replaced by the variables' values; a text without them comes back unchanged.
Text ExpandEnvironmentText(const Text& text);
// The value of key in [section] of the INI file at path, or fallback when file or key is missing.
Text ReadProfileText(const Text& path, const Text& section, const Text& key, const Text& fallback);
