#pragma once

namespace tovik::ui {

class Gauge;

// What the progress bar on the program's taskbar button shows.
enum class ProgressState { None, Normal, Paused, Error };

// Mirrors the taskbar progress on screen.
class TaskbarProgressPeer {
public:
    virtual ~TaskbarProgressPeer() = default;
    // The state, the filled steps or both have changed.
    virtual void progressChanged() = 0;
};

// The progress bar on the program's taskbar button. It holds the state and
// how much of the bar is filled, in steps no finer than a taskbar button can
// show; a report that changes neither reaches no peer, so a countdown tick
// costs nothing on screen until the bar visibly moves.
class TaskbarProgress {
public:
    // Steps of a full bar: more than the widest taskbar button has pixels.
    static constexpr int steps = 256;

    ProgressState state() const { return state_; }
    // Filled steps, 0 to `steps`; 0 while the state is None.
    int value() const { return value_; }

    // Shows `done` of `total` (clamped to the bar) in the given state.
    void show(ProgressState state, long long done, long long total);
    // Shows what the gauge's bar shows: its progress within its range.
    void showGauge(ProgressState state, const Gauge& gauge);
    // No progress on the taskbar button.
    void clear() { show(ProgressState::None, 0, 0); }

    void attachPeer(TaskbarProgressPeer* peer) { peer_ = peer; }

private:
    ProgressState state_ = ProgressState::None;
    int value_ = 0;
    TaskbarProgressPeer* peer_ = nullptr;
};

}  // namespace tovik::ui
