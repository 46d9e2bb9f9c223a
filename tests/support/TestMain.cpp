// The test program's main: dates are read in the Europe/Rome time zone (with summer time), set
// before ICU first looks at it, so the tests hold on any machine; preferences and downloads go
// to the test program's temporary folder.
#include "StandinFixture.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

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
    ::testing::InitGoogleTest(&argc, argv);
    const int code = RUN_ALL_TESTS();
    vestrino::test::StandinFixture::removeTempDir();
    return code;
}
