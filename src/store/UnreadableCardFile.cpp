#include "store/UnreadableCardFile.h"

#include "core/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

namespace vestrino {

namespace fs = std::filesystem;

namespace {
std::string utcStamp(std::chrono::system_clock::time_point now) {
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}
} // namespace

std::optional<fs::path> UnreadableCardFile::keepAside(const fs::path& file,
                                                      std::chrono::system_clock::time_point now) {
    const std::string base = file.string() + kInfix + utcStamp(now);
    for (int n = 1; n < 1000; ++n) {
        const fs::path aside = n == 1 ? fs::path(base) : fs::path(base + "-" + std::to_string(n));
        // Never over another file kept aside.
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
            // Only the owner may read what was kept aside: the file itself, never what a link
            // at its name points to (a chmod by path would follow it out of the folder).
            FileDescriptor kept(
                ::open(aside.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
            struct stat st {};
            if (kept.valid() && ::fstat(kept.get(), &st) == 0 && S_ISREG(st.st_mode)) {
                ::fchmod(kept.get(), 0600);
            }
            FileDescriptor dir(::open(file.parent_path().empty() ? "." : file.parent_path().c_str(),
                                      O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (dir.valid()) {
                ::fsync(dir.get());
            }
            return aside;
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::vector<fs::path> UnreadableCardFile::keptAside(const fs::path& file) {
    std::vector<fs::path> found;
    const std::string prefix = file.filename().string() + kInfix;
    std::error_code ec;
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().filename().string().starts_with(prefix)) {
            found.push_back(it->path());
        }
    }
    // The UTC stamp sorts by time; "-2" after the stamp alone.
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace vestrino
