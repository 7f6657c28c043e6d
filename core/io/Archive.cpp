#include "core/io/Archive.h"

namespace Misc::Serialization
{

bool IArchive::WriteWString(const wchar_t* text)
{
    return WriteWString(std::wstring(text ? text : L""), true);
}

bool IArchive::WriteString(const char* text)
{
    return WriteString(std::string(text ? text : ""), true);
}

namespace
{
template <typename WriteValue> bool WriteKeyLine(IArchive& archive, const char* key, WriteValue writeValue)
{
    return archive.WriteString(key) && archive.WriteSpaces(1) && writeValue() && archive.EndLine(0);
}
} // namespace

bool IArchive::WriteKeyString(const char* key, const std::string& value)
{
    return WriteKeyLine(*this, key, [&] { return WriteString(value, true); });
}

bool IArchive::WriteKeyCString(const char* key, const char* value)
{
    return WriteKeyLine(*this, key, [&] { return WriteString(value); });
}

bool IArchive::WriteKeyWString(const char* key, const std::wstring& value)
{
    return WriteKeyLine(*this, key, [&] { return WriteWString(value, true); });
}

bool IArchive::WriteKeyBool(const char* key, bool value)
{
    return WriteKeyLine(*this, key, [&] { return WriteBool(value); });
}

bool IArchive::WriteKeyInt(const char* key, int32_t value)
{
    return WriteKeyLine(*this, key, [&] { return WriteInt(value); });
}

bool IArchive::WriteKeyLong(const char* key, int32_t value)
{
    return WriteKeyLine(*this, key, [&] { return WriteULong(static_cast<uint32_t>(value)); });
}

bool IArchive::WriteKeyULong(const char* key, uint32_t value)
{
    return WriteKeyLine(*this, key, [&] { return WriteUInt(value); });
}

bool IArchive::WriteKeyFloat(const char* key, float value)
{
    return WriteKeyLine(*this, key, [&] { return WriteFloat(value, 6); });
}

bool IArchive::ReadKeyUInt(const char* key, uint32_t& value)
{
    ExpectToken(key);
    return ReadULong(value);
}

bool IArchive::ReadKeyULong(const char* key, uint32_t& value)
{
    ExpectToken(key);
    return ReadUInt(value);
}

bool IArchive::ReadKeyInt(const char* key, int32_t& value)
{
    ExpectToken(key);
    return ReadInt(value);
}

bool IArchive::ReadKeyFloat(const char* key, float& value)
{
    ExpectToken(key);
    return ReadFloat(value);
}

bool IArchive::ReadKeyString(const char* key, std::string& value)
{
    ExpectToken(key);
    return ReadString(value);
}

bool IArchive::ReadKeyWString(const char* key, std::wstring& value)
{
    ExpectToken(key);
    return ReadWString(value);
}

bool IArchive::ReadKeyBool(const char* key, bool& value)
{
    ExpectToken(key);
    return ReadBool(value);
}

} // namespace Misc::Serialization
