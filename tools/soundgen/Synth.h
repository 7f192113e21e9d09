#pragma once

#include <cstdint>
#include <vector>

// A small additive synthesiser: notes made of a few partials under an
// attack-and-decay envelope, mixed into one mono buffer of samples in [-1, 1].
class Synth {
public:
    static constexpr int SampleRate = 22050;

    struct Partial {
        double ratio;      // frequency as a multiple of the note's
        double amplitude;
        double decayScale; // higher partials die away faster
    };

    struct Note {
        double start;       // seconds
        double frequency;   // Hz
        double amplitude;
        double attack;      // seconds to full level
        double decay;       // seconds for the level to fall to 1/e
        double length;      // seconds until the note is cut (with a short fade)
        double glide = 0;   // frequency change per second, as a fraction
        double vibrato = 0; // depth as a fraction of the frequency, at 6 Hz
    };

    explicit Synth(double seconds);

    void AddNote(const Note& note, const std::vector<Partial>& timbre);
    // Scales the mix so that its loudest sample has the given magnitude, and fades
    // out the last few milliseconds so the sound ends without a click.
    void Finish(double peak);

    const std::vector<double>& Samples() const { return samples_; }

private:
    std::vector<double> samples_;
};

// Timbres used by the effects.
struct Timbre {
    static const std::vector<Synth::Partial>& Wood();
    static const std::vector<Synth::Partial>& Bell();
    static const std::vector<Synth::Partial>& Glass();
    static const std::vector<Synth::Partial>& Reed();
};
