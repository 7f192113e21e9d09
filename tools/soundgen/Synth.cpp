#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double FadeSeconds = 0.006;

double Envelope(double t, double attack, double decay)
{
    const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    return rise * std::exp(-t / decay);
}

} // namespace

Synth::Synth(double seconds)
    : samples_(static_cast<std::size_t>(std::lround(seconds * SampleRate / 2)) * 2, 0.0)
{
}

void Synth::AddNote(const Note& note, const std::vector<Partial>& timbre)
{
    const auto first = static_cast<std::size_t>(std::lround(note.start * SampleRate));
    const auto count = static_cast<std::size_t>(std::lround(note.length * SampleRate));
    std::vector<double> phases(timbre.size(), 0.0);
    for (std::size_t i = 0; i < count && first + i < samples_.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double bend = (1 + note.glide * t)
                            * (1 + note.vibrato * std::sin(2 * std::numbers::pi * 6 * t));
        const double cut = std::min(1.0, (note.length - t) / FadeSeconds);
        double value = 0;
        for (std::size_t k = 0; k < timbre.size(); ++k) {
            const Partial& partial = timbre[k];
            phases[k] += 2 * std::numbers::pi * note.frequency * partial.ratio * bend / SampleRate;
            value += partial.amplitude * std::sin(phases[k])
                     * Envelope(t, note.attack, note.decay / partial.decayScale);
        }
        samples_[first + i] += note.amplitude * value * cut;
    }
}

void Synth::Finish(double peak)
{
    double loudest = 0;
    for (double sample : samples_)
        loudest = std::max(loudest, std::abs(sample));
    const double gain = loudest > 0 ? peak / loudest : 0;
    const auto fade = static_cast<std::size_t>(FadeSeconds * SampleRate);
    for (std::size_t i = 0; i < samples_.size(); ++i) {
        const std::size_t fromEnd = samples_.size() - i;
        const double tail = fromEnd < fade ? static_cast<double>(fromEnd) / fade : 1.0;
        samples_[i] *= gain * tail;
    }
}

const std::vector<Synth::Partial>& Timbre::Wood()
{
    static const std::vector<Synth::Partial> partials{{1.0, 1.0, 1.0}, {3.93, 0.28, 2.5}, {9.7, 0.06, 5.0}};
    return partials;
}

const std::vector<Synth::Partial>& Timbre::Bell()
{
    static const std::vector<Synth::Partial> partials{
        {1.0, 1.0, 1.0}, {2.0, 0.45, 1.4}, {3.01, 0.22, 2.0}, {4.17, 0.1, 3.0}};
    return partials;
}

const std::vector<Synth::Partial>& Timbre::Glass()
{
    static const std::vector<Synth::Partial> partials{{1.0, 1.0, 1.0}, {2.76, 0.3, 1.8}, {5.4, 0.1, 3.0}};
    return partials;
}

const std::vector<Synth::Partial>& Timbre::Reed()
{
    static const std::vector<Synth::Partial> partials{
        {1.0, 1.0, 1.0}, {2.0, 0.35, 1.2}, {3.0, 0.3, 1.3}, {5.0, 0.12, 1.6}};
    return partials;
}
