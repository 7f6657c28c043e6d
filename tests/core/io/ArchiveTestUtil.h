#pragma once

// Helpers shared by the archive tests: the test folder, fixtures, files
// opened for reading and the errors archives throw.

#include "core/foundation/KVOError.h"
#include "core/io/FileStd.h"
#include "core/io/SaveFile.h"

#include "support/ErrorOf.h"
#include "support/TestFolder.h"

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>

namespace ArchiveTest
{

inline std::string Fixture(const std::string& name)
{
    std::ifstream in(std::filesystem::path(HALVANE_TEST_DATA_DIR) / "fixtures" / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file at the path, opened for reading; dropped with the pointer.
inline CFilePtr OpenRead(const std::wstring& path)
{
    return CFilePtr(new CFileStd(path, L"rb"));
}

// The message of the CKVOError the action throws, or "(no error)".
using ::ErrorOf;

} // namespace ArchiveTest
