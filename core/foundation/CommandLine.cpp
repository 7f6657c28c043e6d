#include "core/foundation/CommandLine.h"

#include "core/foundation/StringConversion.h"

#include <cwctype>

CCommandLine::CCommandLine(int argc, const char* const* argv)
{
    for (int index = 0; index < argc && argv != nullptr && argv[index] != nullptr; ++index)
        m_arguments.push_back(Misc::Text::Utf8ToWide(argv[index]));
}

CCommandLine::CCommandLine(std::wstring_view line)
{
    const auto isSpace = [](wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; };

    size_t position = 0;
    while (position < line.size())
    {
        while (position < line.size() && isSpace(line[position]))
            ++position;
        if (position == line.size())
            break;

        if (line[position] == L'"')
        {
            const size_t start = ++position;
            size_t end = start;
            while (end < line.size() &&
                   !(line[end] == L'"' && (end + 1 == line.size() || isSpace(line[end + 1]))))
                ++end;
            m_arguments.emplace_back(line.substr(start, end - start));
            // Past the closing quote and the white space after it.
            position = end < line.size() ? end + 2 : end;
        }
        else
        {
            const size_t start = position;
            while (position < line.size() && !isSpace(line[position]))
                ++position;
            m_arguments.emplace_back(line.substr(start, position - start));
            if (position < line.size())
                ++position;
        }
    }
}

const wchar_t* CCommandLine::GetArgument(size_t index) const
{
    return index < m_arguments.size() ? m_arguments[index].c_str() : nullptr;
}
