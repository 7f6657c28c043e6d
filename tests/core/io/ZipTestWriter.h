#pragma once

// Writes zip archives for the tests with minizip's own writer.

#include <minizip/zip.h>
#include <zlib.h>

#include <cstdlib>
#include <ctime>
#define INCLUDECRYPTINGCODE_IFCRYPTALLOWED
#include <minizip/crypt.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct SZipTestEntry
{
    SZipTestEntry(std::string entryName, std::string bytes, bool deflated = true)
        : name(std::move(entryName)), data(std::move(bytes)), deflate(deflated)
    {
    }

    std::string name;
    std::string data;
    bool deflate = true;
    std::string password;            // empty: not encrypted
    uint32_t externalAttributes = 0; // DOS bits for host 0
    uint32_t host = 0;               // "version made by" host: 0 DOS, 3 Unix
    uint32_t dosDate = 0x5A8B6C00;   // 2025-04-11 13:32:00 (local time)
    std::string localExtra;
};

// Debian's minizip writer garbles encrypted entries (its key schedule reads
// zlib's 32-bit CRC table as 64-bit values), so encrypted entries are
// deflated and encrypted here and handed to the writer raw.
inline std::string EncryptedPayload(const SZipTestEntry& entry, uLong crc)
{
    std::string payload;
    if (entry.deflate)
    {
        z_stream stream = {};
        deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, DEF_MEM_LEVEL,
                     Z_DEFAULT_STRATEGY);
        payload.resize(deflateBound(&stream, static_cast<uLong>(entry.data.size())));
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(entry.data.data()));
        stream.avail_in = static_cast<uInt>(entry.data.size());
        stream.next_out = reinterpret_cast<Bytef*>(payload.data());
        stream.avail_out = static_cast<uInt>(payload.size());
        deflate(&stream, Z_FINISH);
        payload.resize(stream.total_out);
        deflateEnd(&stream);
    }
    else
    {
        payload = entry.data;
    }
    static unsigned long table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = get_crc_table()[i];
    unsigned long keys[3];
    unsigned char header[RAND_HEAD_LEN];
    // crypthead seeds rand() from the clock on its first call. A wrong
    // password passes the header's one-byte check for about 1 header in 256,
    // so the headers are made the same in every run: one call up front takes
    // the clock seed, and every header starts from a fixed seed.
    static const bool clockSeedTaken = [&]
    {
        unsigned char unused[RAND_HEAD_LEN];
        unsigned long unusedKeys[3];
        crypthead("", unused, RAND_HEAD_LEN, unusedKeys, table, 0);
        return true;
    }();
    (void)clockSeedTaken;
    srand(20261210);
    crypthead(entry.password.c_str(), header, RAND_HEAD_LEN, keys, table, crc);
    int t;
    for (char& c : payload)
        c = static_cast<char>(zencode(keys, table, static_cast<unsigned char>(c), t));
    return std::string(reinterpret_cast<char*>(header), RAND_HEAD_LEN) + payload;
}

inline void WriteTestZip(const std::string& path, const std::vector<SZipTestEntry>& entries)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        throw std::runtime_error("cannot create " + path);
    for (const SZipTestEntry& entry : entries)
    {
        zip_fileinfo info = {};
        info.dosDate = entry.dosDate;
        info.external_fa = entry.externalAttributes;
        const uLong crc =
            crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size()));
        const bool encrypted = !entry.password.empty();
        const std::string payload = encrypted ? EncryptedPayload(entry, crc) : entry.data;
        if (zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info,
                                    entry.localExtra.empty() ? nullptr : entry.localExtra.data(),
                                    static_cast<uInt>(entry.localExtra.size()), nullptr, 0, nullptr,
                                    entry.deflate ? Z_DEFLATED : 0, Z_DEFAULT_COMPRESSION, encrypted ? 1 : 0,
                                    -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0,
                                    (entry.host << 8) | 20, encrypted ? 1 : 0, 0) != ZIP_OK ||
            zipWriteInFileInZip(zip, payload.data(), static_cast<unsigned>(payload.size())) != ZIP_OK ||
            (encrypted ? zipCloseFileInZipRaw64(zip, entry.data.size(), crc) : zipCloseFileInZip(zip)) !=
                ZIP_OK)
        {
            zipClose(zip, nullptr);
            throw std::runtime_error("cannot write " + entry.name);
        }
    }
    zipClose(zip, nullptr);
}

// Bytes that repeat enough to deflate well but are not all alike.
inline std::string TestBytes(size_t size, unsigned seed = 1)
{
    std::string bytes(size, '\0');
    uint32_t state = seed;
    for (size_t i = 0; i < size; ++i)
    {
        state = state * 1103515245u + 12345u;
        bytes[i] = static_cast<char>("abcdefgh \n"[(state >> 16) % 10]);
    }
    return bytes;
}
