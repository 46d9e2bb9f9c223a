#pragma once

#include <filesystem>
#include <memory>

namespace vestrino {

class DictCache;
class Reachability;

// What the lower layers ask of the application's shared state, through the shared
// application's delegate: the session cache, the internet reachability monitor and the
// documents directory. The application delegate implements it.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual DictCache& dictCache() = 0;
    virtual std::shared_ptr<Reachability> hostReach() const = 0;
    virtual std::filesystem::path applicationDocumentsDirectory() const = 0;
};

} // namespace vestrino
