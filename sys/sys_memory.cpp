// Every allocation of the program goes through here, so that a refused one ends the process
// with the allocation message naming the bytes asked for, instead of an exception nobody catches.
#include <cstdlib>
#include <malloc.h>
#include <new>
#include "sys/sys_messages.h"

namespace {

void* Allocate(std::size_t bytes)
{
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) FatalAllocationError(bytes);
    return block;
}

void* AllocateAligned(std::size_t bytes, std::align_val_t alignment)
{
    void* block = _aligned_malloc(bytes == 0 ? 1 : bytes, static_cast<std::size_t>(alignment));
    if (block == nullptr) FatalAllocationError(bytes);
    return block;
}

}  // namespace

void* operator new(std::size_t bytes) { return Allocate(bytes); }
void* operator new[](std::size_t bytes) { return Allocate(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }
void* operator new(std::size_t bytes, std::align_val_t alignment) { return AllocateAligned(bytes, alignment); }
void* operator new[](std::size_t bytes, std::align_val_t alignment) { return AllocateAligned(bytes, alignment); }
void* operator new(std::size_t bytes, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return AllocateAligned(bytes, alignment);
}
void* operator new[](std::size_t bytes, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return AllocateAligned(bytes, alignment);
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { _aligned_free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { _aligned_free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { _aligned_free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { _aligned_free(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { _aligned_free(block); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept { _aligned_free(block); }
