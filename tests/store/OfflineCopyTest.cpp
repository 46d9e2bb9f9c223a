#include "store/OfflineCopy.h"
#include "store/OfflineDataCoding.h"
#include "store/UnreadableCardFile.h"

#include "StoreTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vestrino {
namespace {

using test::TempFolder;

const WallTime kFetched = WallTime(std::chrono::milliseconds(1796821500000)); // 09/12/2026

OfflineData sample() {
    OfflineData d;
    d.user = "mario.rossi";
    d.cardsAt = kFetched;
    auto account = std::make_shared<CartaDiPagamento>();
    account->setSerial("4023600012345670");
    account->setDesc("0001234567");
    account->setAlias("Spesa è € <&>");
    auto anonymous = std::make_shared<CartaDiPagamento>();
    anonymous->setSerial("5179123456781117");
    anonymous->setDataAA("28");
    anonymous->setDataMM("07");
    anonymous->setAnonima(true);
    d.carte = {account, anonymous};
    OfflineStatement s;
    s.fetchedAt = kFetched + std::chrono::minutes(3);
    s.saldo.setSaldoDisponibile("1.234,56");
    auto m = std::make_shared<Movimento>();
    m->setDataContabile(Date(std::chrono::milliseconds(1796700000000)));
    m->setAddebiti("12,30");
    m->setDescrizione("SUPERMERCATO ROSSI MILANO");
    m->setTipoMovimento(2);
    s.movimenti = {m};
    d.putStatement(*account, s);
    d.putStatement(*anonymous, s);
    return d;
}

std::string bytesOf(const std::filesystem::path& p) {
    return test::readWhole(p);
}

TEST(OfflineCopy, OpensWholeWithTheRightPasswordOnlyAndHoldsNothingReadable) {
    TempFolder folder;
    const auto path = OfflineCopy::pathFor(folder.path(), "mario.rossi");
    auto key = OfflineCopy::keyFor(path, "lumacard1");
    ASSERT_TRUE(key);
    ASSERT_TRUE(OfflineCopy::write(path, sample(), *key));

    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    const std::string disk = bytesOf(path);
    for (const char* secret : {"4023600012345670", "5179123456781117", "0001234567", "SUPERMERCATO",
                               "lumacard1", "mario.rossi", "1.234,56"}) {
        EXPECT_EQ(disk.find(secret), std::string::npos) << secret << " readable on the disk";
    }

    auto opened = OfflineCopy::open(path, "lumacard1");
    ASSERT_EQ(opened.state, OfflineCopy::State::Opened);
    ASSERT_TRUE(opened.key);
    EXPECT_EQ(OfflineDataCoding::encode(*opened.data), OfflineDataCoding::encode(sample()));
    EXPECT_EQ(opened.data->statement(*sample().carte[1])->movimenti.size(), 1u);

    // A wrong password opens nothing and leaves the copy where it is, untouched.
    for (const char* wrong : {"lumacard2", "", "Lumacard1"}) {
        const auto refused = OfflineCopy::open(path, wrong);
        EXPECT_EQ(refused.state, OfflineCopy::State::WrongPassword) << wrong;
        EXPECT_FALSE(refused.data);
    }
    EXPECT_EQ(bytesOf(path), disk);

    // Every write has a nonce of its own: the same data never gives the same bytes twice.
    ASSERT_TRUE(OfflineCopy::write(path, sample(), *opened.key));
    EXPECT_NE(bytesOf(path), disk);
    EXPECT_EQ(OfflineCopy::open(path, "lumacard1").state, OfflineCopy::State::Opened);

    EXPECT_TRUE(OfflineCopy::forget(path));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(OfflineCopy::open(path, "lumacard1").state, OfflineCopy::State::Missing);
}

TEST(OfflineCopy, ACopyThatDoesNotOpenIsSetAsideNeverShownInPart) {
    TempFolder folder;
    const auto path = OfflineCopy::pathFor(folder.path(), "mario.rossi");
    auto key = OfflineCopy::keyFor(path, "pw");
    ASSERT_TRUE(key && OfflineCopy::write(path, sample(), *key));
    const std::string good = bytesOf(path);
    struct Case {
        const char* what;
        std::string bytes;
        OfflineCopy::State expected;
    };
    std::string flipped = good;
    flipped[flipped.size() - 40] ^= 0x01; // inside the ciphertext
    std::string header = good;
    header[2] = 'X';
    std::string saltChanged = good;
    saltChanged[9] ^= 0x01;
    const std::vector<Case> cases = {
        {"a bit changed in the sealed part", flipped, OfflineCopy::State::Damaged},
        {"another version's header", header, OfflineCopy::State::Damaged},
        {"cut in the middle", good.substr(0, good.size() / 2), OfflineCopy::State::Damaged},
        {"cut inside the header", good.substr(0, 20), OfflineCopy::State::Damaged},
        {"empty", "", OfflineCopy::State::Damaged},
        // The key no longer fits the header: the person may have typed another password, so
        // the copy stays.
        {"salt changed", saltChanged, OfflineCopy::State::WrongPassword},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(folder.path());
        std::filesystem::create_directories(folder.path());
        {
            std::ofstream out(path, std::ios::binary);
            out << c.bytes;
        }
        const auto opening = OfflineCopy::open(path, "pw");
        EXPECT_EQ(opening.state, c.expected) << c.what;
        EXPECT_FALSE(opening.data) << c.what;
        const bool aside = c.expected == OfflineCopy::State::Damaged;
        EXPECT_EQ(std::filesystem::exists(path), !aside) << c.what;
        EXPECT_EQ(UnreadableCardFile::keptAside(path).size(), aside ? 1u : 0u) << c.what;
    }
}

TEST(OfflineCopy, KeepsTheNewestRowsOfALongStatementInTheirOrder) {
    OfflineData d;
    auto card = std::make_shared<CartaDiPagamento>();
    card->setDesc("0001234567");
    OfflineStatement s;
    const std::size_t total = OfflineData::kMaxRows + 7;
    for (std::size_t i = 0; i < total; ++i) {
        auto m = std::make_shared<Movimento>();
        // Newest first, as the service sends them; one undated row among the newest.
        if (i != 3) {
            m->setDataContabile(Date(std::chrono::hours(24 * (total - i))));
        }
        m->setDescrizione("row " + std::to_string(i));
        s.movimenti.push_back(m);
    }
    d.putStatement(*card, s);
    const auto& kept = d.statement(*card)->movimenti;
    ASSERT_EQ(kept.size(), OfflineData::kMaxRows);
    EXPECT_EQ(*kept.front()->descrizione(), "row 0");
    EXPECT_EQ(*kept[3]->descrizione(), "row 4"); // the undated row counts as the oldest
    EXPECT_EQ(*kept.back()->descrizione(), "row " + std::to_string(OfflineData::kMaxRows));
    // And it survives the copy's coding.
    const auto back = OfflineDataCoding::decode(OfflineDataCoding::encode(d));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->statement(*card)->movimenti.size(), OfflineData::kMaxRows);
    EXPECT_FALSE(OfflineDataCoding::decode(R"({"user":"u","cardsAt":"x"})"));
}

} // namespace
} // namespace vestrino
