#pragma once

#include "core/io/DataBag.h"

#include <string>

class IFile;

// The application's configuration: text values under composite keys
// ("[section][key]"), saved as ".kvocfg" archives holding one "Data{" block.
class COptions : public CDataBag
{
public:
    // Reads the file through a text or binary archive; false without a file
    // or when no archive opens on it. A file of another type throws the
    // archive's "Expected" error.
    bool Load(IFile* file);
    // mode: "COMPRESSED", "BINARY", or a text encoding name such as "UTF8".
    bool Save(const std::wstring& path, const char* mode);

    const char* GetTypeName() const override { return "KVOOPTIONS"; }
};
