#pragma once

#include "ui/View.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vestrino::ui {
class Window;
}

namespace vestrino::ui::atspi {

// The views assistive technology sees, each under an object path of its own on the
// accessibility bus, below the application's root object.
//
// What is seen: the window and every view with a role that is not hidden nor transparent; a
// view with no role (one that only lays others out) is passed over and its children take its
// place, in subview order. A path names one view for as long as that view lives: a view gone
// and another made at the same address never share a path.
class AccessibleObjects {
public:
    static constexpr std::string_view kRootPath = "/org/a11y/atspi/accessible/root";
    static constexpr std::string_view kPathPrefix = "/org/a11y/atspi/accessible/";

    explicit AccessibleObjects(std::shared_ptr<Window> window);

    Window& window() const { return *window_; }

    // What a path names: the application's root (`root` true), a view that is still there
    // (kept alive while a call works on it), or nothing.
    struct Target {
        bool root = false;
        std::shared_ptr<View> view;
        explicit operator bool() const { return root || view; }
    };
    Target find(std::string_view path);
    std::string pathOf(View& view);

    // The views seen directly under a view (the window's under the root).
    std::vector<View*> children(const View& view) const;
    // The view seen directly above; null when that is the root (the window's case).
    View* parent(const View& view) const;
    // Its place among its parent's children; -1 when it is not among them.
    int indexInParent(const View& view) const;
    // Whether the view is seen at all: in the window, every view on the way shown, with a role.
    bool isSeen(const View& view) const;
    // Forgets the paths of views that are gone.
    void prune();

private:
    static bool shown(const View& view) { return !view.hidden() && view.alpha() > 0; }
    void collectChildren(const View& view, std::vector<View*>& out) const;

    std::shared_ptr<Window> window_;
    struct Entry {
        std::uint64_t id;
        std::weak_ptr<View> view;
    };
    std::unordered_map<const View*, Entry> ids_;
    std::unordered_map<std::uint64_t, std::weak_ptr<View>> views_;
    std::uint64_t nextId_ = 1;
};

} // namespace vestrino::ui::atspi
