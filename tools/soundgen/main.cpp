// soundgen: writes the game's three sounds as Ogg Vorbis files.
//   soundgen <output folder>
#include "Engine/Base/Config.h"
#include "SoundSynth.h"

#include <filesystem>
#include <iostream>

namespace {

constexpr float musicQuality = 0.0f;  // VBR quality, about 64 kbit/s for stereo
constexpr float effectQuality = 0.2f;

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: soundgen <output folder>" << std::endl;
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code created;
    std::filesystem::create_directories(folder, created);
    if (created) {
        std::cerr << "soundgen: cannot create " << folder.string() << ": " << created.message() << std::endl;
        return 1;
    }
    struct Output {
        const std::string& file;
        SampledSound (*synthesise)();
        float quality;
    };
    const Output outputs[] = {{config::musicFile, soundsynth::synthesiseMusic, musicQuality},
                              {config::gunshotFile, soundsynth::synthesiseGunshot, effectQuality},
                              {config::thirdSoundFile, soundsynth::synthesiseRoar, effectQuality}};
    for (const Output& output : outputs) {
        std::string error;
        if (!writeOggVorbis((folder / output.file).string(), output.synthesise(), output.quality, error)) {
            std::cerr << "soundgen: " << error << std::endl;
            return 1;
        }
    }
    return 0;
}
