// The skin engine library the program carries, written beside it, and the skin handed to it.
#pragma once
#include "sys/sys_text.h"

Text SkinLibraryPath();  // the run directory followed by "\SkinH_EL.dll"
void EnsureSkinLibrary();
void ApplySkin();
