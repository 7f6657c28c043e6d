// What the device plays, captured by OpenAL Soft's wave-writer backend: a
// stream is heard whole and without gaps across its buffer refills, and
// again from its start when it plays after a stop.
#include "SoundTestEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

namespace
{

// The frames of a captured file: 32-bit float stereo, as the backend
// writes by default.
std::vector<float> CapturedFrames(const std::string& bytes)
{
    std::vector<float> samples;
    size_t at = 12;
    while (at + 8 <= bytes.size())
    {
        uint32_t size = 0;
        std::memcpy(&size, bytes.data() + at + 4, 4);
        if (bytes.compare(at, 4, "data") == 0)
        {
            const size_t count = std::min<size_t>(size, bytes.size() - at - 8) / sizeof(float);
            samples.resize(count);
            std::memcpy(samples.data(), bytes.data() + at + 8, count * sizeof(float));
            break;
        }
        at += 8 + size + (size & 1);
    }
    return samples;
}

// The lengths in frames of the stretches of sound that silences of at least
// gapFrames separate.
std::vector<size_t> SoundStretches(const std::vector<float>& samples, size_t gapFrames)
{
    std::vector<size_t> stretches;
    size_t start = 0;
    size_t lastHeard = 0;
    bool inSound = false;
    for (size_t frame = 0; frame * 2 + 1 < samples.size(); ++frame)
    {
        const bool heard = std::fabs(samples[frame * 2]) > 1e-4f || std::fabs(samples[frame * 2 + 1]) > 1e-4f;
        if (!heard)
            continue;
        if (inSound && frame - lastHeard > gapFrames)
        {
            stretches.push_back(lastHeard + 1 - start);
            inSound = false;
        }
        if (!inSound)
            start = frame;
        inSound = true;
        lastHeard = frame;
    }
    if (inSound)
        stretches.push_back(lastHeard + 1 - start);
    return stretches;
}

// In a process of its own: plays a second of a stream, stopped once after
// 0.3 seconds and played again, into the folder's "captured.wav". Ends the
// process with 0 when everything played.
[[noreturn]] void CaptureInOwnProcess(const std::string& folder)
{
    const std::string output = folder + "/captured.wav";
    std::ofstream(folder + "/alsoft.conf") << "[wave]\nfile=" << output << "\n";
    setenv("ALSOFT_DRIVERS", "wave", 1);
    setenv("ALSOFT_CONF", (folder + "/alsoft.conf").c_str(), 1);
    bool played = false;
    {
        CSoundTestEngine test;
        // One second at 44.1 kHz in buffers of a tenth: seven refills.
        CSound* sound =
            test.Open() ? test.Load("tone", "tone.ogg", StereoOgg(44100, 1.0), true, 0.1f, 3) : nullptr;
        if (sound != nullptr && sound->Play(0, 0))
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            played = sound->Stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            played =
                played && sound->Play(0, 0) && CSoundTestEngine::WaitFor([&] { return sound->IsStopped(); });
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        test.engine.Destroy();
    }
    std::exit(played ? 0 : 1);
}

} // namespace

TEST(SoundCaptureTest, AStreamIsHeardWholeAcrossRefillsAndAgainAfterAStop)
{
    // The backend is chosen when OpenAL is first used in a process: the
    // capture runs in a new one, which finds the folder in the environment.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    CTestFolder folder;
    if (getenv("HALVANE_TEST_CAPTURE_FOLDER") == nullptr)
        setenv("HALVANE_TEST_CAPTURE_FOLDER", folder.Path().c_str(), 1);
    const std::string shared = getenv("HALVANE_TEST_CAPTURE_FOLDER");
    EXPECT_EXIT(CaptureInOwnProcess(shared), testing::ExitedWithCode(0), "");
    unsetenv("HALVANE_TEST_CAPTURE_FOLDER");

    const std::vector<size_t> stretches = SoundStretches(CapturedFrames(folder.Read("captured.wav")), 200);
    // The part before the stop, then the whole second.
    ASSERT_EQ(stretches.size(), 2u);
    EXPECT_GT(stretches[0], 4410u);
    EXPECT_LT(stretches[0], 44100u);
    EXPECT_NEAR(double(stretches[1]), 44100.0, 441.0);
}
