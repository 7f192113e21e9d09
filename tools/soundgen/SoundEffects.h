#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The game's seven sound effects, in the order the game plays them: select,
// remove, hint found, take back, no hint, clear, deselect. All are mono at
// 22050 samples per second; effects 0 and 4 have 16-bit samples, the others 8-bit.
class SoundEffects {
public:
    static constexpr int Count = 7;

    struct Effect {
        std::string name;
        int bitsPerSample;
        std::vector<double> samples;
    };

    static std::vector<Effect> Make();
    // The file name the generator gives effect index, e.g. "0-select.wav".
    static std::string FileName(int index);

    static std::vector<std::uint8_t> WaveImage(const Effect& effect);
};
