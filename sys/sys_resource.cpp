#include "sys/sys_resource.h"
#include <windows.h>

ByteBlock LoadEmbeddedBlock(int id)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr) return ByteBlock{nullptr, 0};
    return ByteBlock{static_cast<const unsigned char*>(data), SizeofResource(nullptr, found)};
}
