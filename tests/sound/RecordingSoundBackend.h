#pragma once

#include "SoundBackend.h"

#include <memory>
#include <vector>

// What a player asked of its back end, in order.
struct SoundEvent {
    enum Kind { Play, Stop, Release };

    Kind kind;
    int32_t slot;
    std::shared_ptr<const SoundBuffer> buffer;  // Play only
    bool looping = false;                       // Play only
};

using SoundLog = std::vector<SoundEvent>;

// A back end that plays nothing and records every call in a log the test keeps.
class RecordingSoundBackend : public SoundBackend {
public:
    explicit RecordingSoundBackend(std::shared_ptr<SoundLog> log_) : log(std::move(log_)) {}

    void Play(int32_t slot, std::shared_ptr<const SoundBuffer> buffer, bool looping) override
    {
        log->push_back({SoundEvent::Play, slot, std::move(buffer), looping});
    }
    void Stop(int32_t slot) override { log->push_back({SoundEvent::Stop, slot, nullptr}); }
    void Release(int32_t slot) override { log->push_back({SoundEvent::Release, slot, nullptr}); }

private:
    std::shared_ptr<SoundLog> log;
};
