#pragma once

// The engine's one printf-style formatter for wide format strings.
//
// Format strings keep their Windows meaning: in a wide format "%s" and "%c"
// take wide text (wchar_t* / wchar_t), "%S" and "%C" narrow UTF-8 text,
// "%hs"/"%hc" narrow, "%ls"/"%lc" wide. "l" on an integer conversion is 32
// bits as on Windows; use "ll" or "I64" for 64-bit values. "%n" is never
// written through. A malformed or trailing "%" is copied as it stands.
// Numbers are formatted in the "C" locale.
//
// The arguments are C++ arguments, not C varargs: each keeps its type, so a
// conversion never reads an argument as something it is not. Text may be
// given as a pointer, a std::(w)string or a std::(w)string_view.
//
// Each conversion is checked against the type of its argument (a number for
// "%d", wide text for "%s", a 64-bit integer only with "ll" or "I64", no
// argument missing or left over):
// - at compile time for a format written as L"..."_fmt;
// - at run time in builds without NDEBUG (the test builds), where a
//   mismatch prints the format and aborts.
// Elsewhere a mismatched argument is printed as what it is, and a missing one
// as nothing.
//
//     throw CKVOError::Format(L"[CWorldMap::GetUnit] Unit not found [%s]"_fmt, name);

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace Misc::Text
{

// What a format argument is, as far as the conversions care.
enum class FormatArgumentKind : uint8_t
{
    None, // no argument
    Signed,
    Unsigned,
    Floating,
    WideText,
    NarrowText,
    Pointer,
    Null // nullptr: text "(null)" or a null pointer
};

struct FormatArgumentType
{
    FormatArgumentKind kind = FormatArgumentKind::None;
    uint8_t size = 0; // bytes of an integer
};

// One argument with its type and value.
struct FormatArgument
{
    FormatArgumentType type;
    union
    {
        long long signedValue;
        unsigned long long unsignedValue;
        long double floatingValue;
        const wchar_t* wideText;
        const char* narrowText;
        const void* pointer;
    };
    // Characters of text given with its length; npos for a C string.
    size_t length = std::string_view::npos;

    FormatArgument() : unsignedValue(0) {}
};

namespace Detail
{
template <typename T> struct IsTextOf : std::false_type
{
};
template <typename C, typename Traits, typename A>
struct IsTextOf<std::basic_string<C, Traits, A>> : std::is_same<C, wchar_t>
{
};
template <typename C, typename Traits>
struct IsTextOf<std::basic_string_view<C, Traits>> : std::is_same<C, wchar_t>
{
};
template <typename T> struct IsNarrowTextOf : std::false_type
{
};
template <typename Traits, typename A>
struct IsNarrowTextOf<std::basic_string<char, Traits, A>> : std::true_type
{
};
template <typename Traits> struct IsNarrowTextOf<std::basic_string_view<char, Traits>> : std::true_type
{
};
template <typename> inline constexpr bool kUnformattable = false;
} // namespace Detail

// The type of an argument of C++ type T (references and arrays decayed).
template <typename Given> constexpr FormatArgumentType FormatTypeOf()
{
    using T = std::decay_t<Given>;
    using Kind = FormatArgumentKind;
    if constexpr (std::is_enum_v<T>)
        return FormatTypeOf<std::underlying_type_t<T>>();
    else if constexpr (std::is_integral_v<T>)
        return {std::is_signed_v<T> ? Kind::Signed : Kind::Unsigned, static_cast<uint8_t>(sizeof(T))};
    else if constexpr (std::is_floating_point_v<T>)
        return {Kind::Floating, static_cast<uint8_t>(sizeof(T))};
    else if constexpr (std::is_same_v<T, std::nullptr_t>)
        return {Kind::Null, 0};
    else if constexpr (std::is_same_v<T, const wchar_t*> || std::is_same_v<T, wchar_t*> ||
                       Detail::IsTextOf<T>::value)
        return {Kind::WideText, 0};
    else if constexpr (std::is_same_v<T, const char*> || std::is_same_v<T, char*> ||
                       Detail::IsNarrowTextOf<T>::value)
        return {Kind::NarrowText, 0};
    else if constexpr (std::is_pointer_v<T>)
        return {Kind::Pointer, 0};
    else
        static_assert(Detail::kUnformattable<T>, "this type cannot be a format argument");
}

template <typename T> FormatArgument MakeFormatArgument(const T& value)
{
    FormatArgument argument;
    argument.type = FormatTypeOf<T>();
    using D = std::decay_t<T>;
    if constexpr (std::is_enum_v<D>)
        return MakeFormatArgument(static_cast<std::underlying_type_t<D>>(value));
    else if constexpr (std::is_integral_v<D> && std::is_signed_v<D>)
        argument.signedValue = value;
    else if constexpr (std::is_integral_v<D>)
        argument.unsignedValue = value;
    else if constexpr (std::is_floating_point_v<D>)
        argument.floatingValue = value;
    else if constexpr (std::is_same_v<D, std::nullptr_t>)
        argument.pointer = nullptr;
    else if constexpr (Detail::IsTextOf<D>::value)
    {
        argument.wideText = value.data();
        argument.length = value.size();
    }
    else if constexpr (Detail::IsNarrowTextOf<D>::value)
    {
        argument.narrowText = value.data();
        argument.length = value.size();
    }
    else if constexpr (std::is_same_v<D, const wchar_t*> || std::is_same_v<D, wchar_t*>)
        argument.wideText = value;
    else if constexpr (std::is_same_v<D, const char*> || std::is_same_v<D, char*>)
        argument.narrowText = value;
    else
        argument.pointer = static_cast<const void*>(value);
    return argument;
}

// The length modifier of a conversion.
enum class FormatLength : uint8_t
{
    Default,
    Char,       // hh
    Short,      // h
    Long,       // l, w (32-bit on integers, wide on text)
    LongLong,   // ll, I64, q, j
    Size,       // z, t, I (pointer-sized)
    LongDouble, // L
    Int32       // I32
};

// One "%..." conversion of a format.
struct FormatConversion
{
    // Flags, one bit per flag character of kFormatFlags.
    unsigned flags = 0;
    int width = -1;
    bool widthFromArgument = false; // "*"
    int precision = -1;
    bool precisionFromArgument = false; // ".*"
    FormatLength length = FormatLength::Default;
    wchar_t letter = 0;

    constexpr bool LeftAlign() const { return (flags & 1u) != 0; }
};

inline constexpr wchar_t kFormatFlags[] = L"-+ #0'";
// Widths and precisions above this make a conversion malformed.
inline constexpr int kMaxFormatWidth = 100000;

// Reads the conversion after a "%" from format[pos] up to its letter, which
// it leaves at format[pos]. False for a malformed conversion (a width or
// precision beyond kMaxFormatWidth, or no letter before the end).
constexpr bool ParseConversion(const wchar_t* format, size_t& pos, FormatConversion& conversion)
{
    for (;;)
    {
        unsigned bit = 0;
        for (unsigned i = 0; kFormatFlags[i] != 0; ++i)
            if (format[pos] == kFormatFlags[i])
                bit = 1u << i;
        if (bit == 0)
            break;
        conversion.flags |= bit;
        ++pos;
    }
    if (format[pos] == L'*')
    {
        conversion.widthFromArgument = true;
        ++pos;
    }
    else
    {
        while (format[pos] >= L'0' && format[pos] <= L'9')
        {
            conversion.width = (conversion.width < 0 ? 0 : conversion.width) * 10 + (format[pos] - L'0');
            if (conversion.width > kMaxFormatWidth)
                return false;
            ++pos;
        }
    }
    if (format[pos] == L'.')
    {
        ++pos;
        conversion.precision = 0;
        if (format[pos] == L'*')
        {
            conversion.precisionFromArgument = true;
            ++pos;
        }
        else
        {
            while (format[pos] >= L'0' && format[pos] <= L'9')
            {
                conversion.precision = conversion.precision * 10 + (format[pos] - L'0');
                if (conversion.precision > kMaxFormatWidth)
                    return false;
                ++pos;
            }
        }
    }
    switch (format[pos])
    {
    case L'h':
        ++pos;
        conversion.length = FormatLength::Short;
        if (format[pos] == L'h')
        {
            ++pos;
            conversion.length = FormatLength::Char;
        }
        break;
    case L'l':
        ++pos;
        conversion.length = FormatLength::Long;
        if (format[pos] == L'l')
        {
            ++pos;
            conversion.length = FormatLength::LongLong;
        }
        break;
    case L'w':
        ++pos;
        conversion.length = FormatLength::Long;
        break;
    case L'q':
    case L'j':
        ++pos;
        conversion.length = FormatLength::LongLong;
        break;
    case L'z':
    case L't':
        ++pos;
        conversion.length = FormatLength::Size;
        break;
    case L'L':
        ++pos;
        conversion.length = FormatLength::LongDouble;
        break;
    case L'I':
        ++pos;
        if (format[pos] == L'6' && format[pos + 1] == L'4')
        {
            pos += 2;
            conversion.length = FormatLength::LongLong;
        }
        else if (format[pos] == L'3' && format[pos + 1] == L'2')
        {
            pos += 2;
            conversion.length = FormatLength::Int32;
        }
        else
        {
            conversion.length = FormatLength::Size;
        }
        break;
    default:
        break;
    }
    conversion.letter = format[pos];
    return conversion.letter != 0;
}

// Whether "%s"/"%c" style text of the conversion is wide: "s" and "c" unless
// "h" says narrow, "S" and "C" only with "l" or "w".
constexpr bool IsWideTextConversion(const FormatConversion& conversion)
{
    if (conversion.letter == L's' || conversion.letter == L'c')
        return conversion.length != FormatLength::Short;
    return conversion.length == FormatLength::Long;
}

// Whether the conversion takes an argument of its own (besides "*" ones).
constexpr bool TakesArgument(wchar_t letter)
{
    for (const wchar_t* known = L"diuoxXeEfFgGaApcCsSn"; *known != 0; ++known)
        if (*known == letter)
            return true;
    return false;
}

constexpr bool IsInteger(FormatArgumentType type)
{
    return type.kind == FormatArgumentKind::Signed || type.kind == FormatArgumentKind::Unsigned;
}

// Whether an argument of the type fits the conversion (its own argument, not
// a "*" one).
constexpr bool FitsConversion(const FormatConversion& conversion, FormatArgumentType type)
{
    using Kind = FormatArgumentKind;
    switch (conversion.letter)
    {
    case L'd':
    case L'i':
    case L'u':
    case L'o':
    case L'x':
    case L'X':
    {
        const bool wide64 = conversion.length == FormatLength::LongLong ||
                            conversion.length == FormatLength::Size ||
                            conversion.length == FormatLength::LongDouble;
        return IsInteger(type) && type.size <= (wide64 ? 8 : 4);
    }
    case L'e':
    case L'E':
    case L'f':
    case L'F':
    case L'g':
    case L'G':
    case L'a':
    case L'A':
        return type.kind == Kind::Floating;
    case L'c':
    case L'C':
        return IsInteger(type) && type.size <= 4;
    case L's':
    case L'S':
        return type.kind == Kind::Null ||
               type.kind == (IsWideTextConversion(conversion) ? Kind::WideText : Kind::NarrowText);
    case L'p':
    case L'n':
        return type.kind == Kind::Pointer || type.kind == Kind::Null || type.kind == Kind::WideText ||
               type.kind == Kind::NarrowText;
    default:
        return false;
    }
}

// 0 when every conversion of the format fits its argument and every argument
// is used; otherwise the number (from 1) of the first argument that does not
// fit, or count + 1 when arguments are missing or left over. Malformed
// conversions take no argument (they are printed as they stand).
constexpr size_t FindFormatMismatchInText(const wchar_t* format, const FormatArgumentType* types,
                                          size_t count)
{
    size_t used = 0;
    for (size_t pos = 0; format[pos] != 0; ++pos)
    {
        if (format[pos] != L'%')
            continue;
        ++pos;
        if (format[pos] == L'%')
            continue;
        FormatConversion conversion;
        if (!ParseConversion(format, pos, conversion))
        {
            if (format[pos] == 0)
                break;
            continue;
        }
        const bool fromArgument[] = {conversion.widthFromArgument, conversion.precisionFromArgument};
        for (bool star : fromArgument)
        {
            if (!star)
                continue;
            if (used == count)
                return count + 1;
            if (!IsInteger(types[used]) || types[used].size > 4)
                return used + 1;
            ++used;
        }
        if (!TakesArgument(conversion.letter))
            continue;
        if (used == count)
            return count + 1;
        if (!FitsConversion(conversion, types[used]))
            return used + 1;
        ++used;
    }
    return used == count ? 0 : count + 1;
}

// The same for any format; a null format takes no argument.
constexpr size_t FindFormatMismatch(const wchar_t* format, const FormatArgumentType* types, size_t count)
{
    if (format == nullptr)
        return count == 0 ? 0 : count + 1;
    return FindFormatMismatchInText(format, types, count);
}

// A format written as L"..."_fmt, checked against its arguments at compile
// time by the functions that take a format.
template <wchar_t... Chars> struct FormatLiteral
{
    static constexpr wchar_t kText[] = {Chars..., L'\0'};
};

// Fails to compile when Mismatch is not 0: Mismatch is the number of the
// first argument that does not fit its conversion (count + 1: arguments
// missing or left over).
template <size_t Mismatch> struct FormatArgumentsMatch
{
    static_assert(Mismatch == 0, "a conversion of the format does not fit its argument (see Mismatch)");
    static constexpr bool kValue = true;
};

template <typename F> struct IsFormatLiteral : std::false_type
{
};
template <wchar_t... Chars> struct IsFormatLiteral<FormatLiteral<Chars...>> : std::true_type
{
};

// The compile-time check of a format of type F (a no-op for plain text).
template <typename F, typename... Args> constexpr bool CheckFormat()
{
    if constexpr (IsFormatLiteral<F>::value)
    {
        constexpr FormatArgumentType types[] = {FormatTypeOf<Args>()..., FormatArgumentType{}};
        return FormatArgumentsMatch<FindFormatMismatchInText(F::kText, types, sizeof...(Args))>::kValue;
    }
    else
    {
        return true;
    }
}

// The text of a format argument of the formatting functions.
inline const wchar_t* FormatText(const wchar_t* format)
{
    return format;
}
inline const wchar_t* FormatText(std::nullptr_t)
{
    return nullptr;
}
template <wchar_t... Chars> const wchar_t* FormatText(FormatLiteral<Chars...>)
{
    return FormatLiteral<Chars...>::kText;
}

// Formats into at most bufferSize - 1 characters (the size of the buffer
// the text would have had, terminator included); longer results are cut.
// A bufferSize of 0 means no limit. A null format gives "".
std::wstring FormatWideArguments(size_t bufferSize, const wchar_t* format, const FormatArgument* arguments,
                                 size_t count);

template <typename F, typename... Args>
std::wstring FormatWide(size_t bufferSize, const F& format, const Args&... args)
{
    static_assert(CheckFormat<F, Args...>());
    const FormatArgument arguments[] = {MakeFormatArgument(args)..., FormatArgument()};
    return FormatWideArguments(bufferSize, FormatText(format), arguments, sizeof...(Args));
}

} // namespace Misc::Text

// L"..."_fmt: a format checked against its arguments at compile time.
template <typename Char, Char... Chars> constexpr Misc::Text::FormatLiteral<Chars...> operator""_fmt()
{
    static_assert(std::is_same_v<Char, wchar_t>, "formats are wide: L\"...\"_fmt");
    return {};
}
