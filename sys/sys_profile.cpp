#include "sys/sys_profile.h"
#include <windows.h>
#include <vector>

Text ExpandEnvironmentText(const Text& text)
{
    // The size the call asks for may count characters rather than bytes, too few for double-byte
    // text, so the buffer grows until the result and its terminating zero fit.
    for (DWORD capacity = 512;; capacity *= 2) {
        std::vector<char> expanded(capacity + 2, 0);
        DWORD needed = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), capacity);
        if (needed == 0) return text;
        if (needed <= capacity && expanded[capacity - 1] == 0) return Text(expanded.data());
        if (capacity > (1u << 20)) return text;
    }
}

Text ReadProfileText(const Text& path, const Text& section, const Text& key, const Text& fallback)
{
    // A value as long as a path and then some; the call cuts longer ones, which no path needs.
    std::vector<char> value(4096, 0);
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "\x01", value.data(),
                                            static_cast<DWORD>(value.size()), path.c_str());
    Text read(value.data(), length);
    return read == "\x01" ? fallback : read;
}
