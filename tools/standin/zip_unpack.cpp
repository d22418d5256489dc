// Unpacking a zip archive below a folder: stored and deflated entries, checked against their CRC.
#include <windows.h>
#include <zlib.h>
#include <vector>
#include "standin_zip.h"
#include "zip_format.h"

namespace {

struct Reader {
    HANDLE file = INVALID_HANDLE_VALUE;
    uint64_t size = 0;
};

bool ReadAt(Reader& r, uint64_t at, size_t count, std::string* bytes)
{
    if (at > r.size || count > r.size - at) return false;
    bytes->resize(count);
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(at);
    DWORD got = 0;
    return SetFilePointerEx(r.file, to, nullptr, FILE_BEGIN) &&
           (count == 0 || ReadFile(r.file, &(*bytes)[0], static_cast<DWORD>(count), &got, nullptr)) &&
           got == count;
}

bool FindEndRecord(Reader& r, std::string* end)
{
    size_t tail = static_cast<size_t>(r.size < 65557 ? r.size : 65557);
    std::string bytes;
    if (tail < kEndRecordSize || !ReadAt(r, r.size - tail, tail, &bytes)) return false;
    for (size_t at = tail - kEndRecordSize + 1; at-- > 0;) {
        if (Get32(bytes, at) == kEndRecordSignature) {
            *end = bytes.substr(at, kEndRecordSize);
            return true;
        }
    }
    return false;
}

// Names that would land outside the destination are refused, as any careful unpacker does.
bool IsSafeName(const std::string& name)
{
    if (name.empty() || name[0] == '/' || name[0] == '\\' || name.find(':') != std::string::npos)
        return false;
    size_t start = 0;
    for (size_t i = 0; i <= name.size(); i++) {
        if (i == name.size() || IsSeparatorAt(name, i)) {
            if (name.compare(start, i - start, "..") == 0) return false;
            start = i + 1;
        }
    }
    return true;
}

std::string ToWindowsPath(std::string name)
{
    for (size_t i = 0; i < name.size(); i++)
        if (name[i] == '/') name[i] = '\\';  // "/" is never the second byte of a GBK character
    return name;
}

bool WriteEntry(Reader& r, uint64_t dataAt, uint16_t method, uint32_t packedSize, uint32_t crcWanted,
                const std::string& path, std::string* error)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        *error = "cannot create " + path;
        return false;
    }
    z_stream z{};
    bool ok = method == kMethodStored || inflateInit2(&z, -MAX_WBITS) == Z_OK;
    uLong crc = crc32(0, nullptr, 0);
    std::vector<unsigned char> output(1 << 16);
    std::string chunk;
    uint64_t left = packedSize, at = dataAt;
    bool ended = method == kMethodStored;
    while (ok && left > 0) {
        size_t count = static_cast<size_t>(left < (1u << 16) ? left : (1u << 16));
        if (!ReadAt(r, at, count, &chunk)) {
            *error = "archive is truncated";
            ok = false;
            break;
        }
        at += count;
        left -= count;
        if (method == kMethodStored) {
            crc = crc32(crc, reinterpret_cast<const Bytef*>(chunk.data()), static_cast<uInt>(count));
            DWORD written = 0;
            ok = WriteFile(out, chunk.data(), static_cast<DWORD>(count), &written, nullptr) && written == count;
            continue;
        }
        z.next_in = reinterpret_cast<Bytef*>(&chunk[0]);
        z.avail_in = static_cast<uInt>(count);
        while (ok && (z.avail_in > 0 || z.avail_out == 0) && !ended) {
            z.next_out = output.data();
            z.avail_out = static_cast<uInt>(output.size());
            int status = inflate(&z, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
                *error = "damaged data in the archive";
                ok = false;
                break;
            }
            ended = status == Z_STREAM_END;
            size_t have = output.size() - z.avail_out;
            crc = crc32(crc, output.data(), static_cast<uInt>(have));
            DWORD written = 0;
            ok = WriteFile(out, output.data(), static_cast<DWORD>(have), &written, nullptr) && written == have;
            if (status == Z_BUF_ERROR && have == 0) break;
        }
    }
    if (method != kMethodStored) inflateEnd(&z);
    CloseHandle(out);
    if (ok && (!ended || crc != crcWanted)) {
        *error = "damaged data in the archive: " + path;
        ok = false;
    }
    if (!ok && error->empty()) *error = "cannot write " + path;
    return ok;
}

}  // namespace

bool UnpackArchive(const std::string& zipPath, const std::string& destinationText, std::string* error)
{
    Reader r;
    r.file = CreateFileA(zipPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (r.file == INVALID_HANDLE_VALUE) {
        *error = "cannot open " + zipPath;
        return false;
    }
    LARGE_INTEGER size;
    GetFileSizeEx(r.file, &size);
    r.size = static_cast<uint64_t>(size.QuadPart);

    std::string end, directory;
    bool ok = FindEndRecord(r, &end) &&
              ReadAt(r, Get32(end, 16), Get32(end, 12), &directory);
    if (!ok) *error = "not a zip archive: " + zipPath;

    std::string destination = destinationText;
    if (!destination.empty() && !IsSeparatorAt(destination, destination.size() - 1)) destination += '\\';
    if (ok && !destination.empty() && !MakeFolderChain(destination.substr(0, destination.size() - 1))) {
        *error = "cannot create " + destination;
        ok = false;
    }

    size_t at = 0;
    for (uint16_t n = ok ? Get16(end, 10) : 0; ok && n > 0; n--) {
        if (at + kCentralHeaderSize > directory.size() || Get32(directory, at) != kCentralHeaderSignature) {
            *error = "damaged archive directory";
            ok = false;
            break;
        }
        uint16_t flags = Get16(directory, at + 8), method = Get16(directory, at + 10);
        uint32_t crc = Get32(directory, at + 16), packedSize = Get32(directory, at + 20);
        size_t nameLength = Get16(directory, at + 28);
        size_t skip = kCentralHeaderSize + nameLength + Get16(directory, at + 30) + Get16(directory, at + 32);
        uint32_t localAt = Get32(directory, at + 42);
        std::string name = directory.substr(at + kCentralHeaderSize, nameLength);
        at += skip;

        std::string local;
        if (!IsSafeName(name) || (flags & 1) || (method != kMethodStored && method != kMethodDeflated) ||
            !ReadAt(r, localAt, kLocalHeaderSize, &local) || Get32(local, 0) != kLocalHeaderSignature) {
            *error = "cannot unpack entry " + name;
            ok = false;
            break;
        }
        uint64_t dataAt = localAt + kLocalHeaderSize + Get16(local, 26) + Get16(local, 28);
        std::string path = destination + ToWindowsPath(name);
        if (IsSeparatorAt(path, path.size() - 1)) {
            ok = MakeFolderChain(path.substr(0, path.size() - 1));
            if (!ok) *error = "cannot create " + path;
            continue;
        }
        size_t leafLength = LastPathPart(path).size();
        ok = (leafLength >= path.size() || MakeFolderChain(path.substr(0, path.size() - leafLength - 1))) &&
             WriteEntry(r, dataAt, method, packedSize, crc, path, error);
        if (!ok && error->empty()) *error = "cannot create the folder of " + path;
    }
    CloseHandle(r.file);
    return ok;
}
