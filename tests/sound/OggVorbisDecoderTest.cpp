#include "MemoryFile.h"
#include "OggTestEncoder.h"
#include "core/io/FileSystem.h"
#include "core/io/ZipTestWriter.h"
#include "sound/OggVorbisDecoder.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace
{

class OggVorbisDecoderTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(LoadVorbisLibrary()); }
    const SVorbisFunctions& ov = VorbisFunctions();
};

// Decodes the whole stream with DecodeOggVorbis in pieces of chunk bytes.
std::vector<int16_t> DecodeAll(OggVorbis_File* record, int channels, int chunk)
{
    std::vector<int16_t> samples;
    std::vector<char> buffer(size_t(chunk) + 16, '\x5A');
    for (;;)
    {
        const int done = DecodeOggVorbis(record, buffer.data(), chunk, channels);
        // Nothing past the requested size is touched.
        for (size_t i = size_t(chunk); i < buffer.size(); ++i)
            EXPECT_EQ(buffer[i], '\x5A');
        if (done <= 0)
            break;
        EXPECT_LE(done, chunk);
        const size_t first = samples.size();
        samples.resize(first + size_t(done) / 2);
        std::memcpy(samples.data() + first, buffer.data(), size_t(done) / 2 * 2);
    }
    return samples;
}

// The root mean square of one interleaved channel.
double ChannelLevel(const std::vector<int16_t>& samples, int channels, int channel)
{
    double sum = 0;
    size_t count = 0;
    for (size_t i = size_t(channel); i < samples.size(); i += size_t(channels), ++count)
        sum += double(samples[i]) * samples[i];
    return count == 0 ? 0.0 : std::sqrt(sum / double(count)) / 32768.0;
}

// A decoder over one open file, cleared at the end.
struct SOpenStream
{
    explicit SOpenStream(IFile* source) : file(source)
    {
        result = VorbisFunctions().ov_open_callbacks(file, &record, nullptr, 0, OggFileCallbacks());
    }
    ~SOpenStream()
    {
        if (result == 0)
            VorbisFunctions().ov_clear(&record);
    }
    IFile* file;
    OggVorbis_File record{};
    int result = -1;
};

} // namespace

TEST_F(OggVorbisDecoderTest, DecodesSampleCountsAndChannelOrderThroughTheFileSystem)
{
    struct SCase
    {
        int channels;
        long rate;
        long frames;
        // Position in OpenAL's order of each Vorbis channel.
        std::vector<int> openALPosition;
    };
    const SCase cases[] = {
        {1, 22050, 22050 / 2 + 7, {0}},
        {2, 44100, 44100 / 2 + 3, {0, 1}},
        // Vorbis: front left, centre, front right, rear left, rear right,
        // low frequency; OpenAL: front left, front right, centre, low
        // frequency, rear left, rear right.
        {6, 22050, 22050 / 2 + 1, {0, 2, 1, 4, 5, 3}},
    };
    CTestFolder folder;
    CFileSystem files(folder.Wide().c_str());
    ASSERT_TRUE(files.AddSearchPath(folder.Wide(), false, 0));
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.channels << " channels at " << c.rate);
        const std::string name = "tone" + std::to_string(c.channels) + ".ogg";
        folder.Write(name, EncodeOgg(c.channels, c.rate, c.frames, ChannelTones(c.rate)));
        IFile* file = files.OpenFile(std::wstring(name.begin(), name.end()));
        ASSERT_NE(file, nullptr);
        {
            SOpenStream stream(file);
            ASSERT_EQ(stream.result, 0);
            const vorbis_info* info = ov.ov_info(&stream.record, -1);
            ASSERT_NE(info, nullptr);
            EXPECT_EQ(info->channels, c.channels);
            EXPECT_EQ(info->rate, c.rate);

            // A quarter second per call, whole frames, as the streamer asks.
            const int chunk = int(c.rate / 4) * 2 * c.channels;
            const std::vector<int16_t> samples = DecodeAll(&stream.record, c.channels, chunk);
            EXPECT_EQ(samples.size(), size_t(c.frames) * size_t(c.channels));
            for (int channel = 0; channel < c.channels; ++channel)
            {
                // A sine's level is its amplitude over the square root of 2.
                const double expected = ChannelAmplitude(channel) / std::sqrt(2.0);
                // Neighbouring levels lie 0.057 apart; lossy coding moves
                // them by less than half of that.
                EXPECT_NEAR(ChannelLevel(samples, c.channels, c.openALPosition[size_t(channel)]), expected,
                            0.025)
                    << "Vorbis channel " << channel;
            }
        }
        file->drop();
    }
}

