// Packing a folder tree into a zip archive, deflating file by file in chunks.
#include <windows.h>
#include <zlib.h>
#include <vector>
#include "standin_zip.h"
#include "zip_format.h"

namespace {

struct Entry {
    std::string name;
    uint16_t method;
    uint32_t crc, packedSize, size, offset, attributes;
    uint16_t dosTime, dosDate;
};

struct Packer {
    HANDLE file = INVALID_HANDLE_VALUE;
    uint64_t position = 0;
    std::vector<Entry> entries;
    std::string error;
};

bool WriteAll(Packer& p, const std::string& bytes)
{
    DWORD written = 0;
    if (!WriteFile(p.file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        p.error = "cannot write the archive";
        return false;
    }
    p.position += written;
    return true;
}

bool WriteAt(Packer& p, uint64_t at, const std::string& bytes)
{
    LARGE_INTEGER to, back;
    to.QuadPart = static_cast<LONGLONG>(at);
    back.QuadPart = static_cast<LONGLONG>(p.position);
    DWORD written = 0;
    bool ok = SetFilePointerEx(p.file, to, nullptr, FILE_BEGIN) &&
              WriteFile(p.file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size() && SetFilePointerEx(p.file, back, nullptr, FILE_BEGIN);
    if (!ok) p.error = "cannot write the archive";
    return ok;
}

void DosTimeOf(const FILETIME& time, Entry& e)
{
    FILETIME local;
    FileTimeToLocalFileTime(&time, &local);
    WORD date = 0x21, clock = 0;  // 1980-01-01 when the time cannot be had
    FileTimeToDosDateTime(&local, &date, &clock);
    e.dosDate = date;
    e.dosTime = clock;
}

std::string LocalHeader(const Entry& e)
{
    std::string h;
    Put32(h, kLocalHeaderSignature);
    Put16(h, kVersion);
    Put16(h, 0);  // no flags: names are ANSI bytes, sizes are in this header
    Put16(h, e.method);
    Put16(h, e.dosTime);
    Put16(h, e.dosDate);
    Put32(h, e.crc);
    Put32(h, e.packedSize);
    Put32(h, e.size);
    Put16(h, static_cast<uint16_t>(e.name.size()));
    Put16(h, 0);
    return h + e.name;
}

bool BeginEntry(Packer& p, Entry& e)
{
    if (p.position > 0xFFFFFFFFull || e.name.size() > 0xFFFF) {
        p.error = "archive too large for a plain zip";
        return false;
    }
    e.offset = static_cast<uint32_t>(p.position);
    return WriteAll(p, LocalHeader(e));
}

bool AddFolderEntry(Packer& p, const std::string& name, const WIN32_FIND_DATAA& data)
{
    Entry e{name + "/", kMethodStored, 0, 0, 0, 0, data.dwFileAttributes & 0xFF, 0, 0};
    DosTimeOf(data.ftLastWriteTime, e);
    if (!BeginEntry(p, e)) return false;
    p.entries.push_back(e);
    return true;
}

bool AddFileEntry(Packer& p, const std::string& path, const std::string& name,
                  const WIN32_FIND_DATAA& data)
{
    HANDLE in = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE) {
        p.error = "cannot read " + path;
        return false;
    }
    Entry e{name, kMethodDeflated, 0, 0, 0, 0, data.dwFileAttributes & 0xFF, 0, 0};
    DosTimeOf(data.ftLastWriteTime, e);
    bool ok = BeginEntry(p, e);
    z_stream z{};
    ok = ok && deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    std::vector<unsigned char> input(1 << 16), output(1 << 16);
    uLong crc = crc32(0, nullptr, 0);
    uint64_t size = 0, packed = 0;
    int flush = Z_NO_FLUSH;
    while (ok && flush != Z_FINISH) {
        DWORD got = 0;
        if (!ReadFile(in, input.data(), static_cast<DWORD>(input.size()), &got, nullptr)) {
            p.error = "cannot read " + path;
            ok = false;
            break;
        }
        crc = crc32(crc, input.data(), got);
        size += got;
        flush = got == 0 ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = input.data();
        z.avail_in = got;
        do {
            z.next_out = output.data();
            z.avail_out = static_cast<uInt>(output.size());
            deflate(&z, flush);
            size_t have = output.size() - z.avail_out;
            packed += have;
            ok = WriteAll(p, std::string(reinterpret_cast<char*>(output.data()), have));
        } while (ok && z.avail_out == 0);
    }
    deflateEnd(&z);
    CloseHandle(in);
    if (ok && (size > 0xFFFFFFFFull || packed > 0xFFFFFFFFull)) {
        p.error = "file too large for a plain zip: " + path;
        ok = false;
    }
    if (!ok) return false;
    e.crc = static_cast<uint32_t>(crc);
    e.size = static_cast<uint32_t>(size);
    e.packedSize = static_cast<uint32_t>(packed);
    std::string sizes;
    Put32(sizes, e.crc);
    Put32(sizes, e.packedSize);
    Put32(sizes, e.size);
    if (!WriteAt(p, e.offset + 14ull, sizes)) return false;
    p.entries.push_back(e);
    return true;
}

bool AddTree(Packer& p, const std::string& path, const std::string& name, const WIN32_FIND_DATAA& self)
{
    if (!AddFolderEntry(p, name, self)) return false;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return true;
    bool ok = true;
    do {
        std::string child = data.cFileName;
        if (child == "." || child == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = AddTree(p, path + "\\" + child, name + "/" + child, data);
        else
            ok = AddFileEntry(p, path + "\\" + child, name + "/" + child, data);
    } while (ok && FindNextFileA(search, &data));
    FindClose(search);
    return ok;
}

bool WriteDirectory(Packer& p)
{
    if (p.entries.size() > 0xFFFF || p.position > 0xFFFFFFFFull) {
        p.error = "too many entries for a plain zip";
        return false;
    }
    std::string directory;
    for (const Entry& e : p.entries) {
        Put32(directory, kCentralHeaderSignature);
        Put16(directory, kVersion);
        Put16(directory, kVersion);
        Put16(directory, 0);
        Put16(directory, e.method);
        Put16(directory, e.dosTime);
        Put16(directory, e.dosDate);
        Put32(directory, e.crc);
        Put32(directory, e.packedSize);
        Put32(directory, e.size);
        Put16(directory, static_cast<uint16_t>(e.name.size()));
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, e.attributes);
        Put32(directory, e.offset);
        directory += e.name;
    }
    uint32_t start = static_cast<uint32_t>(p.position);
    std::string end;
    Put32(end, kEndRecordSignature);
    Put16(end, 0);
    Put16(end, 0);
    Put16(end, static_cast<uint16_t>(p.entries.size()));
    Put16(end, static_cast<uint16_t>(p.entries.size()));
    Put32(end, static_cast<uint32_t>(directory.size()));
    Put32(end, start);
    Put16(end, 0);
    return WriteAll(p, directory) && WriteAll(p, end);
}

std::string WithoutFinalSeparator(std::string path)
{
    while (path.size() > 1 && IsSeparatorAt(path, path.size() - 1)) path.erase(path.size() - 1);
    return path;
}

}  // namespace

bool PackFolder(const std::string& folderText, const std::string& zipPath, std::string* error)
{
    std::string folder = WithoutFinalSeparator(folderText);
    WIN32_FIND_DATAA self;
    HANDLE probe = FindFirstFileA(folder.c_str(), &self);
    if (probe == INVALID_HANDLE_VALUE || !(self.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (probe != INVALID_HANDLE_VALUE) FindClose(probe);
        *error = "no such folder: " + folder;
        return false;
    }
    FindClose(probe);

    // A packer that is killed leaves this name behind, never a half archive under zipPath.
    std::string partPath = zipPath + "." + std::to_string(GetCurrentProcessId()) + ".part";
    Packer p;
    p.file = CreateFileA(partPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (p.file == INVALID_HANDLE_VALUE) {
        *error = "cannot create " + partPath;
        return false;
    }
    bool ok = AddTree(p, folder, LastPathPart(folder), self) && WriteDirectory(p);
    CloseHandle(p.file);
    if (ok && !MoveFileExA(partPath.c_str(), zipPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        p.error = "cannot rename the archive to " + zipPath;
        ok = false;
    }
    if (!ok) {
        DeleteFileA(partPath.c_str());
        *error = p.error;
    }
    return ok;
}
