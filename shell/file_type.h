// The ".qq" file type: the program registered as the handler that restores an opened backup,
// under the classes root or, where that cannot be written, under the user's own classes.
#pragma once
#include <cstdint>
#include <vector>
#include "sys/sys_text.h"

// One value of the registration: a text, or a number when isNumber is set.
struct FileTypeValue {
    Text path;  // below the classes root; ending in "\" names a key's default value
    Text text;
    bool isNumber = false;
    uint32_t number = 0;
};

// The values RegisterFileType writes, in the order it writes them.
std::vector<FileTypeValue> FileTypeValues(const Text& executablePath, const Text& extensionList,
                                          const Text& iconPath, const Text& description, const Text& classKey);

// The same value's path under HKEY_CURRENT_USER, whose Software\Classes the classes root merges.
Text UserClassesPath(const Text& path);

void RegisterFileType(const Text& executablePath, const Text& extensionList, const Text& iconPath,
                      const Text& description, const Text& classKey);
