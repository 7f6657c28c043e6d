#pragma once

// What the zip reader and the mounted archives both make of an entry's
// central-directory information: its safe name, attributes and times.

#include "core/io/ZipReader.h"

#include <minizip/unzip.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ZipEntryInfo
{

// The name made safe: every empty, "." and ".." part is dropped, and so is
// a leading drive ("C:", "C:name"), so the name stays inside whatever
// folder it is extracted to. Parts are joined with "/".
std::wstring SafeName(std::wstring_view name);

// Reads minizip's current entry: its information, raw name and (when
// asked) its central extra field. False when the directory is damaged.
bool ReadCurrent(unzFile zip, unz_file_info64& info, std::string& rawName, std::vector<uint8_t>* extra);

// The record of an entry from its central information; the times come
// from the local extra field when it has them, else from the central one,
// else from the DOS time.
ZipEntryRecord MakeRecord(const unz_file_info64& info, const std::string& rawName, int index,
                          const std::vector<uint8_t>& centralExtra, const std::vector<uint8_t>& localExtra);

// Win32 attribute bits from the entry's host and external attributes.
uint32_t Attributes(const unz_file_info64& info, bool nameIsFolder);

// A FILETIME (100 ns since 1601) as Unix seconds and nanoseconds.
int64_t FileTimeToUnix(uint64_t fileTime, int64_t* nanoseconds);

} // namespace ZipEntryInfo
