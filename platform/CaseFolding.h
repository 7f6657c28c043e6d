#pragma once

namespace Platform
{

// The character's simple Unicode case folding (lower case of its upper
// case), whatever the process locale; the character itself when the system
// has no Unicode case tables.
wchar_t FoldCaseUnicode(wchar_t c);

} // namespace Platform
