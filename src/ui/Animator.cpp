#include "ui/Animator.h"

#include "core/RunLoop.h"
#include "ui/View.h"

#include <algorithm>

namespace vestrino::ui {

namespace {
double easeInOut(double t) {
    return t * t * (3 - 2 * t);
}
} // namespace

Animator& Animator::shared() {
    static Animator animator;
    return animator;
}

void Animator::animate(const AnimationOptions& options, const std::function<void()>& changes,
                       Completion completion) {
    auto group = std::make_shared<Group>();
    group->completion = std::move(completion);
    group->name = options.name;
    const TimePoint now = RunLoop::main().clock().now();
    blocks_.push_back({options, group, now + seconds(options.delay)});
    changes();
    blocks_.pop_back();
    if (group->remaining == 0) {
        // Nothing to animate: the completion still runs, after the frame, finished.
        group->done = true;
        finishedGroups_.push_back(group);
    }
}

void Animator::removeRunning(const std::function<bool(const Running&)>& which) {
    for (auto it = running_.begin(); it != running_.end();) {
        if (which(*it)) {
            auto group = it->group;
            it = running_.erase(it);
            endGroupMember(group, false);
        } else {
            ++it;
        }
    }
}

void Animator::add(Running running) {
    // A new animation of the same property replaces the one in flight.
    removeRunning(
        [&](const Running& r) { return r.view == running.view && r.frame == running.frame; });
    ++running.group->remaining;
    running_.push_back(std::move(running));
}

void Animator::frameChanged(View& view, const Rect& from, const Rect& to) {
    const Block& b = blocks_.back();
    Running r{&view,
              true,
              b.options.beginFromCurrentState ? view.presentationFrame() : from,
              to,
              0,
              0,
              b.start,
              seconds(b.options.duration),
              b.group};
    view.setPresentationFrame(r.fromFrame);
    add(std::move(r));
}

void Animator::alphaChanged(View& view, double from, double to) {
    const Block& b = blocks_.back();
    Running r{&view,
              false,
              {},
              {},
              b.options.beginFromCurrentState ? view.presentationAlpha() : from,
              to,
              b.start,
              seconds(b.options.duration),
              b.group};
    view.setPresentationAlpha(r.fromAlpha);
    add(std::move(r));
}

void Animator::propertySetDirectly(View& view, bool frame) {
    removeRunning([&](const Running& r) { return r.view == &view && r.frame == frame; });
}

void Animator::forget(View& view) {
    removeRunning([&](const Running& r) { return r.view == &view; });
}

void Animator::endGroupMember(const std::shared_ptr<Group>& group, bool finished) {
    group->finished = group->finished && finished;
    if (--group->remaining == 0 && !group->done) {
        group->done = true;
        finishedGroups_.push_back(group);
    }
}

bool Animator::tick(TimePoint now) {
    std::vector<Running> ended;
    for (auto it = running_.begin(); it != running_.end();) {
        const double elapsed = std::chrono::duration<double>(now - it->start).count();
        const double total = std::chrono::duration<double>(it->duration).count();
        // Within a microsecond of the end counts as the end: frame times are whole nanoseconds.
        const double t =
            elapsed <= 0 ? 0 : (total - elapsed < 1e-6 ? 1 : std::min(1.0, elapsed / total));
        const double e = easeInOut(t);
        if (it->frame) {
            it->view->setPresentationFrame(lerp(it->fromFrame, it->toFrame, e));
        } else {
            it->view->setPresentationAlpha(lerp(it->fromAlpha, it->toAlpha, e));
        }
        if (t >= 1) {
            ended.push_back(*it);
            it = running_.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& r : ended) {
        endGroupMember(r.group, true);
    }
    // Completions run after the frame, from a copy: they start new animations.
    auto groups = std::move(finishedGroups_);
    finishedGroups_.clear();
    for (const auto& g : groups) {
        if (g->completion) {
            g->completion(g->finished);
        }
    }
    return !running_.empty() || !finishedGroups_.empty();
}

std::vector<std::string> Animator::runningNames() const {
    std::vector<std::string> names;
    for (const auto& r : running_) {
        if (!r.group->name.empty() &&
            std::find(names.begin(), names.end(), r.group->name) == names.end()) {
            names.push_back(r.group->name);
        }
    }
    return names;
}

void Animator::reset() {
    running_.clear();
    finishedGroups_.clear();
    blocks_.clear();
}

} // namespace vestrino::ui
