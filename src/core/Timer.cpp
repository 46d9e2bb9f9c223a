#include "core/Timer.h"

#include "core/RunLoop.h"

namespace vestrino {

Timer::Timer(Duration interval, bool repeats, Action action, TimePoint fireDate)
    : interval_(interval), repeats_(repeats), action_(std::move(action)), fireDate_(fireDate) {}

std::shared_ptr<Timer> Timer::scheduledTimer(RunLoop& loop, Duration interval, bool repeats,
                                             Action action) {
    auto timer = std::make_shared<Timer>(interval, repeats, std::move(action),
                                         loop.clock().now() + interval);
    loop.addTimer(timer);
    return timer;
}

void Timer::fire(TimePoint now) {
    if (!valid_) {
        return;
    }
    if (repeats_) {
        // The next date keeps the rhythm; dates missed while the loop was busy are skipped.
        const Duration step = interval_.count() > 0 ? interval_ : Duration(1);
        do {
            fireDate_ += step;
        } while (fireDate_ <= now);
    } else {
        valid_ = false;
    }
    auto keepAlive = shared_from_this();
    action_(*this);
}

} // namespace vestrino
