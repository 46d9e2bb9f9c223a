#pragma once

#include "core/ApplicationDelegate.h"

#include <memory>
#include <mutex>

namespace vestrino {

// The shared application object: holds the application delegate, the one owner of shared
// state, for every part of the program to reach.
class Application {
public:
    static Application& sharedApplication();

    std::shared_ptr<ApplicationDelegate> delegate() const;
    void setDelegate(std::shared_ptr<ApplicationDelegate> delegate);

private:
    Application();

    mutable std::mutex mutex_;
    std::shared_ptr<ApplicationDelegate> delegate_;
};

} // namespace vestrino
