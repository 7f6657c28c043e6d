#include "core/foundation/WideFormat.h"

#include "core/foundation/ScopedCLocale.h"
#include "core/foundation/StringConversion.h"

#include <cstdint>
#include <cstdio>
#include <cwchar>

namespace Misc::Text
{

namespace
{

// Widths and precisions above this are treated as a malformed conversion.
constexpr int kMaxWidth = 100000;

enum class Length
{
    Default,
    Char,     // hh
    Short,    // h
    Long,     // l  (32-bit on integers, wide on text)
    LongLong, // ll, I64, q, j
    Size,     // z, t, I (pointer-sized)
    LongDouble,
    Int32, // I32
};

struct Spec
{
    std::wstring flags;
    int width = -1;
    bool leftAlign = false;
    int precision = -1;
    Length length = Length::Default;
    wchar_t conversion = 0;
};

// Pads text to the conversion's width.
void AppendPadded(std::wstring& out, const std::wstring& text, const Spec& spec)
{
    const size_t width = spec.width > 0 ? static_cast<size_t>(spec.width) : 0;
    if (text.size() >= width)
    {
        out += text;
        return;
    }
    const std::wstring padding(width - text.size(), L' ');
    if (spec.leftAlign)
        out += text + padding;
    else
        out += padding + text;
}

// Formats one numeric conversion with the C library, from a rebuilt spec.
template <typename T>
void AppendNumber(std::wstring& out, const Spec& spec, const wchar_t* lengthText, T value)
{
    std::wstring format = L"%" + spec.flags;
    if (spec.width >= 0)
        format += std::to_wstring(spec.width);
    if (spec.precision >= 0)
        format += L"." + std::to_wstring(spec.precision);
    format += lengthText;
    format += spec.conversion;

    std::wstring buffer(64, L'\0');
    for (;;)
    {
        const int written = std::swprintf(buffer.data(), buffer.size(), format.c_str(), value);
        if (written >= 0 && static_cast<size_t>(written) < buffer.size())
        {
            buffer.resize(static_cast<size_t>(written));
            break;
        }
        if (buffer.size() > (1u << 24))
        {
            buffer.clear();
            break;
        }
        buffer.resize(buffer.size() * 4);
    }
    out += buffer;
}

void AppendText(std::wstring& out, const Spec& spec, std::wstring text)
{
    if (spec.precision >= 0 && text.size() > static_cast<size_t>(spec.precision))
        text.resize(static_cast<size_t>(spec.precision));
    AppendPadded(out, text, spec);
}

// Parses flags, width, precision and length from format[pos]; returns false
// when the conversion is malformed. Reads "*" arguments from args.
bool ParseSpec(const wchar_t* format, size_t& pos, Spec& spec, va_list& args)
{
    while (format[pos] && std::wcschr(L"-+ #0'", format[pos]))
    {
        if (format[pos] == L'-')
            spec.leftAlign = true;
        spec.flags += format[pos];
        ++pos;
    }
    if (format[pos] == L'*')
    {
        const long long width = va_arg(args, int);
        if (width < 0)
        {
            spec.leftAlign = true;
            spec.flags += L'-';
        }
        // Same bound as a written-out width; computed in 64 bits so INT_MIN
        // cannot overflow.
        const long long magnitude = width < 0 ? -width : width;
        if (magnitude > kMaxWidth)
            return false;
        spec.width = static_cast<int>(magnitude);
        ++pos;
    }
    else
    {
        while (format[pos] >= L'0' && format[pos] <= L'9')
        {
            spec.width = (spec.width < 0 ? 0 : spec.width) * 10 + (format[pos] - L'0');
            if (spec.width > kMaxWidth)
                return false;
            ++pos;
        }
    }
    if (format[pos] == L'.')
    {
        ++pos;
        spec.precision = 0;
        if (format[pos] == L'*')
        {
            spec.precision = va_arg(args, int);
            if (spec.precision < 0)
                spec.precision = -1;
            if (spec.precision > kMaxWidth)
                return false;
            ++pos;
        }
        else
        {
            while (format[pos] >= L'0' && format[pos] <= L'9')
            {
                spec.precision = spec.precision * 10 + (format[pos] - L'0');
                if (spec.precision > kMaxWidth)
                    return false;
                ++pos;
            }
        }
    }
    switch (format[pos])
    {
    case L'h':
        ++pos;
        spec.length = Length::Short;
        if (format[pos] == L'h')
        {
            ++pos;
            spec.length = Length::Char;
        }
        break;
    case L'l':
        ++pos;
        spec.length = Length::Long;
        if (format[pos] == L'l')
        {
            ++pos;
            spec.length = Length::LongLong;
        }
        break;
    case L'w':
        ++pos;
        spec.length = Length::Long;
        break;
    case L'q':
    case L'j':
        ++pos;
        spec.length = Length::LongLong;
        break;
    case L'z':
    case L't':
        ++pos;
        spec.length = Length::Size;
        break;
    case L'L':
        ++pos;
        spec.length = Length::LongDouble;
        break;
    case L'I':
        ++pos;
        if (format[pos] == L'6' && format[pos + 1] == L'4')
        {
            pos += 2;
            spec.length = Length::LongLong;
        }
        else if (format[pos] == L'3' && format[pos + 1] == L'2')
        {
            pos += 2;
            spec.length = Length::Int32;
        }
        else
        {
            spec.length = Length::Size;
        }
        break;
    default:
        break;
    }
    spec.conversion = format[pos];
    return spec.conversion != 0;
}

void AppendSigned(std::wstring& out, const Spec& spec, va_list& args)
{
    switch (spec.length)
    {
    case Length::LongLong:
        AppendNumber(out, spec, L"ll", va_arg(args, long long));
        break;
    case Length::Size:
        AppendNumber(out, spec, L"ll", static_cast<long long>(va_arg(args, std::ptrdiff_t)));
        break;
    case Length::Char:
        AppendNumber(out, spec, L"", static_cast<int>(static_cast<signed char>(va_arg(args, int))));
        break;
    case Length::Short:
        AppendNumber(out, spec, L"", static_cast<int>(static_cast<short>(va_arg(args, int))));
        break;
    default:
        AppendNumber(out, spec, L"", va_arg(args, int));
        break;
    }
}

void AppendUnsigned(std::wstring& out, const Spec& spec, va_list& args)
{
    switch (spec.length)
    {
    case Length::LongLong:
        AppendNumber(out, spec, L"ll", va_arg(args, unsigned long long));
        break;
    case Length::Size:
        AppendNumber(out, spec, L"ll", static_cast<unsigned long long>(va_arg(args, size_t)));
        break;
    case Length::Char:
        AppendNumber(out, spec, L"",
                     static_cast<unsigned>(static_cast<unsigned char>(va_arg(args, unsigned))));
        break;
    case Length::Short:
        AppendNumber(out, spec, L"",
                     static_cast<unsigned>(static_cast<unsigned short>(va_arg(args, unsigned))));
        break;
    default:
        AppendNumber(out, spec, L"", va_arg(args, unsigned));
        break;
    }
}

} // namespace

std::wstring FormatWideV(size_t bufferSize, const wchar_t* format, va_list argsIn)
{
    std::wstring out;
    if (!format)
        return out;

    const CScopedCLocale cLocale;
    va_list args;
    va_copy(args, argsIn);
    const size_t limit = bufferSize == 0 ? std::wstring::npos : bufferSize - 1;

    size_t pos = 0;
    while (format[pos] && out.size() < limit)
    {
        if (format[pos] != L'%')
        {
            out += format[pos++];
            continue;
        }
        const size_t start = pos++;
        if (format[pos] == L'%')
        {
            out += L'%';
            ++pos;
            continue;
        }
        Spec spec;
        if (!ParseSpec(format, pos, spec, args))
        {
            // Malformed or trailing "%": copy the text as it stands.
            out.append(format + start, pos - start);
            continue;
        }
        const wchar_t conversion = format[pos++];
        switch (conversion)
        {
        case L'd':
        case L'i':
            AppendSigned(out, spec, args);
            break;
        case L'u':
        case L'o':
        case L'x':
        case L'X':
            AppendUnsigned(out, spec, args);
            break;
        case L'e':
        case L'E':
        case L'f':
        case L'F':
        case L'g':
        case L'G':
        case L'a':
        case L'A':
            if (spec.length == Length::LongDouble)
                AppendNumber(out, spec, L"L", va_arg(args, long double));
            else
                AppendNumber(out, spec, L"", va_arg(args, double));
            break;
        case L'p':
        {
            const void* pointer = va_arg(args, void*);
            wchar_t buffer[32];
            std::swprintf(buffer, 32, L"%016llX",
                          static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(pointer)));
            AppendPadded(out, buffer, spec);
            break;
        }
        case L'c':
        case L'C':
        {
            const bool wide =
                (conversion == L'c') ? spec.length != Length::Short : spec.length == Length::Long;
            const int value = va_arg(args, int);
            std::wstring text;
            if (wide)
                text = std::wstring(1, static_cast<wchar_t>(value));
            else
                text = Misc::Text::Windows1252ToWide(std::string(1, static_cast<char>(value)));
            AppendPadded(out, text, spec);
            break;
        }
        case L's':
        case L'S':
        {
            const bool wide =
                (conversion == L's') ? spec.length != Length::Short : spec.length == Length::Long;
            if (wide)
            {
                const wchar_t* text = va_arg(args, const wchar_t*);
                AppendText(out, spec, text ? std::wstring(text) : std::wstring(L"(null)"));
            }
            else
            {
                const char* text = va_arg(args, const char*);
                AppendText(out, spec, text ? Misc::Text::Utf8ToWide(text) : std::wstring(L"(null)"));
            }
            break;
        }
        case L'n':
            // Never write through a format string; consume the argument.
            (void)va_arg(args, void*);
            break;
        default:
            out.append(format + start, pos - start);
            break;
        }
    }
    va_end(args);
    if (out.size() > limit)
        out.resize(limit);
    return out;
}

std::wstring FormatWide(size_t bufferSize, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = FormatWideV(bufferSize, format, args);
    va_end(args);
    return text;
}

} // namespace Misc::Text
