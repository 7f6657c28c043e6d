#include "core/foundation/WideFormat.h"

#include "core/foundation/ScopedCLocale.h"
#include "core/foundation/StringConversion.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace Misc::Text
{

namespace
{

// Pads text to the conversion's width.
void AppendPadded(std::wstring& out, const std::wstring& text, const FormatConversion& conversion)
{
    const size_t width = conversion.width > 0 ? static_cast<size_t>(conversion.width) : 0;
    if (text.size() >= width)
    {
        out += text;
        return;
    }
    const std::wstring padding(width - text.size(), L' ');
    if (conversion.LeftAlign())
        out += text + padding;
    else
        out += padding + text;
}

// Formats one numeric conversion with the C library, from the rebuilt
// conversion text.
template <typename T>
void AppendNumber(std::wstring& out, const FormatConversion& conversion, const wchar_t* lengthText, T value)
{
    std::wstring format = L"%";
    for (unsigned i = 0; kFormatFlags[i] != 0; ++i)
        if (conversion.flags & (1u << i))
            format += kFormatFlags[i];
    if (conversion.width >= 0)
        format += std::to_wstring(conversion.width);
    if (conversion.precision >= 0)
        format += L"." + std::to_wstring(conversion.precision);
    format += lengthText;
    format += conversion.letter;

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

// The address of a pointer argument, text included.
unsigned long long AddressOf(const FormatArgument& argument)
{
    switch (argument.type.kind)
    {
    case FormatArgumentKind::WideText:
        return reinterpret_cast<uintptr_t>(argument.wideText);
    case FormatArgumentKind::NarrowText:
        return reinterpret_cast<uintptr_t>(argument.narrowText);
    case FormatArgumentKind::Pointer:
        return reinterpret_cast<uintptr_t>(argument.pointer);
    default:
        return 0;
    }
}

std::wstring HexAddress(const FormatArgument& argument)
{
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%016llX", AddressOf(argument));
    return buffer;
}

std::wstring TextOf(const FormatArgument& argument)
{
    switch (argument.type.kind)
    {
    case FormatArgumentKind::WideText:
        if (argument.wideText == nullptr)
            return L"(null)";
        return argument.length == std::string_view::npos ? std::wstring(argument.wideText)
                                                         : std::wstring(argument.wideText, argument.length);
    case FormatArgumentKind::NarrowText:
        if (argument.narrowText == nullptr)
            return L"(null)";
        return Utf8ToWide(argument.length == std::string_view::npos
                              ? std::string_view(argument.narrowText)
                              : std::string_view(argument.narrowText, argument.length));
    case FormatArgumentKind::Null:
        return L"(null)";
    case FormatArgumentKind::Signed:
        return std::to_wstring(argument.signedValue);
    case FormatArgumentKind::Unsigned:
        return std::to_wstring(argument.unsignedValue);
    case FormatArgumentKind::Floating:
    {
        wchar_t buffer[64];
        std::swprintf(buffer, 64, L"%Lg", argument.floatingValue);
        return buffer;
    }
    case FormatArgumentKind::Pointer:
        return HexAddress(argument);
    case FormatArgumentKind::None:
        break;
    }
    return std::wstring();
}

// An integer argument as the conversion's length reads it: the value's bits
// cut to the length, as a C call with the argument promoted would see them.
long long SignedOf(const FormatArgument& argument, FormatLength length)
{
    const long long value = argument.type.kind == FormatArgumentKind::Signed
                                ? argument.signedValue
                                : static_cast<long long>(argument.unsignedValue);
    switch (length)
    {
    case FormatLength::LongLong:
    case FormatLength::Size:
    case FormatLength::LongDouble:
        return value;
    case FormatLength::Char:
        return static_cast<signed char>(value);
    case FormatLength::Short:
        return static_cast<short>(value);
    default:
        return static_cast<int32_t>(value);
    }
}

unsigned long long UnsignedOf(const FormatArgument& argument, FormatLength length)
{
    const unsigned long long value = argument.type.kind == FormatArgumentKind::Signed
                                         ? static_cast<unsigned long long>(argument.signedValue)
                                         : argument.unsignedValue;
    switch (length)
    {
    case FormatLength::LongLong:
    case FormatLength::Size:
    case FormatLength::LongDouble:
        return value;
    case FormatLength::Char:
        return static_cast<unsigned char>(value);
    case FormatLength::Short:
        return static_cast<unsigned short>(value);
    default:
        return static_cast<uint32_t>(value);
    }
}

// Appends one argument by the conversion.
void AppendConversion(std::wstring& out, const FormatConversion& conversion, const FormatArgument& argument)
{
    if (!FitsConversion(conversion, argument.type))
    {
        // Not what the conversion asks for: the argument as what it is.
        AppendPadded(out, TextOf(argument), conversion);
        return;
    }
    switch (conversion.letter)
    {
    case L'd':
    case L'i':
        AppendNumber(out, conversion, L"ll", SignedOf(argument, conversion.length));
        break;
    case L'u':
    case L'o':
    case L'x':
    case L'X':
        AppendNumber(out, conversion, L"ll", UnsignedOf(argument, conversion.length));
        break;
    case L'p':
        AppendPadded(out, HexAddress(argument), conversion);
        break;
    case L'c':
    case L'C':
    {
        const long long value = SignedOf(argument, FormatLength::Default);
        std::wstring text;
        if (IsWideTextConversion(conversion))
            text = std::wstring(1, static_cast<wchar_t>(value));
        else
            text = Windows1252ToWide(std::string(1, static_cast<char>(value)));
        AppendPadded(out, text, conversion);
        break;
    }
    case L's':
    case L'S':
    {
        std::wstring text = TextOf(argument);
        if (conversion.precision >= 0 && text.size() > static_cast<size_t>(conversion.precision))
            text.resize(static_cast<size_t>(conversion.precision));
        AppendPadded(out, text, conversion);
        break;
    }
    case L'n':
        // Never written through.
        break;
    default:
        if (conversion.length == FormatLength::LongDouble)
            AppendNumber(out, conversion, L"L", argument.floatingValue);
        else
            AppendNumber(out, conversion, L"", static_cast<double>(argument.floatingValue));
        break;
    }
}

// In the test builds a format that does not fit its arguments is a fault of
// the calling code: say which and stop.
void CheckArguments(const wchar_t* format, const FormatArgument* arguments, size_t count)
{
#ifndef NDEBUG
    std::vector<FormatArgumentType> types;
    for (size_t i = 0; i < count; ++i)
        types.push_back(arguments[i].type);
    const size_t mismatch = FindFormatMismatch(format, types.data(), count);
    if (mismatch == 0)
        return;
    std::fprintf(stderr, "Format \"%s\": argument %zu of %zu does not fit its conversion\n",
                 WideToUtf8(format ? format : L"(null)").c_str(), mismatch, count);
    std::abort();
#else
    (void)format;
    (void)arguments;
    (void)count;
#endif
}

} // namespace

std::wstring FormatWideArguments(size_t bufferSize, const wchar_t* format, const FormatArgument* arguments,
                                 size_t count)
{
    CheckArguments(format, arguments, count);
    std::wstring out;
    if (!format)
        return out;

    const CScopedCLocale cLocale;
    const size_t limit = bufferSize == 0 ? std::wstring::npos : bufferSize - 1;
    const FormatArgument none;
    size_t next = 0;
    auto take = [&]() -> const FormatArgument& { return next < count ? arguments[next++] : none; };

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
        FormatConversion conversion;
        bool wellFormed = ParseConversion(format, pos, conversion);
        if (wellFormed && conversion.widthFromArgument)
        {
            // Same bound as a written-out width; computed in 64 bits so
            // INT_MIN cannot overflow. Negative aligns left.
            const long long width = SignedOf(take(), FormatLength::Default);
            if (width < 0)
                conversion.flags |= 1u;
            const long long magnitude = width < 0 ? -width : width;
            wellFormed = magnitude <= kMaxFormatWidth;
            conversion.width = static_cast<int>(magnitude);
        }
        if (wellFormed && conversion.precisionFromArgument)
        {
            const long long precision = SignedOf(take(), FormatLength::Default);
            wellFormed = precision <= kMaxFormatWidth;
            conversion.precision = precision < 0 ? -1 : static_cast<int>(precision);
        }
        if (!wellFormed)
        {
            // Malformed or trailing "%": copy the text as it stands.
            out.append(format + start, pos - start);
            continue;
        }
        ++pos;
        if (!TakesArgument(conversion.letter))
        {
            out.append(format + start, pos - start);
            continue;
        }
        AppendConversion(out, conversion, take());
    }
    if (out.size() > limit)
        out.resize(limit);
    return out;
}

} // namespace Misc::Text
