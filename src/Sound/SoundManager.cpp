#include "Sound/SoundManager.h"

#include "Engine/Base/Config.h"
#include "Engine/Base/Globals.h"
#include "Sound/OggDecoder.h"

#include <cstdlib>
#include <iostream>

namespace {

// The Windows device the game was made for; elsewhere no device has this
// name and the default device plays instead.
const char* const preferredDeviceName = "DirectSound3D";
constexpr int exitStatusBadSound = -1;

constexpr ALfloat listenerPosition[] = {0.0f, 0.0f, 0.0f};
constexpr ALfloat listenerVelocity[] = {0.0f, 0.0f, 0.0f};
constexpr ALfloat listenerOrientation[] = {0.0f, 0.0f, -1.0f, // at
                                           0.0f, 1.0f, 0.0f}; // up

} // namespace

SoundManager::~SoundManager() { shutdownSound(); }

void SoundManager::initSound()
{
    if (!openContext()) {
        std::cout << "ERROR SoundManager: Could not initialize OpenAL" << std::endl;
        return;
    }
    alGetError(); // clear what device and context creation left behind
    alGetError();
    alListenerfv(AL_POSITION, listenerPosition);
    alListenerfv(AL_VELOCITY, listenerVelocity);
    alListenerfv(AL_ORIENTATION, listenerOrientation);

    const std::string files[maxSounds] = {config::musicFile, config::gunshotFile, config::thirdSoundFile};
    for (const std::string& file : files) {
        const std::string path = config::soundFolder + file;
        if (!loadSound(path)) {
            std::cout << "ERROR SoundManager: Could not load " << path << std::endl;
            return;
        }
    }
    std::cout << "Initialized SoundManager" << std::endl;
}

bool SoundManager::openContext()
{
    if (context)
        return true;
    device = alcOpenDevice(preferredDeviceName);
    if (!device)
        device = alcOpenDevice(nullptr);
    if (!device)
        return false;
    context = alcCreateContext(device, nullptr);
    if (!context || !alcMakeContextCurrent(context) || alcGetError(device) != ALC_NO_ERROR) {
        closeContext();
        return false;
    }
    return true;
}

bool SoundManager::loadSound(const std::string& path)
{
    if (soundsLoaded >= maxSounds) {
        std::cout << "SoundManager: couldnt loadData into buffer becouse already " << maxSounds << " buffers"
                  << std::endl;
        return false;
    }
    ALuint& buffer = buffers[soundsLoaded];
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR)
        return false;

    std::vector<std::int16_t> data;
    ALenum format = AL_FORMAT_MONO16;
    ALsizei frequency = 0;
    decodeOgg(path, data, format, frequency);
    alBufferData(buffer, format, data.data(), static_cast<ALsizei>(data.size() * sizeof(std::int16_t)), frequency);

    ALuint source = 0;
    alGenSources(1, &source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    sources.push_back(source);
    ++soundsLoaded;
    return alGetError() == AL_NO_ERROR;
}

void SoundManager::decodeOgg(const std::string& path, std::vector<std::int16_t>& data, ALenum& format,
                             ALsizei& frequency)
{
    DecodedSound sound;
    const DecodeStatus status = decodeOggFile(path, sound);
    if (status != DecodeStatus::decoded) {
        std::cerr << decodeFailureMessage(status, path) << std::endl;
        shutdownSound(); // a device left open would be reported by OpenAL at exit
        std::exit(exitStatusBadSound);
    }
    data = std::move(sound.samples);
    format = sound.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    frequency = static_cast<ALsizei>(sound.frequency);
}

void SoundManager::shutdownSound()
{
    if (!context)
        return; // no device was opened, so nothing was created
    for (ALuint source : sources)
        alDeleteSources(1, &source);
    sources.clear();
    alDeleteBuffers(maxSounds, buffers.data()); // unused slots hold 0, which OpenAL skips
    buffers.fill(0);
    soundsLoaded = 0;
    closeContext();
}

void SoundManager::closeContext()
{
    if (context) {
        if (alcGetCurrentContext() == context)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device)
        alcCloseDevice(device);
    context = nullptr;
    device = nullptr;
}

void SoundManager::playSource(std::size_t number)
{
    if (number < sources.size())
        alSourcePlay(sources[number]);
}

void SoundManager::stopSource(std::size_t number)
{
    if (number < sources.size())
        alSourceStop(sources[number]);
}

bool SoundManager::isPlaying(std::size_t number) const
{
    if (number >= sources.size())
        return false;
    ALint state = AL_STOPPED;
    alGetSourcei(sources[number], AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void SoundManager::startMusic()
{
    if (sources.empty())
        return;
    playSource(musicSource);
    musicOn = true;
}

void SoundManager::toggleMusic()
{
    if (sources.empty())
        return;
    musicOn = !isPlaying(musicSource);
    if (musicOn)
        playSource(musicSource);
    else
        stopSource(musicSource);
}
