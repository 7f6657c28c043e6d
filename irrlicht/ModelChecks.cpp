#include "irrlicht/ModelChecks.h"

#include <cstdint>
#include <vector>

namespace Graphics
{

namespace
{

// Irrlicht builds each index in a buffer of 16 characters.
constexpr size_t kMaxIndexCharacters = 9;
// Irrlicht copies words into buffers of 512 characters.
constexpr size_t kMaxWordLength = 511;

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < line.size())
    {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        const size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t')
            ++at;
        if (at > start)
            words.push_back(line.substr(start, at - start));
    }
    return words;
}

// Irrlicht's strtol10 on the digits and minus signs gathered for one index.
int32_t IndexValue(std::string_view text)
{
    size_t at = 0;
    const bool negative = at < text.size() && text[at] == '-';
    if (negative)
        ++at;
    int64_t value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
        value = value * 10 + (text[at++] - '0');
    return static_cast<int32_t>(negative ? -value : value);
}

// One face corner as Irrlicht reads it ("7", "7/2", "7//3", "-1/-1/-1"):
// the position, texture coordinate and normal indices, 0-based, -1 for one
// not given. False when an index word is too long for Irrlicht's buffer.
bool CornerIndices(std::string_view word, const uint32_t (&sizes)[3], int64_t (&indices)[3])
{
    indices[1] = indices[2] = -1;
    std::string digits;
    size_t type = 0;
    for (size_t at = 0; at <= word.size(); ++at)
    {
        const char c = at < word.size() ? word[at] : '\0';
        if ((c >= '0' && c <= '9') || c == '-')
        {
            if (digits.size() == kMaxIndexCharacters)
                return false;
            digits += c;
        }
        else if (c == '/' || c == '\0')
        {
            int64_t index = IndexValue(digits);
            index = index < 0 ? index + sizes[type] : index - 1;
            indices[type] = index;
            digits.clear();
            if (c == '\0')
            {
                while (++type < 3)
                    indices[type] = -1;
                break;
            }
            type = type == 2 ? 0 : type + 1;
        }
    }
    return true;
}

} // namespace

bool CModelChecks::CheckObj(std::string_view text, std::string& reason)
{
    uint32_t sizes[3] = {0, 0, 0}; // positions, texture coordinates, normals
    size_t lineNumber = 0;
    size_t at = 0;
    while (at < text.size())
    {
        size_t end = at;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        for (const char c : line)
        {
            // Irrlicht splits words on further blanks and ends lines at a
            // zero byte: such files are not read as written.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            {
                reason = "control character in line " + std::to_string(lineNumber);
                return false;
            }
        }
        const std::vector<std::string_view> words = Words(line);
        // Irrlicht passes over the first line when it begins with a blank.
        if (words.empty() || (lineNumber == 1 && (line[0] == ' ' || line[0] == '\t')))
            continue;
        for (std::string_view word : words)
        {
            if (word.size() > kMaxWordLength)
            {
                reason = "word too long in line " + std::to_string(lineNumber);
                return false;
            }
        }
        const std::string_view first = words[0];
        // The words each line's reader takes: with fewer it would take them
        // from the lines after it.
        size_t needed = 1;
        int defines = -1;
        switch (first[0])
        {
        case 'v':
            if (first.size() == 1)
            {
                // A position only with a space after the "v".
                const size_t after = static_cast<size_t>(first.data() - line.data()) + 1;
                if (after >= line.size() || line[after] != ' ')
                {
                    reason = "incomplete line " + std::to_string(lineNumber);
                    return false;
                }
                needed = 4;
                defines = 0;
            }
            else if (first[1] == 't')
            {
                needed = 3;
                defines = 1;
            }
            else if (first[1] == 'n')
            {
                needed = 4;
                defines = 2;
            }
            break;
        case 'g':
        case 's':
        case 'u':
            needed = 2;
            break;
        case 'f':
        {
            if (words.size() < 2)
            {
                reason = "face without corners in line " + std::to_string(lineNumber);
                return false;
            }
            for (size_t corner = 1; corner < words.size(); ++corner)
            {
                int64_t indices[3];
                if (!CornerIndices(words[corner], sizes, indices))
                {
                    reason = "index too long in line " + std::to_string(lineNumber);
                    return false;
                }
                const bool inside = indices[0] >= 0 && indices[0] < sizes[0] &&
                                    (indices[1] == -1 || (indices[1] >= 0 && indices[1] < sizes[1])) &&
                                    (indices[2] == -1 || (indices[2] >= 0 && indices[2] < sizes[2]));
                if (!inside)
                {
                    reason = "face index out of range in line " + std::to_string(lineNumber);
                    return false;
                }
            }
            break;
        }
        default:
            break;
        }
        if (words.size() < needed)
        {
            reason = "incomplete line " + std::to_string(lineNumber);
            return false;
        }
        if (defines >= 0)
            ++sizes[defines];
    }
    return true;
}

} // namespace Graphics
