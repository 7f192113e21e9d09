// tovrik-soundgen OUTDIR
// Synthesises the seven sound effects into OUTDIR as 0-select.wav ... 6-deselect.wav.
#include "SoundEffects.h"
#include "WaveWriter.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: tovrik-soundgen OUTDIR\n";
        return 2;
    }
    try {
        const auto effects = SoundEffects::Make();
        for (int i = 0; i < SoundEffects::Count; ++i)
            WaveWriter::Write(std::string(argv[1]) + "/" + SoundEffects::FileName(i),
                            SoundEffects::WaveImage(effects[i]));
    } catch (const std::exception& error) {
        std::cerr << "tovrik-soundgen: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
