#include "app/skin_setup.h"
void EnsureSkinLibrary() {}
void ApplySkin() {}
