// The program's own corner of the temporary folder: one staging folder per running process,
// and the clearing of what an interrupted earlier run left there.
#pragma once
#include "sys/sys_text.h"

Text StagingRoot();               // temporary folder + "Brinkvale"
Text OwnStagingFolder();          // StagingRoot() + "\" + this process's id, created
void ClearAbandonedStaging();     // the folders of processes that no longer run
void RemoveOwnStagingFolder();
