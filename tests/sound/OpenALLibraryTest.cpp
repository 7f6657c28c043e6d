#include "sound/OpenALLibrary.h"
#include "sound/SoundDeviceList.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::wstring Wide(const char* text)
{
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

} // namespace

TEST(OpenALLibraryTest, LoadsEveryEntryPointByName)
{
    SOpenALFunctions table;
    ASSERT_TRUE(LoadOpenALLibrary(nullptr, &table));
    int found = 0;
#define COUNT_ENTRY(name) found += table.name != nullptr ? 1 : 0;
    HALVANE_OPENAL_ENTRY_POINTS(COUNT_ENTRY)
#undef COUNT_ENTRY
    EXPECT_EQ(found, 65);
    // And the two that only the engine and its sounds call.
    EXPECT_NE(table.alSourceRewind, nullptr);
    EXPECT_NE(table.alSpeedOfSound, nullptr);
    EXPECT_NE(table.alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER), nullptr);

    UnloadOpenALLibrary(&table);
    EXPECT_EQ(table.alEnable, nullptr);
    EXPECT_EQ(table.alcGetEnumValue, nullptr);
    EXPECT_EQ(table.alSpeedOfSound, nullptr);
    EXPECT_FALSE(table.library.IsOpen());
    EXPECT_FALSE(LoadOpenALLibrary(nullptr, nullptr));
}

TEST(OpenALLibraryTest, AMissingLibraryOrEntryPointIsReportedAndLeavesNothingToCall)
{
    struct SCase
    {
        std::wstring library;
        std::string report;
    };
    const SCase cases[] = {
        {L"libhalvane-no-such-openal.so.1", "Failed to load 'libhalvane-no-such-openal.so.1': "},
        // A real library without any OpenAL entry point.
        {L"libz.so.1", "Failed to retrieve 'alEnable' function address\n"},
        // Everything but the last entry point.
        {Wide(FAKE_OPENAL_INCOMPLETE_LIBRARY), "Failed to retrieve 'alcGetEnumValue' function address\n"},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(std::string(c.library.begin(), c.library.end()));
        SOpenALFunctions table;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(LoadOpenALLibrary(c.library.c_str(), &table));
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_EQ(report.rfind(c.report, 0), 0u) << report;
        EXPECT_EQ(table.alEnable, nullptr);
        EXPECT_EQ(table.alcIsExtensionPresent, nullptr);
        EXPECT_FALSE(table.library.IsOpen());

        testing::internal::CaptureStderr();
        const CSoundDeviceList list(c.library.c_str());
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(list.GetNumberOfDevices(), 0);
        EXPECT_EQ(list.GetDefaultDevice(), 0);
        EXPECT_EQ(list.GetDeviceName(0), nullptr);
    }
}
