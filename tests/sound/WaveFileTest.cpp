#include "MemoryFile.h"
#include "WaveBuilder.h"
#include "core/io/FileSystem.h"
#include "support/TestFolder.h"
#include "sound/WaveFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

namespace
{

// Stands in for alGetEnumValue: a distinct number per format name.
int FormatNumber(const char* name)
{
    static const char* const names[] = {"AL_FORMAT_MONO8", "AL_FORMAT_MONO16", "AL_FORMAT_STEREO8",
                                        "AL_FORMAT_STEREO16", "AL_FORMAT_QUAD16"};
    for (int i = 0; i < 5; ++i)
        if (std::strcmp(name, names[i]) == 0)
            return 100 + i;
    return -1;
}
constexpr int kMono8 = 100, kMono16 = 101, kStereo8 = 102, kStereo16 = 103, kQuad16 = 104;

std::string Bytes(const CWaveFile& wave)
{
    return std::string(reinterpret_cast<const char*>(wave.GetData()), wave.GetDataSize());
}

} // namespace

TEST(WaveFileTest, ReadsFormatsAndChunkLayouts)
{
    const std::string samples5 = CountingSamples(5);
    const std::string samples64 = CountingSamples(64);
    struct SCase
    {
        const char* what;
        std::string file;
        std::string samples;
        uint32_t rate;
        uint16_t blockAlign;
        int format;
    };
    const SCase cases[] = {
        {"mono 8-bit, odd data size padded, a list chunk after the data",
         Riff({Chunk("fmt ", PcmHeader(1, 22050, 8)), Chunk("data", samples5), Chunk("LIST", "INFOabcd")}),
         samples5, 22050, 1, kMono8},
        {"stereo 16-bit with a list chunk between format and data",
         Riff({Chunk("fmt ", PcmHeader(2, 44100, 16)), Chunk("LIST", "INFOIART"), Chunk("data", samples64)}),
         samples64, 44100, 4, kStereo16},
        {"ids in other letter cases",
         Riff({Chunk("FMT ", PcmHeader(1, 8000, 16)), Chunk("Data", samples64)}, "riff", "wave"), samples64,
         8000, 2, kMono16},
        {"data before format", Riff({Chunk("data", samples64), Chunk("fmt ", PcmHeader(2, 11025, 8))}),
         samples64, 11025, 2, kStereo8},
        {"odd-sized chunk and its pad byte before the format",
         Riff({Chunk("junk", "abc"), Chunk("fmt ", PcmHeader(4, 48000, 16)), Chunk("data", samples64)}),
         samples64, 48000, 8, kQuad16},
        {"format chunk with the 2-byte extension size",
         Riff({Chunk("fmt ", PcmHeader(1, 22050, 16) + LittleEndian16(0)), Chunk("data", samples64)}),
         samples64, 22050, 2, kMono16},
        {"odd data size at the end of the file without its pad byte",
         Riff({Chunk("fmt ", PcmHeader(1, 22050, 8)), Chunk("data", samples5, -1, false)}), samples5, 22050,
         1, kMono8},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        CMemoryFile file(c.file);
        CWaveFile wave;
        ASSERT_TRUE(wave.Open(&file)) << std::string(wave.GetError().begin(), wave.GetError().end());
        EXPECT_TRUE(wave.IsOpen());
        EXPECT_EQ(Bytes(wave), c.samples);
        EXPECT_EQ(wave.GetSamplesPerSec(), c.rate);
        EXPECT_EQ(wave.GetBlockAlign(), c.blockAlign);
        EXPECT_EQ(wave.GetAvgBytesPerSec(), c.rate * c.blockAlign);
        EXPECT_EQ(wave.GetALFormat(FormatNumber), c.format);
        EXPECT_TRUE(wave.GetError().empty());
    }
}

TEST(WaveFileTest, FormatsWithoutAnOpenALFormatGiveNone)
{
    struct SCase
    {
        uint16_t channels;
        uint16_t bits;
    };
    // Three or six channels have no format; neither have samples of other
    // sizes than 8 and 16 bits, which would otherwise play as noise.
    const SCase cases[] = {{3, 16}, {6, 16}, {4, 8}, {1, 24}, {2, 32}, {1, 4}, {0, 16}};
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.bits << " bits");
        CMemoryFile file(Riff(
            {Chunk("fmt ", PcmHeader(c.channels, 22050, c.bits, 1, 4)), Chunk("data", CountingSamples(16))}));
        CWaveFile wave;
        ASSERT_TRUE(wave.Open(&file));
        EXPECT_EQ(wave.GetALFormat(FormatNumber), 0);
        EXPECT_EQ(wave.GetALFormat(nullptr), 0);
    }
}

