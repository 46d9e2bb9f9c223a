#pragma once

#include "StandinServer.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace vestrino::test {

// The stand-in service, started once for the test program on a free port of 127.0.0.1 with
// the demo data, and the process set up to talk to it: service host, trusted CA, an
// application delegate whose monitor reads fixed flags (reachable unless a test says not).
class StandinFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static lumacard::StandinServer& server();
    static std::filesystem::path tempDir();
    // Changes what the application's monitor reads.
    void setReachabilityFlags(std::optional<unsigned> flags);
};

} // namespace vestrino::test
