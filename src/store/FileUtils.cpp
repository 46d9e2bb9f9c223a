#include "store/FileUtils.h"

#include "store/WriteGate.h"

#include "core/Application.h"
#include "core/FileDescriptor.h"
#include "core/Paths.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vestrino {

namespace fs = std::filesystem;

bool FileUtils::removeFolderAtPath(const fs::path& path) {
    std::error_code ec;
    return fs::remove_all(path, ec) > 0 && !ec;
}

bool FileUtils::removeAllFilesInFolder(const fs::path& path) {
    removeFolderAtPath(path);
    return createDirectoryIfNotExists(path);
}

bool FileUtils::removeFileIfExist(const fs::path& path) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec)) || fs::is_directory(path, ec)) {
        return false;
    }
    return fs::remove(path, ec) && !ec;
}

bool FileUtils::saveData(std::string_view bytes, const fs::path& path) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(path, ec)) && !fs::remove(path, ec)) {
        return false;
    }
    return writeAtomically(bytes, path);
}

bool FileUtils::fileExistsAtPath(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

bool FileUtils::createDirectoryIfNotExists(const fs::path& path) {
    std::error_code ec;
    if (fs::exists(path, ec)) {
        return fs::is_directory(path, ec);
    }
    return createPrivateDirectories(path);
}

fs::path FileUtils::applicationDocumentsDirectory() {
    if (const auto delegate = Application::sharedApplication().delegate()) {
        return delegate->applicationDocumentsDirectory();
    }
    return defaultDocumentsDirectory();
}

fs::path FileUtils::getLocalUpdateFilePath() {
    return applicationDocumentsDirectory() / "epg.xml";
}

namespace {

constexpr std::string_view kTemporarySuffix = "XXXXXX";

fs::path temporaryPattern(const fs::path& path) {
    return path.parent_path() /
           ("." + path.filename().string() + "." + std::string(kTemporarySuffix));
}

// Whether `name` is a temporary file of a write of `target` (".TARGET.XXXXXX").
bool isTemporaryOf(const std::string& name, const std::string& target) {
    return name.size() == target.size() + 2 + kTemporarySuffix.size() && name[0] == '.' &&
           name.compare(1, target.size(), target) == 0 && name[target.size() + 1] == '.';
}

// Removes the file when no writer holds it. The name is checked to be the same file after the
// lock is taken: a writer may have renamed it into place meanwhile.
bool removeIfStale(const fs::path& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!fd.valid() || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        return false;
    }
    struct stat held {
    }, named{};
    if (::fstat(fd.get(), &held) != 0 || ::lstat(path.c_str(), &named) != 0 ||
        held.st_dev != named.st_dev || held.st_ino != named.st_ino || !S_ISREG(held.st_mode)) {
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

// Makes the temporary file for a write of `path` and takes its lock. A cleaner may remove a
// just-made file before the lock is taken; then the file is made again.
FileDescriptor makeLockedTemporary(const fs::path& path, std::string& temp) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        temp = temporaryPattern(path).string();
        FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
        if (!fd.valid()) {
            return fd;
        }
        struct stat st {};
        if (::flock(fd.get(), LOCK_EX) == 0 && ::fstat(fd.get(), &st) == 0 && st.st_nlink > 0) {
            return fd;
        }
    }
    return FileDescriptor();
}

} // namespace

bool FileUtils::writeAtomically(std::string_view bytes, const fs::path& path) {
    // A program that is quitting starts no new write and waits for this one to end.
    const auto pass = WriteGate::enter();
    if (!pass) {
        return false;
    }
    removeStaleTemporaryFiles(path);
    std::string temp;
    FileDescriptor fd = makeLockedTemporary(path, temp);
    if (!fd.valid()) {
        return false;
    }
    bool ok = ::fchmod(fd.get(), 0600) == 0;
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (ok && left > 0) {
        const ssize_t n = ::write(fd.get(), p, left);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = n > 0;
        if (ok) {
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    ok = ok && ::fsync(fd.get()) == 0;
    // Renamed while the lock is held, so that no cleaner takes it for a left-over.
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    fd.reset();
    // The rename itself survives a crash only once the folder is synced.
    FileDescriptor dir(::open(path.parent_path().empty() ? "." : path.parent_path().c_str(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) {
        ::fsync(dir.get());
    }
    return true;
}

std::size_t FileUtils::removeStaleTemporaryFiles(const fs::path& path) {
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    const std::string target = path.filename().string();
    std::size_t removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (isTemporaryOf(it->path().filename().string(), target) && removeIfStale(it->path())) {
            ++removed;
        }
    }
    return removed;
}

std::size_t FileUtils::removeStaleTemporaryFilesInFolder(const fs::path& folder) {
    std::size_t removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= 2 + kTemporarySuffix.size()) {
            continue;
        }
        const std::string target = name.substr(1, name.size() - 2 - kTemporarySuffix.size());
        const bool cardFile =
            target == "carte.plist" || (target.size() > 11 && target.ends_with("_listaCarte"));
        if (cardFile && isTemporaryOf(name, target) && removeIfStale(it->path())) {
            ++removed;
        }
    }
    return removed;
}

FileUtils::Contents FileUtils::readContents(const fs::path& path, std::size_t maxBytes) {
    // No link is followed and opening never waits (a FIFO with no writer would); what was
    // opened is then looked at before a byte is read.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!fd.valid()) {
        const int error = errno;
        // A link (not followed), a socket or a device with nothing behind it cannot be opened:
        // none is a file.
        if (error == ELOOP || error == ENXIO) {
            return {std::nullopt, error, Contents::Refused::NotRegularFile};
        }
        return {std::nullopt, error};
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        return {std::nullopt, errno};
    }
    if (S_ISDIR(st.st_mode)) {
        return {std::nullopt, EISDIR}; // as reading it would say: it may hold someone's files
    }
    if (!S_ISREG(st.st_mode)) {
        return {std::nullopt, 0, Contents::Refused::NotRegularFile};
    }
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        return {std::nullopt, 0, Contents::Refused::TooLarge};
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    std::array<char, 65536> chunk{};
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return {std::nullopt, errno};
        }
        if (n == 0) {
            return {std::move(bytes), 0};
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(n));
        if (bytes.size() > maxBytes) { // it grew while being read
            return {std::nullopt, 0, Contents::Refused::TooLarge};
        }
    }
}

std::optional<std::string> FileUtils::readFile(const fs::path& path, std::size_t maxBytes) {
    return readContents(path, maxBytes).bytes;
}

std::string FileUtils::Contents::why() const {
    switch (refused) {
    case Refused::NotRegularFile:
        return "not a regular file";
    case Refused::TooLarge:
        return "too large";
    case Refused::No:
        break;
    }
    return bytes ? std::string("read") : std::string(std::strerror(error));
}

} // namespace vestrino
