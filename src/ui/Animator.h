#pragma once

#include "core/Clock.h"
#include "ui/Geometry.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vestrino::ui {

class View;

struct AnimationOptions {
    double duration = 0.2;
    double delay = 0;
    // Start from what is on screen now rather than from the old model value.
    bool beginFromCurrentState = false;
    std::string name{};
};

// View animations: inside animate(), a change of a view's frame or alpha sets the model value at
// once and moves the presentation value towards it frame by frame (ease in, ease out). A
// completion runs after the frame in which the last of its changes ended, with `finished`
// false when one of them was replaced by a later animation or change of the same property.
class Animator {
public:
    using Completion = std::function<void(bool finished)>;

    static Animator& shared();

    void animate(const AnimationOptions& options, const std::function<void()>& changes,
                 Completion completion = {});

    // Called by the views' setters.
    bool inAnimationBlock() const { return !blocks_.empty(); }
    void frameChanged(View& view, const Rect& from, const Rect& to);
    void alphaChanged(View& view, double from, double to);
    // A change outside an animation: the property's running animation ends, not finished.
    void propertySetDirectly(View& view, bool frame);
    void forget(View& view);

    // Moves the presentation values to `now`; true while anything still moves.
    bool tick(TimePoint now);
    bool animating() const { return !running_.empty(); }
    // The names of the animations in flight (snapshots, tests).
    std::vector<std::string> runningNames() const;
    void reset();

private:
    struct Group {
        Completion completion;
        std::string name{};
        int remaining = 0;
        bool finished = true;
        bool done = false;
    };
    struct Block {
        AnimationOptions options;
        std::shared_ptr<Group> group;
        TimePoint start;
    };
    struct Running {
        View* view;
        bool frame; // else alpha
        Rect fromFrame, toFrame;
        double fromAlpha = 0, toAlpha = 0;
        TimePoint start;
        Duration duration;
        std::shared_ptr<Group> group;
    };
    void add(Running running);
    // Ends, not finished, the animations in flight that `which` picks.
    void removeRunning(const std::function<bool(const Running&)>& which);
    void endGroupMember(const std::shared_ptr<Group>& group, bool finished);

    std::vector<Block> blocks_;
    std::vector<Running> running_;
    std::vector<std::shared_ptr<Group>> finishedGroups_;
};

} // namespace vestrino::ui
