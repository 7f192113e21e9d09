#include "SoundEffects.h"

#include "Synth.h"
#include "WaveWriter.h"

#include <array>
#include <cmath>

namespace {

const std::array<const char*, SoundEffects::Count> Names{
    "select", "remove", "hint", "takeback", "nohint", "clear", "deselect"};

int BitsOf(int index)
{
    return index == 0 || index == 4 ? 16 : 8;
}

double Pitch(int semitonesFromA4)
{
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

// Picking up a tile: a short, dry wooden tap.
std::vector<double> Select()
{
    Synth synth(0.11);
    synth.AddNote({0.0, Pitch(12), 1.0, 0.002, 0.035, 0.11}, Timbre::Wood());
    synth.AddNote({0.0, Pitch(19), 0.25, 0.001, 0.015, 0.05}, Timbre::Wood());
    synth.Finish(0.8);
    return synth.Samples();
}

// Putting a tile back down: the same tap, a fourth lower and softer.
std::vector<double> Deselect()
{
    Synth synth(0.1);
    synth.AddNote({0.0, Pitch(7), 1.0, 0.002, 0.03, 0.1}, Timbre::Wood());
    synth.Finish(0.65);
    return synth.Samples();
}

// A set taken away: two bright bell notes a fifth apart.
std::vector<double> Remove()
{
    Synth synth(0.42);
    synth.AddNote({0.0, Pitch(19), 0.8, 0.003, 0.12, 0.25}, Timbre::Bell());
    synth.AddNote({0.07, Pitch(26), 1.0, 0.003, 0.16, 0.35}, Timbre::Bell());
    synth.Finish(0.85);
    return synth.Samples();
}

// A hint that finds a move: a rising sparkle of glass notes.
std::vector<double> HintFound()
{
    Synth synth(0.55);
    const std::array<int, 4> steps{15, 19, 22, 27};
    for (std::size_t i = 0; i < steps.size(); ++i)
        synth.AddNote({0.05 * static_cast<double>(i), Pitch(steps[i]), 0.7 + 0.1 * static_cast<double>(i),
                       0.002, 0.14, 0.55 - 0.05 * static_cast<double>(i)},
                      Timbre::Glass());
    synth.Finish(0.85);
    return synth.Samples();
}

// A move taken back: two soft notes falling, each swelling in like a sound in reverse.
std::vector<double> TakeBack()
{
    Synth synth(0.36);
    synth.AddNote({0.0, Pitch(10), 0.9, 0.04, 0.09, 0.18, -0.4}, Timbre::Bell());
    synth.AddNote({0.12, Pitch(5), 1.0, 0.04, 0.1, 0.24, -0.4}, Timbre::Bell());
    synth.Finish(0.8);
    return synth.Samples();
}

// No move left: a low, gentle "uh-oh" of two falling reed notes.
std::vector<double> NoHint()
{
    Synth synth(0.5);
    synth.AddNote({0.0, Pitch(-12), 1.0, 0.015, 0.12, 0.2, 0.0, 0.006}, Timbre::Reed());
    synth.AddNote({0.19, Pitch(-16), 1.0, 0.015, 0.14, 0.31, -0.05, 0.006}, Timbre::Reed());
    synth.Finish(0.75);
    return synth.Samples();
}

// The board cleared: a rising arpeggio that settles on a ringing major chord.
std::vector<double> Clear()
{
    Synth synth(1.7);
    const std::array<int, 4> arpeggio{3, 7, 10, 15};
    for (std::size_t i = 0; i < arpeggio.size(); ++i)
        synth.AddNote({0.09 * static_cast<double>(i), Pitch(arpeggio[i]), 0.7, 0.003, 0.18, 0.4},
                      Timbre::Bell());
    for (int tone : {3, 7, 10, 15})
        synth.AddNote({0.38, Pitch(tone), 0.55, 0.01, 0.55, 1.32}, Timbre::Bell());
    for (int i = 0; i < 5; ++i)
        synth.AddNote({0.42 + 0.07 * i, Pitch(27 + 2 * (i % 3)), 0.18, 0.002, 0.12, 0.3}, Timbre::Glass());
    synth.Finish(0.85);
    return synth.Samples();
}

} // namespace

std::string SoundEffects::FileName(int index)
{
    return std::to_string(index) + "-" + Names[index] + ".wav";
}

std::vector<SoundEffects::Effect> SoundEffects::Make()
{
    const std::array<std::vector<double> (*)(), Count> recipes{Select,   Remove, HintFound, TakeBack,
                                                               NoHint, Clear,  Deselect};
    std::vector<Effect> effects;
    for (int i = 0; i < Count; ++i)
        effects.push_back({Names[i], BitsOf(i), recipes[i]()});
    return effects;
}

std::vector<std::uint8_t> SoundEffects::WaveImage(const Effect& effect)
{
    return WaveWriter::Encode(effect.samples, Synth::SampleRate, effect.bitsPerSample);
}
