// Path steps of the stand-ins that must not mistake the second byte of a GBK character for "\".
#include <windows.h>
#include "standin_zip.h"

bool IsSeparatorAt(const std::string& path, size_t position)
{
    for (size_t i = 0; i < path.size(); i++) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            if (position == i + 1) return false;
            i++;
            continue;
        }
        if (i == position) return path[i] == '\\' || path[i] == '/';
    }
    return false;
}

std::string LastPathPart(const std::string& path)
{
    size_t start = 0;
    for (size_t i = 0; i < path.size(); i++) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            i++;
        } else if (path[i] == '\\' || path[i] == '/' || path[i] == ':') {
            start = i + 1;
        }
    }
    return path.substr(start);
}

bool MakeFolderChain(const std::string& path)
{
    for (size_t i = 0; i < path.size(); i++) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            i++;
        } else if ((path[i] == '\\' || path[i] == '/') && i > 0 && path[i - 1] != ':') {
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
        }
    }
    CreateDirectoryA(path.c_str(), nullptr);
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
