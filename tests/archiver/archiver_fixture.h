// What the archiver tests share: the stand-ins' test hooks set for one test, copies of a stand-in
// at chosen paths, and the Unix side of a path for checking archives with Unix zip readers.
#pragma once
#include <string>

// Sets an environment variable of this process (inherited by the archivers it starts) and
// restores the earlier state when the guard ends.
class EnvironmentGuard {
public:
    EnvironmentGuard(const char* name, const std::string& value);
    ~EnvironmentGuard();
private:
    std::string name_, old_;
    bool had_;
};

// Copies the built stand-in (e.g. "standin\\winrar\\WinRAR.exe") to path, making its folders.
void InstallStandIn(const std::string& standIn, const std::string& path);
// The Unix path of a Windows path, as Wine maps it.
std::string UnixPath(const std::string& windowsPath);