TEST_F(OggVorbisDecoderTest, SixChannelsInBuffersOfAnySizeStayInsideThem)
{
    const std::string ogg = EncodeOgg(6, 22050, 5000, ChannelTones(22050));
    std::vector<std::vector<int16_t>> results;
    // 1000 and 14 are no multiples of a frame (12 bytes); 2 holds no frame.
    for (int chunk : {12 * 512, 1000, 14, 2})
    {
        SCOPED_TRACE(chunk);
        CMemoryFile file(ogg);
        SOpenStream stream(&file);
        ASSERT_EQ(stream.result, 0);
        results.push_back(DecodeAll(&stream.record, 6, chunk));
    }
    EXPECT_EQ(results[0].size(), 5000u * 6);
    EXPECT_EQ(results[1], results[0]);
    EXPECT_EQ(results[2], results[0]);
    EXPECT_TRUE(results[3].empty());
    char unused[4];
    EXPECT_EQ(DecodeOggVorbis(nullptr, unused, 4, 6), 0);
}

// A chained stream whose second link has six channels, read for the first
// link's one: no sample of the six-channel link lands in the mono buffer
// (the library may begin such a file at either link). Links of one format
// decode through.
TEST_F(OggVorbisDecoderTest, DecodingStopsWhereAChainedStreamChangesItsChannels)
{
    const std::string ogg = EncodeOgg(1, 22050, 3000, ChannelTones(22050)) +
                            EncodeOgg(6, 22050, 2000, ChannelTones(22050), 0.4f, 7);
    for (int chunk : {4096, 14})
    {
        SCOPED_TRACE(chunk);
        CMemoryFile file(ogg);
        SOpenStream stream(&file);
        ASSERT_EQ(stream.result, 0);
        EXPECT_LE(DecodeAll(&stream.record, 1, chunk).size(), 3000u);
    }
    const std::string same = EncodeOgg(2, 22050, 1000, ChannelTones(22050)) +
                             EncodeOgg(2, 22050, 500, ChannelTones(22050), 0.4f, 7);
    CMemoryFile file(same);
    SOpenStream stream(&file);
    ASSERT_EQ(stream.result, 0);
    EXPECT_GE(DecodeAll(&stream.record, 2, 4096).size(), 500u * 2);
}

TEST_F(OggVorbisDecoderTest, SeeksToASampleThroughTheFile)
{
    const long rate = 44100;
    const std::string ogg = EncodeOgg(2, rate, rate, ChannelTones(rate));
    CMemoryFile whole(ogg);
    SOpenStream linear(&whole);
    ASSERT_EQ(linear.result, 0);
    const std::vector<int16_t> all = DecodeAll(&linear.record, 2, 16384);
    ASSERT_EQ(all.size(), size_t(rate) * 2);

    CMemoryFile file(ogg);
    SOpenStream stream(&file);
    ASSERT_EQ(stream.result, 0);
    for (long frame : {30000L, 1234L, 0L, rate - 100})
    {
        SCOPED_TRACE(frame);
        ASSERT_EQ(ov.ov_pcm_seek(&stream.record, frame), 0);
        std::vector<int16_t> piece(200);
        ASSERT_EQ(DecodeOggVorbis(&stream.record, reinterpret_cast<char*>(piece.data()), 400, 2), 400);
        for (size_t i = 0; i < piece.size(); ++i)
            ASSERT_NEAR(piece[i], all[size_t(frame) * 2 + i], 1) << i;
    }
    EXPECT_NE(ov.ov_pcm_seek(&stream.record, rate * 3), 0);
}

TEST_F(OggVorbisDecoderTest, DecodesFromAZipArchive)
{
    const std::string ogg = EncodeOgg(1, 22050, 3000, ChannelTones(22050));
    CTestFolder folder;
    WriteTestZip(folder / "sounds.zip", {SZipTestEntry("music/theme.ogg", ogg)});
    CFileSystem files(folder.Wide().c_str());
    ASSERT_TRUE(files.AddSearchZip(folder.Wide("sounds.zip"), false, 0, ""));
    IFile* file = files.OpenFile(L"music/theme.ogg");
    ASSERT_NE(file, nullptr);
    {
        SOpenStream stream(file);
        ASSERT_EQ(stream.result, 0);
        CMemoryFile memory(ogg);
        SOpenStream reference(&memory);
        ASSERT_EQ(reference.result, 0);
        EXPECT_EQ(DecodeAll(&stream.record, 1, 4096), DecodeAll(&reference.record, 1, 4096));
    }
    file->drop();
}

