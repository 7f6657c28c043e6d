#include "core/io/Options.h"

#include "core/io/ArchiveHandle.h"

bool COptions::Load(IFile* file)
{
    return Misc::Serialization::LoadSerializable(*this, file);
}

bool COptions::Save(const std::wstring& path, const char* mode)
{
    return Misc::Serialization::SaveSerializable(*this, path, mode);
}
