// The test program's main: dates are read in the Europe/Rome time zone (with summer time), set
// before ICU first looks at it, so the tests hold on any machine; preferences and downloads go
// to the test program's temporary folder; pictures decode as in the application.
#include "StandinFixture.h"
#include "core/BackgroundTask.h"
#include "ui/UIImage.h"
#include "ui/sdl/PictureCodec.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <thread>

// Under LeakSanitizer: libcurl 7.88 keeps the name list of CURLOPT_COOKIEFILE "" (one empty
// name per handle that switched its cookie engine on) past curl_easy_reset and
// curl_easy_cleanup, 17 bytes a handle, allocated inside libcurl without symbols.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:curl_slist_append\nleak:libcurl.so.4\n";
}

int main(int argc, char** argv) {
    ::setenv("TZ", "Europe/Rome", 1);
    ::tzset();
    // The person's preferences and downloads: the test program's own folder, never the
    // machine's user's.
    const auto home = vestrino::test::StandinFixture::tempDir();
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    ::setenv("XDG_DOWNLOAD_DIR", (home / "downloads").c_str(), 1);
    // The pictures are decoded by the SDL backend's decoder, as in the application.
    vestrino::ui::UIImage::setDecoder(&vestrino::ui::PictureCodec::decode);
    ::testing::InitGoogleTest(&argc, argv);
    const int code = RUN_ALL_TESTS();
    // A test may end while a background task still runs (the information screen's banner
    // still being fetched and decoded): it finishes before the program's statics go, which it
    // uses (the picture decoder's lock, the main queue). The application itself leaves with
    // _Exit in that case.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (vestrino::BackgroundTask::running() > 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    vestrino::test::StandinFixture::removeTempDir();
    return code;
}
