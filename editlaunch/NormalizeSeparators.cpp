#include "editlaunch/NormalizeSeparators.h"

#include <algorithm>

namespace
{

template <class String> void Normalize(String& path, typename String::value_type separator)
{
    using Char = typename String::value_type;
    if (separator != Char('/') && separator != Char('\\'))
        return;
    const Char other = separator == Char('/') ? Char('\\') : Char('/');
    std::replace(path.begin(), path.end(), other, separator);
    const auto doubled = [separator](Char a, Char b) { return a == separator && b == separator; };
    path.erase(std::unique(path.begin(), path.end(), doubled), path.end());
}

} // namespace

void NormalizeSeparators(std::wstring& path, wchar_t separator)
{
    Normalize(path, separator);
}

void NormalizeSeparators(std::string& path, char separator)
{
    Normalize(path, separator);
}
