#include "StandinFixture.h"

#include "app/application/VestrinoAppDelegate.h"
#include "core/RunLoop.h"
#include "net/HttpClient.h"
#include "net/Reachability.h"
#include "net/ReachabilityFlagSource.h"
#include "service/Constants.h"

#include <cstdlib>

namespace vestrino::test {

namespace {
std::shared_ptr<FixedFlagSource>& flagSource() {
    static auto source = std::make_shared<FixedFlagSource>(kReachabilityFlagReachable);
    return source;
}
} // namespace

namespace {
// The test program's folder, made on first use and removed at its end (it holds the stand-in's
// private key and the card files of the tests).
std::optional<std::filesystem::path>& madeTempDir() {
    static std::optional<std::filesystem::path> dir;
    return dir;
}
} // namespace

std::filesystem::path StandinFixture::tempDir() {
    auto& dir = madeTempDir();
    if (!dir) {
        std::string pattern = (std::filesystem::temp_directory_path() / "vestrino-test-XXXXXX");
        if (!::mkdtemp(pattern.data())) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        dir = pattern;
    }
    return *dir;
}

void StandinFixture::removeTempDir() {
    auto& dir = madeTempDir();
    if (dir) {
        std::error_code ec;
        std::filesystem::remove_all(*dir, ec);
        dir.reset();
    }
}

lumacard::StandinServer& StandinFixture::server() {
    static std::unique_ptr<lumacard::StandinServer> server = [] {
        std::string error;
        auto data = lumacard::DemoData::load(
            std::filesystem::path(VESTRINO_SOURCE_DIR) / "standin/data/demo.json", error);
        if (!data) {
            throw std::runtime_error(error);
        }
        lumacard::StandinServer::Options options;
        options.tlsDir = tempDir() / "tls";
        options.data = std::move(*data);
        auto s = std::make_unique<lumacard::StandinServer>(std::move(options));
        if (!s->start(error)) {
            throw std::runtime_error(error);
        }
        return s;
    }();
    return *server;
}

void StandinFixture::SetUp() {
    auto& s = server();
    s.knobs().clearFaults();
    s.knobs().clearCounts();
    s.sessions().expireAll();
    s.sessions().setIdleLimit(std::chrono::minutes(10));
    setServiceHost(s.hostAndPort());
    HttpClient::shared().setCaFile(s.caFile().string());
    HttpClient::shared().setMaxReplyBytes(HttpClient::kDefaultMaxReplyBytes);
    HttpClient::shared().cookies().clear();
    HttpClient::shared().closeConnections();
    RunLoop::main().adoptCurrentThread();
    RunLoop::main().reset();
    flagSource()->set(kReachabilityFlagReachable);
    ReachabilityFlagSource::setSystem(flagSource());
    auto delegate = VestrinoAppDelegate::install();
    delegate->setDocumentsDirectory(
        tempDir() / ::testing::UnitTest::GetInstance()->current_test_info()->name());
    delegate->setHostReach(Reachability::reachabilityForInternetConnection());
}

void StandinFixture::TearDown() {
    server().knobs().clearFaults();
}

void StandinFixture::setReachabilityFlags(std::optional<unsigned> flags) {
    flagSource()->set(flags);
}

} // namespace vestrino::test
