#include "BenchApp.h"

#include "app/application/AppViewClasses.h"
#include "app/cashmachines/Capoluoghi.h"
#include "core/BackgroundTask.h"
#include "core/RunLoop.h"
#include "net/ReachabilityFlagSource.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"
#include "ui/LayoutLoader.h"
#include "ui/UIImage.h"
#include "ui/sdl/PictureCodec.h"

#include <fstream>
#include <unistd.h>

namespace vestrino::bench {

BenchApp::BenchApp() {
    ReachabilityFlagSource::setSystem(std::make_shared<FixedFlagSource>(2));
    const std::filesystem::path resources = std::string(VESTRINO_SOURCE_DIR) + "/resources";
    ui::UIImage::setResourceFolder(resources / "images");
    ui::UIImage::setDecoder(&ui::PictureCodec::decode);
    ui::LayoutLoader::setLayoutFolder(resources / "layouts");
    Capoluoghi::setDataFolder(resources / "data");
    registerAppViewClasses();
    RunLoop::main().adoptCurrentThread();
    clock_ = std::make_shared<VirtualClock>();
    RunLoop::main().setClock(clock_);
    delegate_ = VestrinoAppDelegate::install();
    delegate_->setDocumentsDirectory(std::filesystem::temp_directory_path() /
                                     "vestrino-bench-docs");
    window_ = std::make_shared<ui::Window>();
    delegate_->applicationDidFinishLaunching(window_);
    screen_ = std::make_unique<ui::HeadlessScreen>(window_);
    frames(120); // past the splash
}

bool BenchApp::login(const std::string& user, const std::string& password) {
    std::optional<std::string> message;
    if (RemoteServiceUtil::login(user, password, message) != SUCCESS) {
        return false;
    }
    delegate_->setLoggedIn(true);
    return true;
}

void BenchApp::frame() {
    clock_->advance(seconds(1.0 / 60));
    screen_->tick(clock_->now());
}

void BenchApp::frames(int n) {
    for (int i = 0; i < n; ++i) {
        frame();
    }
}

void BenchApp::waitForContinuation() {
    while (BackgroundTask::running() > 0 || RunLoop::main().queue().empty()) {
        RunLoop::main().queue().waitForWork(std::chrono::steady_clock::now() +
                                            std::chrono::milliseconds(5));
        if (BackgroundTask::running() == 0 && !RunLoop::main().queue().empty()) {
            break;
        }
    }
}

void BenchApp::idle() {
    while (BackgroundTask::running() > 0 || !RunLoop::main().queue().empty()) {
        RunLoop::main().queue().waitForWork(std::chrono::steady_clock::now() +
                                            std::chrono::milliseconds(5));
        frame();
    }
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

} // namespace vestrino::bench
