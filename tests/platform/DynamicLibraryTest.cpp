#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

#include <utility>

TEST(DynamicLibrary, LoadsASystemLibraryAndReportsFailures)
{
    Platform::CDynamicLibrary zlib;
    ASSERT_TRUE(zlib.Open("libz.so.1")) << zlib.GetError();
    using VersionFunction = const char* (*)();
    const auto version = reinterpret_cast<VersionFunction>(zlib.GetSymbol("zlibVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version()[0], '1');
    EXPECT_EQ(zlib.GetSymbol("noSuchFunction"), nullptr);
    EXPECT_FALSE(zlib.GetError().empty());

    Platform::CDynamicLibrary moved = std::move(zlib);
    EXPECT_TRUE(moved.IsOpen());
    EXPECT_FALSE(zlib.IsOpen());

    Platform::CDynamicLibrary missing;
    EXPECT_FALSE(missing.Open("libhalvane-does-not-exist.so"));
    EXPECT_FALSE(missing.GetError().empty());
    EXPECT_EQ(missing.GetSymbol("x"), nullptr);
}
