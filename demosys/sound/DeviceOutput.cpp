#include "demosys/sound/DeviceOutput.h"

#include <SDL.h>

DeviceOutput::~DeviceOutput()
{
    close();
}

bool DeviceOutput::open(int rate, RenderFunction r, void* user)
{
    close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        error = std::string("SDL audio: ") + SDL_GetError();
        return false;
    }
    audioStarted = true;
    render = r;
    renderUser = user;
    SDL_AudioSpec want = {};
    want.freq = rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = BUFFER_FRAMES;
    want.callback = callback;
    want.userdata = this;
    SDL_AudioSpec have = {};
    // No changes allowed: SDL converts, so the music's own rate is what we mix at.
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0)
    {
        error = std::string("SDL audio device: ") + SDL_GetError();
        close();
        return false;
    }
    sampleRate = rate;
    bufferFrames = have.samples > 0 ? have.samples : BUFFER_FRAMES;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void DeviceOutput::close()
{
    if (device != 0)
        SDL_CloseAudioDevice(device);
    device = 0;
    if (audioStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioStarted = false;
}

void DeviceOutput::lock()
{
    if (device != 0)
        SDL_LockAudioDevice(device);
}

void DeviceOutput::unlock()
{
    if (device != 0)
        SDL_UnlockAudioDevice(device);
}

bool DeviceOutput::isLost()
{
    return device != 0 && SDL_GetAudioDeviceStatus(device) == SDL_AUDIO_STOPPED;
}

void DeviceOutput::callback(void* user, uint8_t* stream, int bytes)
{
    auto* self = static_cast<DeviceOutput*>(user);
    int frames = bytes / static_cast<int>(2 * sizeof(float));
    self->render(self->renderUser, reinterpret_cast<float*>(stream), frames, SDL_GetPerformanceCounter());
}
