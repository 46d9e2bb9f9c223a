#pragma once

#include "StandinServer.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace vestrino::test {

// The stand-in service, started once for the test program on a free port of 127.0.0.1 with
// the demo data, and the process set up to talk to it: service host, trusted CA, an
// application delegate whose monitor reads fixed flags (reachable unless a test says not).
class StandinFixture : public ::testing::Test {
public:
    // The test program's temporary folder (card files, snapshots, the stand-in's TLS files).
    static std::filesystem::path tempDir();
    // Removes it, at the program's end.
    static void removeTempDir();

protected:
    void SetUp() override;
    void TearDown() override;

    static lumacard::StandinServer& server();
    // Changes what the application's monitor reads.
    void setReachabilityFlags(std::optional<unsigned> flags);
};

} // namespace vestrino::test
