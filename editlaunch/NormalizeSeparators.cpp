#include "editlaunch/NormalizeSeparators.h"

#include <algorithm>

void NormalizeSeparators(std::wstring& path, wchar_t separator)
{
    if (separator != L'/' && separator != L'\\')
        return;
    const wchar_t other = separator == L'/' ? L'\\' : L'/';
    std::replace(path.begin(), path.end(), other, separator);
    const auto doubled = [separator](wchar_t a, wchar_t b) { return a == separator && b == separator; };
    path.erase(std::unique(path.begin(), path.end(), doubled), path.end());
}
