#pragma once
// src/Sound: the music and the effects through OpenAL, decoded from Ogg Vorbis.
// Uses the engine base (the sound folder) and nothing else of the game.
//
// Plays the game's few sounds through OpenAL. At start-up every sound is
// decoded whole into one buffer with one source; afterwards callers play or
// stop a sound by its source number. No streaming, no 3D placement of
// sources, no volume control; sources do not loop.
#include "Engine/Base/Singleton.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Source numbers, in load order.
constexpr std::size_t musicSource = 0;      // started with a game, toggled by B
constexpr std::size_t gunshotSource = 1;    // played on each shot
constexpr std::size_t thirdSoundSource = 2; // loaded, not played

class SoundManager : public Singleton<SoundManager> {
public:
    static constexpr int maxSounds = 3;

    SoundManager() = default;
    // Shuts the sound down (shutdownSound).
    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Opens the audio device ("DirectSound3D" when one has that name, else
    // OpenAL's default) and loads the music, gunshot and third sound from the
    // sound folder. Without a device the game stays silent. A sound file that
    // cannot be read or decoded ends the process with status -1.
    void initSound();
    // Loads one sound into the next buffer with a new source; true when it is
    // ready to play. A fourth sound is refused with a console line.
    bool loadSound(const std::string& path);
    // Decodes `path` into 16-bit samples in an OpenAL format. A missing or
    // undecodable file writes its error line, closes the device and ends the
    // process with status -1.
    void decodeOgg(const std::string& path, std::vector<std::int16_t>& data, ALenum& format,
                   ALsizei& frequency);
    // Deletes the sources and buffers and closes the device.
    void shutdownSound();

    // OpenAL source names, one per loaded sound, in load order.
    const std::vector<ALuint>& getSources() const { return sources; }
    // Play or stop a sound by source number; numbers not held do nothing.
    void playSource(std::size_t number);
    void stopSource(std::size_t number);
    // The start of a game: plays the music from its start and sets `musicOn`.
    void startMusic();
    // The music key: stops the music while it is heard, otherwise plays it;
    // `musicOn` follows. The source's own state decides, so a track that
    // ended by itself starts again. Does nothing while no sound is loaded.
    void toggleMusic();
    // Whether the source with this number is playing now.
    bool isPlaying(std::size_t number) const;

private:
    bool openContext();
    void closeContext();

    std::array<ALuint, maxSounds> buffers{};
    std::vector<ALuint> sources;
    int soundsLoaded = 0;
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
};
