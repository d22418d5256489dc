#include "ops/restore.h"
void OnRestoreClicked() {}
void RestoreFromFile(const Text&) {}
