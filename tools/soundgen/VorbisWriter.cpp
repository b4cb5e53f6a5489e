#include "VorbisWriter.h"

#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <algorithm>

namespace {

constexpr int streamSerialNumber = 0x556d6272; // fixed, for byte-identical output
constexpr long framesPerAnalysisBlock = 1024;

// The libvorbis encoder state for one stream, released in reverse order of set-up.
struct Encoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    bool ready = false;

    Encoder() { vorbis_info_init(&info); }
    ~Encoder()
    {
        if (ready) {
            ogg_stream_clear(&stream);
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
            vorbis_comment_clear(&comment);
        }
        vorbis_info_clear(&info);
    }
};

bool writePage(std::FILE* file, const ogg_page& page)
{
    return std::fwrite(page.header, 1, page.header_len, file) == static_cast<size_t>(page.header_len) &&
           std::fwrite(page.body, 1, page.body_len, file) == static_cast<size_t>(page.body_len);
}

bool writeHeaders(Encoder& encoder, std::FILE* file)
{
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&encoder.dsp, &encoder.comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&encoder.stream, &identification);
    ogg_stream_packetin(&encoder.stream, &comments);
    ogg_stream_packetin(&encoder.stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&encoder.stream, &page) != 0)
        if (!writePage(file, page))
            return false;
    return true;
}

// Hands the analysed blocks to the stream and writes every finished page.
bool drainBlocks(Encoder& encoder, std::FILE* file)
{
    while (vorbis_analysis_blockout(&encoder.dsp, &encoder.block) == 1) {
        vorbis_analysis(&encoder.block, nullptr);
        vorbis_bitrate_addblock(&encoder.block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&encoder.dsp, &packet) == 1) {
            ogg_stream_packetin(&encoder.stream, &packet);
            ogg_page page;
            while (ogg_stream_pageout(&encoder.stream, &page) != 0)
                if (!writePage(file, page))
                    return false;
        }
    }
    return true;
}

bool encode(Encoder& encoder, const SampledSound& sound, std::FILE* file)
{
    if (!writeHeaders(encoder, file))
        return false;
    const long frames = static_cast<long>(sound.samples.size()) / sound.channels;
    for (long first = 0; first < frames; first += framesPerAnalysisBlock) {
        const long count = std::min(framesPerAnalysisBlock, frames - first);
        float** channels = vorbis_analysis_buffer(&encoder.dsp, static_cast<int>(count));
        for (long frame = 0; frame < count; ++frame)
            for (int channel = 0; channel < sound.channels; ++channel)
                channels[channel][frame] = sound.samples[(first + frame) * sound.channels + channel];
        vorbis_analysis_wrote(&encoder.dsp, static_cast<int>(count));
        if (!drainBlocks(encoder, file))
            return false;
    }
    vorbis_analysis_wrote(&encoder.dsp, 0); // end of stream
    return drainBlocks(encoder, file);
}

} // namespace

bool writeOggVorbis(const std::string& path, const SampledSound& sound, float quality, std::string& error)
{
    Encoder encoder;
    if (sound.channels < 1 || sound.channels > 255 || sound.frequency < 1 ||
        vorbis_encode_init_vbr(&encoder.info, sound.channels, sound.frequency, quality) != 0) {
        error = "the encoder rejects " + std::to_string(sound.channels) + " channels at " +
                std::to_string(sound.frequency) + " Hz";
        return false;
    }
    vorbis_comment_init(&encoder.comment);
    vorbis_analysis_init(&encoder.dsp, &encoder.info);
    vorbis_block_init(&encoder.dsp, &encoder.block);
    ogg_stream_init(&encoder.stream, streamSerialNumber);
    encoder.ready = true;

    const std::string partialPath = path + ".part";
    std::FILE* file = std::fopen(partialPath.c_str(), "wb");
    if (!file) {
        error = "cannot create " + partialPath;
        return false;
    }
    bool written = encode(encoder, sound, file);
    written = (std::fclose(file) == 0) && written;
    if (!written || std::rename(partialPath.c_str(), path.c_str()) != 0) {
        std::remove(partialPath.c_str());
        error = "cannot write " + path;
        return false;
    }
    return true;
}
