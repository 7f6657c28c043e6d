// Writes a stereo 44.1 kHz Ogg Vorbis tone of the given length, for script
// tests that stream Ogg files:
//
//     write_test_ogg <file> <seconds>

#include "../OggTestEncoder.h"

#include <cstdlib>
#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: write_test_ogg <file> <seconds>\n";
        return 2;
    }
    const double seconds = std::atof(argv[2]);
    if (!(seconds > 0.0 && seconds <= 60.0))
    {
        std::cerr << "write_test_ogg: the length must be above 0 and at most 60 seconds\n";
        return 2;
    }
    constexpr long kRate = 44100;
    const std::string bytes = EncodeOgg(2, kRate, static_cast<long>(kRate * seconds), ChannelTones(kRate));
    std::ofstream file(argv[1], std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file)
    {
        std::cerr << "write_test_ogg: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
