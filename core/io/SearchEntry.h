#pragma once

#include <memory>
#include <string>

class CZipMount;

// One place the file system searches: a folder on disk or a mounted zip
// archive.
struct CSearchEntry
{
    std::wstring path; // cleaned, "/" separators
    bool isArchive = false;
    // Archives only: a name that is not found is looked up once more by
    // file name and extension alone, ignoring folders.
    bool retryFileNames = false;
    std::string password; // the archive's, empty for none
    // Archives only: the mounted archive (its entry table and open file).
    std::shared_ptr<CZipMount> mount;
};
