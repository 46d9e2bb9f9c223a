#include "store/FileUtils.h"

#include "core/Application.h"
#include "core/FileDescriptor.h"
#include "core/Paths.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
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
    return fs::create_directories(path, ec) && !ec;
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

bool FileUtils::writeAtomically(std::string_view bytes, const fs::path& path) {
    std::string temp = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
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
    fd.reset();
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself survives a crash only once the folder is synced.
    FileDescriptor dir(::open(path.parent_path().empty() ? "." : path.parent_path().c_str(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) {
        ::fsync(dir.get());
    }
    return true;
}

std::optional<std::string> FileUtils::readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace vestrino
