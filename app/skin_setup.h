// The skin engine library the program carries, written beside it, and the skin handed to it.
#pragma once

void EnsureSkinLibrary();
void ApplySkin();
