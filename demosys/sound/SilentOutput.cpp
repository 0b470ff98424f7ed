#include "demosys/sound/SilentOutput.h"

#include <algorithm>

SilentOutput::~SilentOutput()
{
    close();
}

bool SilentOutput::open(int rate, RenderFunction r, void* user)
{
    close();
    if (rate <= 0)
    {
        error = "silent output: invalid sample rate " + std::to_string(rate);
        return false;
    }
    sampleRate = rate;
    render = r;
    renderUser = user;
    buffer.assign(CHUNK_FRAMES * 2, 0.0f);
    mutex = SDL_CreateMutex();
    if (!mutex)
    {
        error = std::string("silent output: ") + SDL_GetError();
        return false;
    }
    running = true;
    thread = SDL_CreateThread(threadMain, "silent audio", this);
    if (!thread)
    {
        running = false;
        error = std::string("silent output: ") + SDL_GetError();
        SDL_DestroyMutex(mutex);
        mutex = nullptr;
        return false;
    }
    return true;
}

void SilentOutput::close()
{
    if (thread)
    {
        running = false;
        SDL_WaitThread(thread, nullptr);
        thread = nullptr;
    }
    if (mutex)
        SDL_DestroyMutex(mutex);
    mutex = nullptr;
}

void SilentOutput::lock()
{
    if (mutex)
        SDL_LockMutex(mutex);
}

void SilentOutput::unlock()
{
    if (mutex)
        SDL_UnlockMutex(mutex);
}

int SilentOutput::threadMain(void* self)
{
    static_cast<SilentOutput*>(self)->run();
    return 0;
}

void SilentOutput::run()
{
    const uint64_t frequency = SDL_GetPerformanceFrequency();
    const uint64_t start = SDL_GetPerformanceCounter();
    const uint64_t rate = static_cast<uint64_t>(sampleRate);
    uint64_t consumed = 0;
    while (running)
    {
        uint64_t now = SDL_GetPerformanceCounter();
        uint64_t elapsed = now - start;
        // Split so that the product cannot overflow on long runs.
        uint64_t due = elapsed / frequency * rate + elapsed % frequency * rate / frequency;
        while (consumed < due && running)
        {
            int frames = static_cast<int>(std::min<uint64_t>(due - consumed, CHUNK_FRAMES));
            SDL_LockMutex(mutex);
            render(renderUser, buffer.data(), frames, now);
            SDL_UnlockMutex(mutex);
            consumed += static_cast<uint64_t>(frames);
        }
        SDL_Delay(PERIOD_MS);
    }
}
