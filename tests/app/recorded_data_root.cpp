// The data-root module as the program has it (compiled into the probe with two entries renamed),
// with its release written to the file that BV_RELEASE_LOG names, and on BV_FATAL_AT_DATA_ROOT
// a read past the end of the empty account list, which the program treats as a fatal error.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include "qq/data_root.h"

void ReleaseAccountStateUnrecorded();
void LocateDataRootUnchecked();

void ReleaseAccountState()
{
    if (const char* log = std::getenv("BV_RELEASE_LOG")) {
        if (FILE* file = std::fopen(log, "ab")) {
            std::fputs("released\n", file);
            std::fclose(file);
        }
    }
    ReleaseAccountStateUnrecorded();
}

void LocateDataRoot()
{
    if (std::getenv("BV_FATAL_AT_DATA_ROOT")) ListAt(AccountList(), 1);
    LocateDataRootUnchecked();
}
