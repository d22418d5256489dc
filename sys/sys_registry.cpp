#include "sys/sys_registry.h"
#include <windows.h>
#include <vector>

namespace {

HKEY RootKey(int root)
{
    switch (root) {
    case ClassesRoot: return HKEY_CLASSES_ROOT;
    case CurrentConfig: return HKEY_CURRENT_CONFIG;
    case LocalMachine: return HKEY_LOCAL_MACHINE;
    case Users: return HKEY_USERS;
    default: return HKEY_CURRENT_USER;  // 3, and any number the table does not name
    }
}

// A 32-bit process sees the 32-bit view by default; a 64-bit build has to ask for it.
REGSAM ViewFlag(RegistryView view) { return view == View64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY; }

bool OpenForWrite(int root, const Text& key, HKEY* opened)
{
    if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_WRITE | KEY_WOW64_32KEY, opened) == ERROR_SUCCESS)
        return true;
    // Creating also makes every missing key above it.
    return RegCreateKeyExA(RootKey(root), key.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr,
                           opened, nullptr) == ERROR_SUCCESS;
}

bool StoreValue(int root, const Text& path, DWORD type, const BYTE* data, DWORD size)
{
    RegistryPath split = SplitRegistryPath(path);
    HKEY key;
    if (!OpenForWrite(root, split.key, &key)) return false;
    bool stored = RegSetValueExA(key, split.value.c_str(), 0, type, data, size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return stored;
}

Text ExpandText(const Text& text, const Text& fallback)
{
    DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) return fallback;
    std::vector<char> expanded(needed + 1, 0);
    if (ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed) == 0) return fallback;
    return BytesToText(expanded.data(), expanded.size());
}

}  // namespace

RegistryPath SplitRegistryPath(const Text& path)
{
    int split = FindTextReverse(path, "\\");
    if (split < 1) return RegistryPath{Text(), path};
    return RegistryPath{LeftText(path, split - 1), MidText(path, split + 1, TextLength(path))};
}

Text ReadRegistryText(int root, const Text& path, const Text& fallback)
{
    return ReadRegistryTextInView(root, path, fallback, View32);
}

Text ReadRegistryTextInView(int root, const Text& path, const Text& fallback, RegistryView view)
{
    RegistryPath split = SplitRegistryPath(path);
    HKEY key;
    if (RegOpenKeyExA(RootKey(root), split.key.c_str(), 0, KEY_READ | ViewFlag(view), &key) != ERROR_SUCCESS)
        return fallback;
    Text result = fallback;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, split.value.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
        std::vector<char> data(size, 0);
        DWORD read = size;
        if (RegQueryValueExA(key, split.value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                             &read) == ERROR_SUCCESS) {
            Text stored = BytesToText(data.data(), read < size ? read : size);
            result = type == REG_EXPAND_SZ ? ExpandText(stored, fallback) : stored;
        }
    }
    RegCloseKey(key);
    return result;
}

bool WriteRegistryValue(int root, const Text& path, const Text& value)
{
    return StoreValue(root, path, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                      static_cast<DWORD>(value.size() + 1));
}

bool WriteRegistryValue(int root, const Text& path, uint32_t value)
{
    DWORD data = value;
    return StoreValue(root, path, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}
