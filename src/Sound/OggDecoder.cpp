#include "Sound/OggDecoder.h"

#include "Sound/Downmix.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <sys/types.h>

namespace {

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr int hostBigEndian = 1;
#else
constexpr int hostBigEndian = 0;
#endif
constexpr int bytesPerSample = 2;  // 16-bit
constexpr int signedSamples = 1;

// File callbacks for libvorbisfile; the data source is the C file handle.
size_t readFile(void* destination, size_t size, size_t count, void* file)
{
    return std::fread(destination, 1, size * count, static_cast<std::FILE*>(file));
}

int seekFile(void* file, ogg_int64_t offset, int origin)
{
    if (origin != SEEK_SET && origin != SEEK_CUR && origin != SEEK_END)
        return -1;
    return fseeko(static_cast<std::FILE*>(file), static_cast<off_t>(offset), origin) == 0 ? 0 : -1;
}

int closeFile(void* file)
{
    std::fclose(static_cast<std::FILE*>(file));
    return 0;
}

long tellFile(void* file) { return static_cast<long>(ftello(static_cast<std::FILE*>(file))); }

const ov_callbacks fileCallbacks = {readFile, seekFile, closeFile, tellFile};

// Reads every sample of the opened stream; the stream's layout must not
// change between chained sections, since one buffer has one format.
DecodeStatus readSamples(OggVorbis_File& vorbis, int channels, long frequency, std::vector<std::int16_t>& samples)
{
    char block[oggReadBytes];
    for (;;) {
        int section = 0;
        const long got = ov_read(&vorbis, block, sizeof block, hostBigEndian, bytesPerSample, signedSamples, &section);
        if (got == 0)
            return DecodeStatus::decoded;
        const vorbis_info* info = ov_info(&vorbis, section);
        if (got < 0 || !info || info->channels != channels || info->rate != frequency ||
            (samples.size() + got / bytesPerSample) * bytesPerSample > maxDecodedBytes)
            return DecodeStatus::corruptData;
        const std::int16_t* blockSamples = reinterpret_cast<const std::int16_t*>(block);
        samples.insert(samples.end(), blockSamples, blockSamples + got / bytesPerSample);
    }
}

} // namespace

DecodeStatus decodeOggFile(const std::string& path, DecodedSound& sound)
{
    sound = DecodedSound{};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return DecodeStatus::cannotOpen;
    OggVorbis_File vorbis;
    if (ov_open_callbacks(file, &vorbis, nullptr, 0, fileCallbacks) != 0) {
        std::fclose(file); // a failed open leaves the file to its caller
        return DecodeStatus::notVorbis;
    }
    const vorbis_info* info = ov_info(&vorbis, -1);
    DecodeStatus status = DecodeStatus::notVorbis;
    if (info) {
        status = readSamples(vorbis, info->channels, info->rate, sound.samples);
        sound.channels = info->channels;
        sound.frequency = info->rate;
    }
    ov_clear(&vorbis); // closes the file through the close callback
    if (status != DecodeStatus::decoded) {
        sound = DecodedSound{};
        return status;
    }
    if (sound.channels > 2) {
        downmixToStereo(sound.samples, sound.channels);
        sound.channels = 2;
    }
    return status;
}

std::string decodeFailureMessage(DecodeStatus status, const std::string& path)
{
    switch (status) {
    case DecodeStatus::cannotOpen:
        return "Cannot open " + path + " for reading...";
    case DecodeStatus::notVorbis:
        return "Error opening " + path + " for decoding...";
    case DecodeStatus::corruptData:
        return "Error decoding " + path + "...";
    case DecodeStatus::decoded:
        break;
    }
    return {};
}
