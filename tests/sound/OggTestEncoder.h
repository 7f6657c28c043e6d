#pragma once

// Encodes Ogg Vorbis streams at run time with libvorbisenc, for the sound
// tests and the decoding benchmark.

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>

// One sample of the given channel (Vorbis channel order) and frame, -1..1.
using OggSampleFunction = std::function<float(int channel, long frame)>;

inline std::string EncodeOgg(int channels, long rate, long frames, const OggSampleFunction& sample,
                             float quality = 0.4f, int serial = 0x48564C4E)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0)
    {
        vorbis_info_clear(&info);
        throw std::runtime_error("libvorbisenc refuses the format");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);

    std::string bytes;
    ogg_page page;
    const auto append = [&bytes, &page]
    {
        bytes.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
        bytes.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
    };

    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&stream, &identification);
    ogg_stream_packetin(&stream, &comments);
    ogg_stream_packetin(&stream, &codebooks);
    while (ogg_stream_flush(&stream, &page) != 0)
        append();

    const auto drain = [&]
    {
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0)
            {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    append();
            }
        }
    };

    const long chunk = 1024;
    for (long done = 0; done < frames; done += chunk)
    {
        const long count = std::min(chunk, frames - done);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        for (int channel = 0; channel < channels; ++channel)
            for (long i = 0; i < count; ++i)
                buffer[channel][i] = sample(channel, done + i);
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0)
        append();

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return bytes;
}

// A tone whose loudness tells the channel apart: channel c carries a sine
// of amplitude ChannelAmplitude(c).
inline float ChannelAmplitude(int channel)
{
    return 0.08f * static_cast<float>(channel + 1);
}

inline OggSampleFunction ChannelTones(long rate)
{
    return [rate](int channel, long frame)
    {
        const double phase = 2.0 * M_PI * 220.0 * static_cast<double>(frame) / static_cast<double>(rate);
        return static_cast<float>(ChannelAmplitude(channel) * std::sin(phase));
    };
}