TEST(OggVorbisCallbacksTest, SeekReadAndTellStayInsideTheFile)
{
    CMemoryFile file("0123456789");
    struct SSeek
    {
        ogg_int64_t offset;
        int origin;
        int result;
        long position; // afterwards
    };
    const int64_t huge = std::numeric_limits<int64_t>::max();
    const int64_t lowest = std::numeric_limits<int64_t>::min();
    const SSeek seeks[] = {
        {4, SEEK_SET, 0, 4},
        {3, SEEK_CUR, 0, 7},
        {-2, SEEK_CUR, 0, 5},
        {-3, SEEK_END, 0, 7},
        {0, SEEK_END, 0, 10},
        {1, SEEK_END, -1, 10},
        {-11, SEEK_END, -1, 10},
        {-1, SEEK_SET, -1, 10},
        {11, SEEK_SET, -1, 10},
        {huge, SEEK_CUR, -1, 10},
        {lowest, SEEK_CUR, -1, 10},
        {huge, SEEK_END, -1, 10},
        {lowest, SEEK_END, -1, 10},
        {0x100000002LL, SEEK_SET, -1, 10},
        {2, 7, 0, 2},
    };
    for (const SSeek& s : seeks)
    {
        SCOPED_TRACE(testing::Message() << s.offset << " from " << s.origin);
        EXPECT_EQ(OggSeekCallback(&file, s.offset, s.origin), s.result);
        EXPECT_EQ(OggTellCallback(&file), s.position);
    }

    char buffer[8] = {};
    EXPECT_EQ(OggReadCallback(buffer, 3, 2, &file), 2u); // items, not bytes
    EXPECT_EQ(std::string(buffer, 6), "234567");
    EXPECT_EQ(OggReadCallback(buffer, 4, 2, &file), 0u); // two bytes left: no whole item
    EXPECT_EQ(OggCloseCallback(&file), 0);
    EXPECT_EQ(OggSeekCallback(&file, 0, SEEK_SET), 0); // still open
    EXPECT_EQ(OggReadCallback(buffer, 1, 8, &file), 8u);
    EXPECT_EQ(OggSeekCallback(nullptr, 0, SEEK_SET), -1);
    EXPECT_EQ(OggTellCallback(nullptr), -1);
    EXPECT_EQ(OggReadCallback(buffer, 1, 8, nullptr), 0u);
}

// Seeded damage to valid streams: opening and decoding through the glue
// either fails or gives whole frames, and never more than a bounded amount.
TEST_F(OggVorbisDecoderTest, FuzzedStreamsDecodeSafely)
{
    const std::vector<std::pair<int, std::string>> seeds = {
        {2, EncodeOgg(2, 22050, 4000, ChannelTones(22050))},
        {6, EncodeOgg(6, 22050, 2000, ChannelTones(22050))},
    };
    std::mt19937 random(8675309);
    for (int round = 0; round < 400; ++round)
    {
        const auto& [channels, seed] = seeds[size_t(round) % seeds.size()];
        std::string bytes = seed;
        const int mutations = 1 + int(random() % 6);
        for (int m = 0; m < mutations; ++m)
        {
            const size_t at = random() % bytes.size();
            if (random() % 5 == 0)
                bytes.resize(std::max<size_t>(at, 1));
            else
                bytes[at] = static_cast<char>(random());
        }
        CMemoryFile file(bytes);
        SOpenStream stream(&file);
        if (stream.result != 0)
            continue;
        const int frameBytes = 2 * channels;
        std::vector<char> buffer(size_t(frameBytes) * 700 + 16, '\x5A');
        long total = 0;
        for (int call = 0; call < 200; ++call)
        {
            const int chunk = frameBytes * 700 - int(random() % 7);
            std::fill(buffer.begin(), buffer.end(), '\x5A');
            const int done = DecodeOggVorbis(&stream.record, buffer.data(), chunk, channels);
            ASSERT_GE(done, 0);
            ASSERT_LE(done, chunk);
            for (size_t i = size_t(chunk); i < buffer.size(); ++i)
                ASSERT_EQ(buffer[i], '\x5A');
            if (done == 0)
                break;
            total += done;
        }
        ASSERT_LE(total, 200L * frameBytes * 700);
    }
}
