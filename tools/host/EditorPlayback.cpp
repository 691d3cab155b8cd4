#include "EditorPlayback.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {
// Whether the machine has anything SDL could play on: a sound card, or a sound
// server's socket. Without either, asking SDL only fills the terminal with the sound
// libraries' complaints.
bool soundOutputLikely() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    if (fs::exists("/dev/snd", ignored) || std::getenv("PULSE_SERVER"))
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && (fs::exists(fs::path(runtime) / "pulse" / "native", ignored) ||
                       fs::exists(fs::path(runtime) / "pipewire-0", ignored));
}
} // namespace

EditorPlayback::EditorPlayback(AUAudioUnit& unit, AudioClip clip)
    : sampleRate(clip.sampleRate), channels(std::uint32_t(clip.channels.size())),
      renderer(unit, channels, blockFrames) {
    renderer.input = std::move(clip.channels);
    renderer.loops = true;
}

EditorPlayback::~EditorPlayback() {
    stop();
}

AUAudioUnitStatus EditorPlayback::renderBlock(AUAudioFrameCount frames) {
    const AUAudioUnitStatus status = renderer.render(frames);
    rendered.fetch_add(frames, std::memory_order_relaxed);
    return status;
}

void EditorPlayback::deviceCallback(void* context, std::uint8_t* stream, int bytes) {
    auto* self = static_cast<EditorPlayback*>(context);
    auto* out = reinterpret_cast<float*>(stream);
    AUAudioFrameCount left = AUAudioFrameCount(bytes / int(sizeof(float) * self->channels));
    while (left > 0) {
        const AUAudioFrameCount frames = std::min(left, blockFrames);
        const bool ok = self->renderBlock(frames) == noErr;
        // Interleaved for the device: out[n · channels + k] = channel k, frame n.
        for (AUAudioFrameCount n = 0; n < frames; ++n)
            for (std::uint32_t k = 0; k < self->channels; ++k)
                out[n * self->channels + k] = ok ? self->renderer.output(k)[n] : 0.0f;
        out += std::size_t(frames) * self->channels;
        left -= frames;
    }
}

void EditorPlayback::renderNowhere() {
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(blockFrames / sampleRate));
    auto next = Clock::now();
    while (running.load(std::memory_order_acquire)) {
        renderBlock(blockFrames);
        next += period;
        std::this_thread::sleep_until(next);
    }
}

void EditorPlayback::renderFor(double seconds) {
    for (double done = 0; done < seconds; done += blockFrames / sampleRate)
        renderBlock(blockFrames);
}

EditorPlayback::Output EditorPlayback::start() {
    running.store(true, std::memory_order_release);
    if (soundOutputLikely() && SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        audioSubsystem = true;
        SDL_AudioSpec want{};
        want.freq = int(sampleRate);
        want.format = AUDIO_F32SYS;
        want.channels = Uint8(channels);
        want.samples = Uint16(blockFrames);
        want.callback = deviceCallback;
        want.userdata = this;
        SDL_AudioSpec have{};
        device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device != 0) {
            SDL_PauseAudioDevice(device, 0);
            return Output::soundDevice;
        }
    }
    pacer = std::thread([this] { renderNowhere(); });
    return Output::nowhere;
}

void EditorPlayback::stop() {
    running.store(false, std::memory_order_release);
    if (device != 0) {
        SDL_CloseAudioDevice(device); // waits for a callback in progress
        device = 0;
    }
    if (pacer.joinable())
        pacer.join();
    if (audioSubsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioSubsystem = false;
    }
}
