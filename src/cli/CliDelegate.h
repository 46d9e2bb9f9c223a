#pragma once

#include "core/ApplicationDelegate.h"
#include "core/DictCache.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

namespace vestrino {

// The terminal client's application delegate: the shared state the service and store layers
// ask for (session cache, reachability monitor, documents folder), without the application's
// screens.
class CliDelegate final : public ApplicationDelegate {
public:
    // Made and set as the shared application's delegate; the documents folder is the given one
    // or the user's default.
    static std::shared_ptr<CliDelegate> install(std::optional<std::filesystem::path> documents);

    DictCache& dictCache() override { return cache_; }
    std::shared_ptr<Reachability> hostReach() const override;
    // Created (0700) when missing.
    std::filesystem::path applicationDocumentsDirectory() const override;

    void setHostReach(std::shared_ptr<Reachability> monitor);

private:
    mutable std::mutex mutex_;
    DictCache cache_;
    std::shared_ptr<Reachability> hostReach_;
    std::filesystem::path documents_;
};

} // namespace vestrino
