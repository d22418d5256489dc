// Record layouts and byte helpers of the zip container, little-endian as the format defines.
#pragma once
#include <cstdint>
#include <string>

const uint32_t kLocalHeaderSignature = 0x04034b50;
const uint32_t kCentralHeaderSignature = 0x02014b50;
const uint32_t kEndRecordSignature = 0x06054b50;
const uint16_t kMethodStored = 0;
const uint16_t kMethodDeflated = 8;
// Version 2.0, made on a FAT host: what Windows archivers write, so readers take the DOS attributes.
const uint16_t kVersion = 20;
const size_t kLocalHeaderSize = 30;
const size_t kCentralHeaderSize = 46;
const size_t kEndRecordSize = 22;

inline void Put16(std::string& out, uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

inline void Put32(std::string& out, uint32_t v)
{
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

inline uint16_t Get16(const std::string& in, size_t at)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(in[at]) |
                                 (static_cast<unsigned char>(in[at + 1]) << 8));
}

inline uint32_t Get32(const std::string& in, size_t at)
{
    return Get16(in, at) | (static_cast<uint32_t>(Get16(in, at + 2)) << 16);
}
