#include "core/io/DataBag.h"

#include "core/foundation/ScopedCLocale.h"
#include "core/foundation/TextUtilities.h"
#include "core/foundation/WideFormat.h"
#include "core/io/Archive.h"

#include <algorithm>
#include <cwchar>
#include <utility>
#include <vector>

namespace
{
// Formatted values are cut to fit a buffer of this size, terminator included.
constexpr size_t kValueBufferSize = 1024;

// Position of a code point in UTF-16 unit order: the units E000-FFFF sort
// after the surrogates that encode the characters above FFFF.
uint32_t Utf16Rank(wchar_t c)
{
    const uint32_t code = static_cast<uint32_t>(c);
    return (code >= 0xE000 && code <= 0xFFFF) ? code + 0x200000 : code;
}
} // namespace

bool CUtf16Less::operator()(const std::wstring& a, const std::wstring& b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](wchar_t x, wchar_t y) { return Utf16Rank(x) < Utf16Rank(y); });
}

void CDataBag::Set(const std::wstring& key, const std::wstring& value)
{
    m_entries[key] = value;
}

void CDataBag::SetInt(const std::wstring& key, int32_t value, bool hex)
{
    Set(key, Misc::Text::FormatWide(kValueBufferSize, hex ? L"0x%02X" : L"%i", value));
}

void CDataBag::SetFloat(const std::wstring& key, float value)
{
    Set(key, Misc::Text::FormatWide(kValueBufferSize, L"%g", static_cast<double>(value)));
}

void CDataBag::SetBool(const std::wstring& key, bool value)
{
    Set(key, value ? L"1" : L"0");
}

bool CDataBag::Exists(const std::wstring& key) const
{
    return m_entries.find(key) != m_entries.end();
}

bool CDataBag::Get(const std::wstring& key, std::wstring& value) const
{
    const auto it = m_entries.find(key);
    if (it == m_entries.end())
        return false;
    value = it->second;
    return true;
}

bool CDataBag::GetInt(const std::wstring& key, int32_t& value) const
{
    const auto it = m_entries.find(key);
    if (it == m_entries.end())
        return false;
    const std::wstring& text = it->second;
    if (text.compare(0, 2, L"0x") == 0)
        value = static_cast<int32_t>(ConvertHexStringToInt(text));
    else
        value = ConvertDecimalStringToInt(text);
    return true;
}

bool CDataBag::GetFloat(const std::wstring& key, float& value) const
{
    const auto it = m_entries.find(key);
    if (it == m_entries.end())
        return false;
    const Misc::Text::CScopedCLocale cLocale;
    float parsed = 0.0f;
    if (std::swscanf(it->second.c_str(), L"%f", &parsed) == 1)
        value = parsed;
    return true;
}

bool CDataBag::GetBool(const std::wstring& key, bool& value) const
{
    const auto it = m_entries.find(key);
    if (it == m_entries.end())
        return false;
    value = ConvertDecimalStringToInt(it->second) != 0;
    return true;
}

void CDataBag::Delete(const std::wstring& key)
{
    m_entries.erase(key);
}

bool CDataBag::Write(Misc::Serialization::IArchive& archive)
{
    archive.EndLine(0);
    archive.WriteString("Data{");
    archive.EndLine(+1);
    std::wstring written = L"-";
    for (const auto& [key, value] : m_entries)
    {
        written.resize(1);
        written += key;
        // A failing step ends this entry's line; the next entry still goes out.
        if (archive.WriteWString(written, true) && archive.WriteSpaces(1) &&
            archive.WriteWString(value, true))
            archive.EndLine(0);
    }
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
    return true;
}

bool CDataBag::Read(Misc::Serialization::IArchive& archive)
{
    archive.ExpectToken("Data{");
    // The entries go into the bag only once the whole block has been read,
    // so a block that fails leaves the bag as it was. The list is kept for
    // the thread's next block (its strings move out into the bag).
    thread_local std::vector<std::pair<std::wstring, std::wstring>> entries;
    entries.clear();
    std::wstring token;
    for (;;)
    {
        // A token that cannot be read (the block is cut off before its "}",
        // or a compressed archive refers past its string table) makes the
        // archive report the missing brace instead of looping; a block that
        // has its "}" after a lost key or value still fails.
        if (!archive.ReadWString(token))
        {
            archive.ExpectToken("}");
            return false;
        }
        if (token == L"}")
            break;
        std::wstring value;
        if (!archive.ReadWString(value))
        {
            archive.ExpectToken("}");
            return false;
        }
        entries.emplace_back(token.empty() ? token : token.substr(1), std::move(value));
    }
    for (auto& [key, value] : entries)
        m_entries.insert_or_assign(std::move(key), std::move(value));
    entries.clear();
    return true;
}
