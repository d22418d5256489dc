// brinkvale.exe copied into a scratch folder whose path has blanks, on a machine with QQ and an
// archiver recorded, started in window mode and closed again.
#pragma once
#include <string>
#include "driver/driver.h"
#include "support/test_support.h"

class ProgramFolder {
public:
    ProgramFolder();
    std::string folder() const { return folder_; }
    std::string exe() const { return folder_ + "\\brinkvale.exe"; }
    std::string library() const { return folder_ + "\\SkinH_EL.dll"; }
    // Starts the program and waits for its main window; null when none appeared.
    HWND Start();
    // Closes the window and waits for the end; true when the program ended with 0.
    bool Close();
    Program program;
private:
    ScratchDir scratch_{"skin"};
    RegistryKeyGuard qq_{HKEY_LOCAL_MACHINE, "SOFTWARE\\Tencent\\QQ2009"};
    RegistryKeyGuard winRar_{HKEY_CURRENT_USER, "Software\\WinRAR SFX"};
    std::string folder_;
};
