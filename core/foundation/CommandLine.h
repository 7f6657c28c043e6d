#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The program's arguments as wide text; argument 0 is the program as the
// command line names it.
class CCommandLine
{
public:
    // From the arguments the program was started with (UTF-8).
    CCommandLine(int argc, const char* const* argv);
    // Splits a whole command line: arguments are separated by white space; an
    // argument that begins with a double quote runs to the first double quote
    // followed by white space or the end (other quotes stay in it), or to the
    // end of the line when there is none. A backslash is an ordinary
    // character. Trailing white space gives no further argument.
    explicit CCommandLine(std::wstring_view commandLine);

    // The argument's text, or null when the index is not below the count.
    const wchar_t* GetArgument(size_t index) const;
    size_t GetArgumentCount() const { return m_arguments.size(); }

private:
    std::vector<std::wstring> m_arguments;
};
