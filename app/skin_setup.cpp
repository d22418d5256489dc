#include "app/skin_setup.h"
#include <cstring>
#include <new>
#include "res/skin/skin_ids.h"
#include "sys/sys_external.h"
#include "sys/sys_files.h"
#include "sys/sys_messages.h"
#include "sys/sys_resource.h"

namespace {

const uint32_t kHiddenOnly = 2;  // FILE_ATTRIBUTE_HIDDEN, replacing every other bit

ExternalEntry SkinAttach = {"SkinH_EL.dll", "SkinH_AttachRes"};

using AttachFunction = int(__stdcall*)(const void* image, unsigned length, const char* password, int, int, int);

}  // namespace

Text SkinLibraryPath() { return JoinTexts(GetRunDirectory(), "\\SkinH_EL.dll"); }

void EnsureSkinLibrary()
{
    Text path = SkinLibraryPath();
    if (FileExists(path)) return;
    WriteBytesToFile(path, {LoadEmbeddedBlock(IDR_SKIN_LIBRARY)});
    ChangeFileAttributes(path, kHiddenOnly);
}

void ApplySkin()
{
    EnsureSkinLibrary();
    ByteBlock image = LoadEmbeddedBlock(IDR_SKIN_IMAGE);
    size_t size = ByteCount(image);
    unsigned char* buffer = new (std::nothrow) unsigned char[size ? size : 1];
    if (buffer == nullptr) FatalAllocationError(size);
    if (size) std::memcpy(buffer, image.data, size);
    // A cosmetic library must never stand between a user and their backup: without it, no skin.
    if (void* entry = TryResolveExternal(SkinAttach))
        reinterpret_cast<AttachFunction>(entry)(buffer, static_cast<unsigned>(size), "", 0, 0, 0);
    delete[] buffer;
}
