// The ".zip" name a backup file is unpacked under, looked for in the file-name part only, and
// a free variant of it when that name is already taken.
#pragma once
#include "sys/sys_text.h"

// E:\Backup\12345.qq -> E:\Backup\12345.zip; E:\my.backups\12345 -> E:\my.backups\12345.zip
Text UnpackingName(const Text& path);
// The n-th alternative (n >= 1) in the same folder: E:\Backup\12345~1.zip
Text AlternativeUnpackingName(const Text& path, int n);
