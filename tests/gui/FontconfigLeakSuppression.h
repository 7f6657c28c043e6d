#pragma once

// fontconfig 2.14 loses two small blocks while it parses its configuration
// files, the first time a program asks it for fonts (FcFontList reaches
// FcInitLoadConfigAndFonts). The leak sanitizer of the test build would fail
// every test program that lists fonts, so this program tells it to ignore
// leaks allocated inside libfontconfig itself (without frame pointers there,
// the sanitizer's stacks end in the library, so the function name cannot be
// matched), and nothing else. Include it in exactly one source file of each
// test program that asks fontconfig for fonts: it defines the function.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
