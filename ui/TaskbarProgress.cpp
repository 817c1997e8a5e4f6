#include "ui/TaskbarProgress.h"

#include <algorithm>

#include "ui/Control.h"

namespace tovik::ui {

void TaskbarProgress::show(ProgressState state, long long done, long long total) {
    int value = 0;
    if (state != ProgressState::None && total > 0)
        value = static_cast<int>(std::clamp(done, 0LL, total) * steps / total);
    if (state == state_ && value == value_) return;
    state_ = state;
    value_ = value;
    if (peer_) peer_->progressChanged();
}

void TaskbarProgress::showGauge(ProgressState state, const Gauge& gauge) {
    show(state, static_cast<long long>(gauge.progress()) - gauge.minValue(),
         static_cast<long long>(gauge.maxValue()) - gauge.minValue());
}

}  // namespace tovik::ui
