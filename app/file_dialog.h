// The file dialog component's fixed settings, and the filter text in the form the dialog reads.
#pragma once
#include "sys/sys_text.h"

extern const char* const kBackupFilterText;  // "QQ数据备份文件（*.qq）|*.qq"

// Trailing white space removed, "||" appended unless present, every "|" a NUL; empty stays empty.
Text BuildFileFilter(const Text& filterText);