TEST(WaveFileTest, MalformedFilesFailWithAReason)
{
    const std::string fmt = Chunk("fmt ", PcmHeader(2, 44100, 16));
    const std::string data = Chunk("data", CountingSamples(32));
    struct SCase
    {
        const char* what;
        std::string file;
        const wchar_t* reason;
    };
    const SCase cases[] = {
        {"empty file", "", L"not a RIFF WAVE"},
        {"header cut short", std::string("RIFF\x10\0\0\0WAV", 11), L"not a RIFF WAVE"},
        {"RIFX byte order", Riff({fmt, data}, "RIFX"), L"not a RIFF WAVE"},
        {"AVI in a RIFF", Riff({fmt, data}, "RIFF", "AVI "), L"not a RIFF WAVE"},
        {"format chunk under 16 bytes", Riff({Chunk("fmt ", PcmHeader(2, 44100, 16).substr(0, 14)), data}),
         L"holds 14 bytes"},
        {"empty format chunk", Riff({Chunk("fmt ", ""), data}), L"holds 0 bytes"},
        {"block alignment 0", Riff({Chunk("fmt ", PcmHeader(2, 44100, 16, 1, 0)), data}), L"block alignment"},
        {"data size past the end of the file", Riff({fmt, Chunk("data", CountingSamples(32), 1000)}),
         L"\"data\" chunk of 1000 bytes runs past the end"},
        {"data size of 4 GiB", Riff({fmt, Chunk("data", CountingSamples(32), 0xFFFFFFFF)}),
         L"\"data\" chunk of 4294967295 bytes runs past the end"},
        {"chunk size that wraps a 32-bit position", Riff({fmt, Chunk("LIST", "abcd", 0xFFFFFFF8), data}),
         L"\"LIST\" chunk of 4294967288 bytes runs past the end"},
        {"format chunk size past the end", Riff({Chunk("fmt ", PcmHeader(2, 44100, 16), 36)}),
         L"\"fmt \" chunk of 36 bytes runs past the end"},
        {"unprintable id in a bad chunk", Riff({fmt, Chunk(std::string("\x01zz\xFF", 4), "", 99), data}),
         L"\"?zz?\" chunk"},
        {"no data chunk", Riff({fmt, Chunk("LIST", "abcd")}), L"no samples"},
        {"empty data chunk", Riff({fmt, Chunk("data", "")}), L"no samples"},
        {"no format chunk", Riff({data}), L"no PCM \"fmt \" chunk"},
        {"floating-point samples", Riff({Chunk("fmt ", PcmHeader(2, 44100, 32, 3)), data}),
         L"no PCM \"fmt \" chunk"},
        {"format chunk over 40 bytes is no PCM header",
         Riff({Chunk("fmt ", PcmHeader(2, 44100, 16) + std::string(26, '\0')), data}),
         L"no PCM \"fmt \" chunk"},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        CMemoryFile file(c.file);
        CWaveFile wave;
        EXPECT_FALSE(wave.Open(&file));
        const std::wstring& error = wave.GetError();
        EXPECT_EQ(error.rfind(L"[CWaveFile::", 0), 0u) << std::string(error.begin(), error.end());
        EXPECT_NE(error.find(c.reason), std::wstring::npos) << std::string(error.begin(), error.end());
        EXPECT_FALSE(wave.IsOpen());
        EXPECT_EQ(wave.GetData(), nullptr);
        EXPECT_EQ(wave.ReadData(&file, 1), 0u);
        EXPECT_EQ(wave.GetALFormat(FormatNumber), 0);
    }
    CWaveFile wave;
    EXPECT_FALSE(wave.Parse(nullptr));
    EXPECT_FALSE(wave.Open(nullptr));
}

TEST(WaveFileTest, ReadsOnlyTheSamplesFromTheStream)
{
    const std::string samples = CountingSamples(40);
    CMemoryFile file(Riff(
        {Chunk("fmt ", PcmHeader(1, 8000, 16)), Chunk("data", samples), Chunk("LIST", "trailing text")}));
    CWaveFile wave;
    ASSERT_TRUE(wave.Parse(&file));
    EXPECT_EQ(wave.GetData(), nullptr); // parsing reads no samples
    EXPECT_EQ(wave.GetDataSize(), 40u);

    char buffer[100];
    ASSERT_TRUE(wave.SeekData(0));
    ASSERT_EQ(wave.ReadData(buffer, sizeof buffer), 40u); // not into the list chunk
    EXPECT_EQ(std::string(buffer, 40), samples);
    EXPECT_EQ(wave.ReadData(buffer, sizeof buffer), 0u);

    ASSERT_TRUE(wave.SeekData(38));
    ASSERT_EQ(wave.ReadData(buffer, sizeof buffer), 2u);
    EXPECT_EQ(std::string(buffer, 2), samples.substr(38));
    ASSERT_TRUE(wave.SeekData(10));
    EXPECT_EQ(wave.ReadData(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), samples.substr(10, 4));
    EXPECT_TRUE(wave.SeekData(40));
    EXPECT_EQ(wave.ReadData(buffer, 4), 0u);
    EXPECT_FALSE(wave.SeekData(41));

    // Someone moved the stream in front of the samples: nothing is read
    // (rather than a length computed from a negative distance).
    file.seek(0);
    EXPECT_EQ(wave.ReadData(buffer, sizeof buffer), 0u);
    EXPECT_EQ(wave.ReadData(nullptr, 4), 0u);
    ASSERT_TRUE(wave.SeekData(0));
    EXPECT_EQ(wave.ReadData(buffer, 0), 0u);

    EXPECT_TRUE(wave.Close());
    EXPECT_FALSE(wave.IsOpen());
    EXPECT_FALSE(wave.SeekData(0));
    EXPECT_EQ(wave.ReadData(buffer, sizeof buffer), 0u);
}

