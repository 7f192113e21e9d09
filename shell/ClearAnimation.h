#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

// The pacing of the clear animation: the frames up to the standing figure, a
// pause while it stands, then the rest, each at about 60 a second. A timer
// drives it, so the window keeps handling its events meanwhile.
class ClearAnimation : public QObject {
    Q_OBJECT

public:
    static constexpr int32_t kLastStandingFrame = 57;
    static constexpr int32_t kLastFrame = 113;
    static constexpr int64_t kStandingWaitUs = 800'000;
    static constexpr int64_t kFrameIntervalUs = 1'000'000 / 60;

    // paintFrame draws frame number n; an error in it ends the animation.
    explicit ClearAnimation(std::function<void(int32_t)> paintFrame);

    void Start();
    bool Running() const { return running; }

signals:
    // The last frame has had its time on screen, or a frame failed.
    void Finished();

private:
    void Step();
    void Stop();

    std::function<void(int32_t)> paintFrame;
    QTimer timer;
    QElapsedTimer clock;
    int64_t dueUs = 0;
    int32_t next = 0;
    bool running = false;
};
