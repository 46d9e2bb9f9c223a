#include "AppFixture.h"
#include "store/CardList.h"
#include "store/UnreadableCardFile.h"
#include "ui/UiTestSupport.h"

#include <fcntl.h>
#include <fstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vestrino::test {

namespace fs = std::filesystem;

namespace {

// What may be found at a file's name instead of the file written there.
enum class Kind { Fifo, Folder, LinkInside, LinkOutside, Socket, TooLarge };

const char* name(Kind k) {
    constexpr const char* kNames[] = {"Fifo",        "Folder", "LinkInside",
                                      "LinkOutside", "Socket", "TooLarge"};
    return kNames[static_cast<int>(k)];
}

// Puts a thing of that kind at `path`; a link out of the folder points at `outside` (a file of
// someone else's, readable by all).
void make(Kind kind, const fs::path& path, const fs::path& outside, std::size_t tooLarge) {
    switch (kind) {
    case Kind::Fifo:
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        break;
    case Kind::Folder:
        fs::create_directory(path);
        std::ofstream(path / "dentro") << "x";
        break;
    case Kind::LinkInside: {
        const fs::path target = path.parent_path() / "altro-file";
        std::ofstream(target) << "non è un file di carte";
        fs::create_symlink(target.filename(), path);
        break;
    }
    case Kind::LinkOutside:
        fs::create_symlink(outside, path);
        break;
    case Kind::Socket: {
        const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        ASSERT_LT(path.string().size(), sizeof address.sun_path);
        std::strcpy(address.sun_path, path.c_str());
        ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(s);
        break;
    }
    case Kind::TooLarge:
        std::ofstream(path).close();
        fs::resize_file(path, tooLarge + 1); // sparse: no disk used
        break;
    }
}

} // namespace

class HostileFilesTest : public AppFixture, public ::testing::WithParamInterface<Kind> {
protected:
    fs::path outsideFile() {
        const fs::path folder = tempDir() / (std::string("altrove-") + name(GetParam()));
        fs::create_directories(folder);
        const fs::path file = folder / "di-qualcun-altro.txt";
        std::ofstream(file) << "non toccare";
        fs::permissions(file, fs::perms(0644));
        return file;
    }
};

// Whatever is at the card file's name, the wallet loads (the login's worker is not held by a
// FIFO), the person is told the stored cards cannot be read, the thing is set aside within the
// folder (a folder stays), and nothing outside the folder changes.
TEST_P(HostileFilesTest, ACardFileThatIsNoFileIsSetAsideAndTold) {
    const auto path = RemoteServiceUtil::cardFilePath("mario.rossi");
    const auto outside = outsideFile();
    make(GetParam(), path, outside, CardList::kMaxFileBytes);
    toWallet();
    EXPECT_EQ(state()["visible"], "CarteViewController");
    const auto aside = UnreadableCardFile::keptAside(path);
    if (GetParam() == Kind::Folder) {
        // A folder may hold someone's files: it is left where it is, as a file that cannot be
        // read just now.
        EXPECT_EQ(alertShown(), "Attenzione | Le carte salvate sul dispositivo non si possono "
                                "leggere in questo momento. Riprova più tardi. | OK");
        EXPECT_TRUE(aside.empty());
        EXPECT_TRUE(fs::is_regular_file(path / "dentro"));
    } else {
        EXPECT_EQ(alertShown(), "Attenzione | Le carte salvate sul dispositivo non si possono "
                                "leggere: il file è stato messo da parte. Le carte anonime "
                                "andranno aggiunte di nuovo. | OK");
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(aside[0].parent_path(), path.parent_path());
        // The thing itself was moved, not what a link points to.
        EXPECT_EQ(fs::symlink_status(aside[0]).type() == fs::file_type::symlink,
                  GetParam() == Kind::LinkInside || GetParam() == Kind::LinkOutside);
    }
    tapTitled("OK");
    run("wait 0.6");
    // The file a link pointed to is as it was: its mode and its bytes.
    EXPECT_EQ(fs::status(outside).permissions() & fs::perms::all, fs::perms(0644));
    std::ifstream in(outside);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "non toccare");
    // What the service has still shows: its three cards and the add page.
    EXPECT_EQ((*find(state()["window"], "name", "pageControl"))["children"].size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileFilesTest,
                         ::testing::Values(Kind::Fifo, Kind::Folder, Kind::LinkInside,
                                           Kind::LinkOutside, Kind::Socket, Kind::TooLarge),
                         [](const auto& info) { return std::string(name(info.param)); });

// The preferences: whatever is at their name, reading gives the defaults at once and leaves it
// as it was; a radius is one of 1, 5 and 20 as written, nothing narrowed into one.
TEST(PreferencesFile, OddFilesGiveTheDefaultsAndStayAsTheyWere) {
    const fs::path folder = StandinFixture::tempDir() / "preferenze-ostili";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path outside = folder / "fuori.json";
    std::ofstream(outside) << R"({"nascondiImporti": true, "lumaspotRaggioKm": 20})";
    fs::permissions(outside, fs::perms(0644));
    for (const Kind kind :
         {Kind::Fifo, Kind::Folder, Kind::LinkOutside, Kind::Socket, Kind::TooLarge}) {
        SCOPED_TRACE(name(kind));
        const fs::path file = folder / (std::string(name(kind)) + ".json");
        make(kind, file, outside, Preferences::kMaxFileBytes);
        const auto before = fs::symlink_status(file).type();
        Preferences prefs(file); // reads at once: a FIFO would block here
        EXPECT_FALSE(prefs.nascondiImporti());
        EXPECT_EQ(prefs.lumaspotRaggioKm(), Preferences::kDefaultRaggioKm);
        EXPECT_EQ(fs::symlink_status(file).type(), before);
        EXPECT_EQ(fs::status(outside).permissions() & fs::perms::all, fs::perms(0644));
    }
    // A number the file holds counts only when it is one of the choices, compared as written:
    // "written=read" for each key.
    const std::pair<const char*, const char*> choices[] = {
        {"lumaspotRaggioKm", "1=1 5=5 20=20 4294967297=5 4294967301=5 -1=5 18446744073709551617=5 "
                             "20.0=5 \"20\"=5 2=5"},
        {"bloccoMinuti", "0=0 1=1 15=15 4294967297=5 -1=5 2=5 1.0=5 null=5"},
    };
    for (const auto& [key, cases] : choices) {
        for (const auto& c : words(cases)) {
            const std::string written = c.substr(0, c.rfind('='));
            const fs::path file = folder / "scelta.json";
            std::ofstream(file) << "{\"" << key << "\": " << written << "}";
            const Preferences prefs(file);
            EXPECT_EQ(std::to_string(std::string_view(key) == "bloccoMinuti"
                                         ? prefs.bloccoMinuti()
                                         : prefs.lumaspotRaggioKm()),
                      c.substr(c.rfind('=') + 1))
                << key << " " << written;
        }
    }
}

} // namespace vestrino::test
