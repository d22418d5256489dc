// The Backup button: the selected account packed into a ".qq" file the user names.
#pragma once

void OnBackupClicked();
