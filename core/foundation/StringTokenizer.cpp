#include "core/foundation/StringTokenizer.h"

#include "core/foundation/TextUtilities.h"

#include <cwctype>

namespace
{

bool IsSpace(wchar_t c)
{
    return std::iswspace(static_cast<wint_t>(c)) != 0;
}

} // namespace

bool CStringTokenizer::NextToken(wchar_t delimiter, std::wstring& token)
{
    if (m_position >= m_text.size())
        return false;
    const size_t end = m_text.find(delimiter, m_position);
    if (end == std::wstring::npos)
    {
        token = m_text.substr(m_position);
        m_position = m_text.size();
    }
    else
    {
        token = m_text.substr(m_position, end - m_position);
        m_position = end + 1;
    }
    return true;
}

std::wstring CStringTokenizer::NextToken(wchar_t delimiter)
{
    std::wstring token;
    NextToken(delimiter, token);
    return token;
}

int32_t CStringTokenizer::NextInt(wchar_t delimiter)
{
    const std::wstring token = NextToken(delimiter);
    size_t first = 0;
    size_t last = token.size();
    while (first < last && IsSpace(token[first]))
        ++first;
    while (last > first && IsSpace(token[last - 1]))
        --last;
    const std::wstring trimmed = token.substr(first, last - first);
    if (trimmed.compare(0, 2, L"0x") == 0)
        return static_cast<int32_t>(ConvertHexStringToInt(trimmed));
    return ConvertDecimalStringToInt(trimmed);
}
