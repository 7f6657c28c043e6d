#include "sound/OggVorbisDecoder.h"
#include "sound/VorbisLibrary.h"

#include <gtest/gtest.h>

#include <string>

TEST(VorbisLibraryTest, AMissingLibraryOrEntryPointIsReportedAndNeverCalled)
{
    FreeVorbisLibrary();
    EXPECT_FALSE(IsVorbisLibraryLoaded());
    EXPECT_EQ(VorbisFunctions().ov_read, nullptr);
    EXPECT_EQ(DecodeOggVorbis(reinterpret_cast<OggVorbis_File*>(8), nullptr, 0, 2), 0);

    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadVorbisLibrary("libhalvane-no-such-vorbisfile.so.3"));
    EXPECT_NE(
        testing::internal::GetCapturedStderr().find("Failed to load 'libhalvane-no-such-vorbisfile.so.3'"),
        std::string::npos);

    // libogg is a real library without the decoder's entry points; the
    // second attempt must not take it for loaded.
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(LoadVorbisLibrary("libogg.so.0"));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Failed to retrieve 'ov_clear' function address\n");
        EXPECT_FALSE(IsVorbisLibraryLoaded());
        EXPECT_EQ(VorbisFunctions().ov_clear, nullptr);
    }

    ASSERT_TRUE(LoadVorbisLibrary());
    ASSERT_TRUE(LoadVorbisLibrary("libhalvane-no-such-vorbisfile.so.3")); // loaded already
    const SVorbisFunctions& ov = VorbisFunctions();
    for (const void* entry :
         {(const void*)ov.ov_clear, (const void*)ov.ov_read, (const void*)ov.ov_pcm_total,
          (const void*)ov.ov_info, (const void*)ov.ov_comment, (const void*)ov.ov_open_callbacks,
          (const void*)ov.ov_pcm_seek, (const void*)ov.ov_raw_total})
        EXPECT_NE(entry, nullptr);
}
