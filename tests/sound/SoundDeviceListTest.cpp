#include "sound/SoundDeviceList.h"

#include "FakeOpenALControl.h"

#include <gtest/gtest.h>

#include <string>

// OpenAL Soft on its null backend (ALSOFT_DRIVERS=null in the test
// environment).
TEST(SoundDeviceListTest, ListsTheSystemDeviceAndItsFeatures)
{
    const CSoundDeviceList list;
    ASSERT_GE(list.GetNumberOfDevices(), 1);
    const int32_t device = list.GetDefaultDevice();
    ASSERT_LT(device, list.GetNumberOfDevices());
    ASSERT_NE(list.GetDeviceName(device), nullptr);
    EXPECT_STRNE(list.GetDeviceName(device), "");
    int32_t major = -1;
    int32_t minor = -1;
    list.GetDeviceVersion(device, &major, &minor);
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 1);
    list.GetDeviceVersion(device, nullptr, &minor);
    EXPECT_EQ(list.GetMaxNumSources(device), 256);
    EXPECT_TRUE(list.IsExtensionSupported(device, "ALC_EXT_EFX"));
    EXPECT_TRUE(list.IsExtensionSupported(device, "AL_EXT_OFFSET"));
    EXPECT_FALSE(list.IsExtensionSupported(device, "EAX-RAM"));
    EXPECT_FALSE(list.IsExtensionSupported(device, "ALC_EXT_efx"));
    EXPECT_FALSE(list.IsExtensionSupported(device, nullptr));
}

TEST(SoundDeviceListTest, IndicesOutsideTheListGiveNothing)
{
    const CSoundDeviceList list;
    for (int32_t index : {list.GetNumberOfDevices(), 5, -1, INT32_MIN, INT32_MAX})
    {
        SCOPED_TRACE(index);
        EXPECT_EQ(list.GetDeviceName(index), nullptr);
        int32_t major = 42;
        int32_t minor = 43;
        list.GetDeviceVersion(index, &major, &minor);
        EXPECT_EQ(major, 42);
        EXPECT_EQ(minor, 43);
        EXPECT_EQ(list.GetMaxNumSources(index), 0);
        EXPECT_FALSE(list.IsExtensionSupported(index, "ALC_EXT_EFX"));
    }
}

TEST(SoundDeviceListTest, ListsEachUsableDeviceOnceAndFindsTheDefault)
{
    CFakeOpenAL fake;
    struct SCase
    {
        const char* defaultName;
        int32_t defaultIndex;
    };
    // "Main" is listed fourth, after a device that cannot be opened and a
    // second name of another device: counted by list position it would
    // point past the two records.
    const SCase cases[] = {{"Main", 1}, {"Twin B", 0}, {"Broken", 0}, {"Nameless", 0}, {"Unknown", 0}};
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.defaultName);
        fake.SetDefault(c.defaultName);
        {
            const CSoundDeviceList list(FakeOpenALPath().c_str());
            ASSERT_EQ(list.GetNumberOfDevices(), 2);
            EXPECT_EQ(list.GetDefaultDevice(), c.defaultIndex);

            EXPECT_STREQ(list.GetDeviceName(0), "Twin");
            int32_t major = 0, minor = 0;
            list.GetDeviceVersion(0, &major, &minor);
            EXPECT_EQ(major * 10 + minor, 11);
            EXPECT_EQ(list.GetMaxNumSources(0), 256); // it would give 300
            EXPECT_TRUE(list.IsExtensionSupported(0, "ALC_EXT_EFX"));
            EXPECT_TRUE(list.IsExtensionSupported(0, "AL_EXT_OFFSET"));
            EXPECT_FALSE(list.IsExtensionSupported(0, "EAX2.0"));

            EXPECT_STREQ(list.GetDeviceName(1), "Main Device");
            list.GetDeviceVersion(1, &major, &minor);
            EXPECT_EQ(major * 10 + minor, 20);
            EXPECT_EQ(list.GetMaxNumSources(1), 7);
            EXPECT_TRUE(list.IsExtensionSupported(1, "EAX2.0"));
            EXPECT_FALSE(list.IsExtensionSupported(1, "ALC_EXT_EFX"));
        }
        // Everything opened while listing was given back, the sources too
        // where deleting them all at once failed.
        EXPECT_EQ(fake.Count("fake_openal_open_devices"), 0);
        EXPECT_EQ(fake.Count("fake_openal_live_contexts"), 0);
        EXPECT_EQ(fake.Count("fake_openal_live_sources"), 0);
        EXPECT_EQ(fake.Count("fake_openal_has_current_context"), 0);
    }
}