TEST(WaveFileTest, ReadsThroughTheFileSystemAndRefusesHugeLoads)
{
    CTestFolder folder;
    const std::string samples = CountingSamples(1000);
    folder.Write("Sounds/Beep.wav", Riff({Chunk("fmt ", PcmHeader(2, 22050, 16)), Chunk("data", samples)}));

    CFileSystem files(folder.Wide().c_str());
    ASSERT_TRUE(files.AddSearchPath(folder.Wide(), true, 0));
    IFile* file = files.OpenFile(L"beep.WAV");
    ASSERT_NE(file, nullptr);
    {
        CWaveFile wave;
        ASSERT_TRUE(wave.Open(file));
        EXPECT_EQ(Bytes(wave), samples);
        EXPECT_TRUE(wave.SeekData(996));
        char tail[16];
        EXPECT_EQ(wave.ReadData(tail, sizeof tail), 4u);
    }
    file->drop();

    // A sample chunk larger than a sound is loaded whole (a sparse file of
    // 300 MiB): parsing succeeds, loading refuses before allocating.
    const uint32_t hugeSize = 300u << 20;
    folder.Write("Huge.wav", Riff({Chunk("fmt ", PcmHeader(2, 44100, 16)), Chunk("data", "", hugeSize)}));
    std::filesystem::resize_file(folder / "Huge.wav", 44 + uint64_t(hugeSize));
    file = files.OpenFile(folder.Wide("Huge.wav"));
    ASSERT_NE(file, nullptr);
    {
        CWaveFile wave;
        EXPECT_TRUE(wave.Parse(file));
        EXPECT_EQ(wave.GetDataSize(), hugeSize);
        EXPECT_FALSE(wave.Open(file));
        EXPECT_NE(wave.GetError().find(L"too large"), std::wstring::npos)
            << std::string(wave.GetError().begin(), wave.GetError().end());
        EXPECT_EQ(wave.GetData(), nullptr);
    }
    file->drop();
}

// Seeded mutations of valid files: whatever the bytes say, the reader
// either fails with a reason or hands out samples that lie inside the file.
TEST(WaveFileTest, FuzzedFilesNeverReadOutsideTheirBytes)
{
    const std::vector<std::string> seeds = {
        Riff({Chunk("fmt ", PcmHeader(2, 44100, 16)), Chunk("LIST", "INFOabc"),
              Chunk("data", CountingSamples(96))}),
        Riff({Chunk("data", CountingSamples(33)), Chunk("fmt ", PcmHeader(1, 8000, 8) + LittleEndian16(0))}),
    };
    const uint32_t interesting[] = {0,  1,  2,          15,         16,         17,        39,
                                    40, 41, 0x7FFFFFFF, 0x80000000, 0xFFFFFFF0, 0xFFFFFFFF};
    std::mt19937 random(20240527);
    int opened = 0;
    for (int round = 0; round < 4000; ++round)
    {
        std::string bytes = seeds[size_t(round) % seeds.size()];
        const int mutations = 1 + int(random() % 4);
        for (int m = 0; m < mutations; ++m)
        {
            const size_t at = random() % bytes.size();
            switch (random() % 4)
            {
            case 0:
                bytes[at] = static_cast<char>(random());
                break;
            case 1: // a size field or any other 32-bit value
                if (at + 4 <= bytes.size())
                    bytes.replace(at, 4, LittleEndian32(interesting[random() % std::size(interesting)]));
                break;
            case 2:
                bytes.resize(at);
                break;
            default:
                bytes.insert(at, std::string(1 + random() % 5, static_cast<char>(random())));
                break;
            }
            if (bytes.empty())
                bytes = "R";
        }
        CMemoryFile file(bytes);
        CWaveFile wave;
        if (!wave.Open(&file))
        {
            ASSERT_FALSE(wave.GetError().empty());
            ASSERT_EQ(wave.GetData(), nullptr);
            continue;
        }
        ++opened;
        ASSERT_LE(wave.GetDataSize(), bytes.size());
        const std::string loaded = Bytes(wave);
        ASSERT_NE(bytes.find(loaded), std::string::npos);
        std::string streamed(wave.GetDataSize() + 8, '\0');
        ASSERT_TRUE(wave.SeekData(0));
        ASSERT_EQ(wave.ReadData(streamed.data(), uint32_t(streamed.size())), wave.GetDataSize());
        ASSERT_EQ(streamed.substr(0, loaded.size()), loaded);
        wave.GetALFormat(FormatNumber);
    }
    EXPECT_GT(opened, 100); // the mutations leave many files readable
}
