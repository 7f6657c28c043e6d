#pragma once

// The controls and counters of the scripted stand-in OpenAL library
// (fake/FakeOpenAL.c), loaded beside whoever else loads it.

#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

#include <string>

inline std::wstring FakeOpenALPath()
{
    const std::string path = FAKE_OPENAL_LIBRARY;
    return std::wstring(path.begin(), path.end());
}

class CFakeOpenAL
{
public:
    CFakeOpenAL() { EXPECT_TRUE(m_library.Open(FAKE_OPENAL_LIBRARY)) << m_library.GetError(); }
    void SetDefault(const char* name)
    {
        reinterpret_cast<void (*)(const char*)>(m_library.GetSymbol("fake_openal_set_default"))(name);
    }
    int Count(const char* counter) { return reinterpret_cast<int (*)()>(m_library.GetSymbol(counter))(); }

private:
    Platform::CDynamicLibrary m_library;
};
