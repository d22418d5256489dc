// The ".qq" file type: the program registered as the handler that restores an opened backup.
#pragma once
#include "sys/sys_text.h"

void RegisterFileType(const Text& executablePath, const Text& extensionList, const Text& iconPath,
                      const Text& description, const Text& classKey);
