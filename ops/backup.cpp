#include "ops/backup.h"
void OnBackupClicked() {}
