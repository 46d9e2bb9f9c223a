#include "AppFixture.h"
#include "app/chrome/VestrinoVC.h"
#include "service/Constants.h"
#include "store/UnreadableCardFile.h"
#include "ui/ScrollView.h"
#include "ui/sdl/PictureCodec.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

using namespace vestrino;
using nlohmann::ordered_json;
namespace fs = std::filesystem;

namespace {

class WalletTest : public test::AppFixture {
protected:
    // The wallet as a person reads it: the page's card (its kind, number and name), where the
    // carousel is (the dot, the pages, the offset), the arrows' alphas.
    static constexpr const char* kCard = "labelDesc.text labelSerial.text btnAlias.title";
    static constexpr const char* kWhere =
        "pageControl.selectedPage pageControl.numberOfPages scrollViewImages.contentOffset.0";
    static constexpr const char* kArrows = "leftArrow.alpha rightArrow.alpha";
    std::string page(const char* a, const char* b = "", const char* c = "") {
        return look(std::string(a) + " " + b + " " + c);
    }
};

} // namespace

TEST_F(WalletTest, AnAccountWithoutCards) {
    toWallet("nuovo.utente", "benvenuto");
    EXPECT_EQ(page(kCard, kWhere, kArrows),
              "Puoi inserire una o più; carte Lumacard nella tua lista; Aggiungi Altra Carta; "
              "1; 1; 0; 0; 0");
    EXPECT_EQ(look("btnScegli.image"), "vestrino_button_aggiungi_320.png");
    const auto s = state();
    const auto* picture = find(s["window"], "class", "QVImageView");
    ASSERT_TRUE(picture);
    EXPECT_EQ(plain((*picture)["image"]) + " " + plain((*picture)["frame"]),
              "vestrino_card_lumacard_BW_320.png [0,0,320,197]");
    // The one dot sits in the middle of the indicator (laid out once the indicator had a size).
    const auto* indicator = find(s["window"], "name", "pageControl");
    ASSERT_TRUE(indicator);
    ASSERT_EQ((*indicator)["children"].size(), 1u);
    const auto& dot = (*indicator)["children"][0];
    EXPECT_EQ(plain(dot["frame"]) + " " + plain(dot["windowFrame"]) + " " + plain(dot["image"]),
              "[153,3,7,7] [153,261,7,7] vestrino_interface_pallino_blu_320.png");
    // Choosing on the add page opens the editor without a card.
    tapTitled("btnScegli", "name");
    run("wait 0.6");
    EXPECT_EQ(state()["visible"], "AggiungiCartaViewController");
}

TEST_F(WalletTest, ServiceCardsAfterTheStoredAnonymousCard) {
    auto anonymous = std::make_shared<CartaDiPagamento>();
    anonymous->setSerial("5375123400001117");
    anonymous->setDataAA("28");
    anonymous->setDataMM("04");
    anonymous->setAlias("Io");
    anonymous->setAnonima(true);
    ASSERT_TRUE(RemoteServiceUtil::salvaCartePerUtente("mario.rossi", {anonymous}));
    toWallet();
    // The stored card, three of the service, the add page; a short name: the smallest button
    // (95); the invitation measured in HelveticaNeue-Bold 16 (196 + 50).
    const char* pages[] = {
        "Lumacard Anonima; **** **** **** 1117; Io; 1; 5; 0; 0; 1; 95",
        "Lumacard Standard; **** **** **** 5670; Dai un nome alla tua carta; 2; 5; 320; 1; 1; 246",
        "Lumacard Standard; **** **** **** 4329; Dai un nome alla tua carta; 3; 5; 640; 1; 1; 246",
        "Lumacard Standard; **** **** **** 4444; Dai un nome alla tua carta; 4; 5; 960; 1; 1; 246",
    };
    EXPECT_EQ(look("btnScegli.image"), "vestrino_button_scegli_320.png");
    for (const char* expected : pages) {
        EXPECT_EQ(page(kCard, kWhere, kArrows) + "; " + look("btnAlias.frame.2"), expected);
        run("drag 280 150 40 150 0.1\nwait 0.8"); // a flick to the next page
    }
    EXPECT_EQ(page("btnAlias.title", kWhere, kArrows), "Aggiungi Altra Carta; 5; 5; 1280; 1; 0");
    // A flick past the last page stays there; back on the first page, a flick past it too.
    run("drag 280 150 40 150 0.1\nwait 0.8");
    EXPECT_EQ(page(kWhere), "5; 5; 1280");
    for (int i = 0; i < 5; ++i) {
        run("drag 40 150 280 150 0.1\nwait 0.8");
    }
    EXPECT_EQ(page(kWhere), "1; 5; 0");
}

TEST_F(WalletTest, TheIndicatorsDotsAndTheAddButton) {
    toWallet(); // three cards and the add page
    run("drag 280 150 40 150 0.1\nwait 0.8\ndrag 280 150 40 150 0.1\nwait 0.8");
    ASSERT_EQ(page(kWhere), "3; 4; 640");
    // The current page's dot does nothing; another's scrolls there.
    run("tap " + std::to_string(dotX(3, 4)) + " 264\nwait 0.6");
    EXPECT_EQ(page(kWhere), "3; 4; 640");
    run("tap " + std::to_string(dotX(1, 4)) + " 264\nwait 0.1");
    EXPECT_EQ(look("btnAlias.title"), "Dai un nome alla tua carta"); // fading, not yet changed
    run("wait 0.8");
    EXPECT_EQ(page(kWhere, "labelSerial.text"), "1; 4; 0; **** **** **** 5670");
    // The add button scrolls to the add page.
    tapTitled("+ Nuova");
    run("wait 0.8");
    EXPECT_EQ(page(kWhere), "4; 4; 960");
}

TEST_F(WalletTest, ThePageIsKeptAcrossReloads) {
    toWallet();
    run("drag 280 150 40 150 0.1\nwait 0.8\ndrag 280 150 40 150 0.1\nwait 0.8");
    ASSERT_EQ(page(kWhere), "3; 4; 640");
    // Information, then cards: reloaded without the loading alert.
    run("tap @infoButton\nwait 0.6\ntap @carteButton\nidle 10\nwait 0.6");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    EXPECT_EQ(alertShown(), "");
    EXPECT_EQ(page(kWhere), "3; 4; 640");
    // On the add page, leave; meanwhile two cards go from the session's list: back on the
    // last page there is.
    run("drag 280 150 40 150 0.1\nwait 0.8");
    ASSERT_EQ(page(kWhere), "4; 4; 960");
    run("tap @infoButton\nwait 0.6");
    RemoteServiceUtil::dictCache().with([](DictCache::Entries& e) {
        auto& list = std::any_cast<std::shared_ptr<ListaCarte>&>(e["mario.rossi_listaCarte"]);
        list->resize(1);
    });
    run("tap @carteButton\nidle 10\nwait 0.6");
    EXPECT_EQ(page(kWhere, "btnAlias.title"), "2; 2; 320; Aggiungi Altra Carta");
}

TEST_F(WalletTest, AnUnreadableCardFileIsToldOnceAndKeptAside) {
    const auto path = RemoteServiceUtil::cardFilePath("mario.rossi");
    std::ofstream(path, std::ios::binary) << "non è un file di carte";
    toWallet();
    EXPECT_EQ(alertShown(), "Attenzione | Le carte salvate sul dispositivo non si possono leggere: "
                            "il file è stato messo da parte. Le carte anonime andranno aggiunte "
                            "di nuovo. | OK");
    tapTitled("OK");
    run("wait 0.6");
    EXPECT_TRUE(state()["alert"].is_null());
    EXPECT_EQ(look("pageControl.numberOfPages"), "4"); // the service's three cards, the add page
    EXPECT_EQ(UnreadableCardFile::keptAside(path).size(), 1u);
    // Back from the information screen, and after logging in again: not told again.
    run("tap @infoButton\nwait 0.6\ntap @carteButton\nidle 10\nwait 0.6");
    EXPECT_TRUE(state()["alert"].is_null());
    run("tap @esciButton\nidle 10\nwait 0.6");
    login("mario.rossi", "lumacard1");
    run("wait 0.5");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    EXPECT_TRUE(state()["alert"].is_null());
    EXPECT_EQ(UnreadableCardFile::keptAside(path).size(), 1u);
}

// The arrow keys, and a click or touch on the arrows beside it, page the carousel as a drag
// would: the dot, the card's texts, the arrows and the scroll callbacks follow; nothing moves
// past either end or while an alert is up.
TEST_F(WalletTest, ArrowKeysAndArrowsPageTheCarouselLikeADrag) {
    toWallet(); // three cards and the add page
    // The key or the arrow touched, then the dot, the pages, the offset, the arrows, the
    // card's number.
    const std::pair<const char*, const char*> steps[] = {
        {"key right", "2; 4; 320; 1; 1; **** **** **** 4329"},
        {"key right", "3; 4; 640; 1; 1; **** **** **** 4444"},
        {"key right", "4; 4; 960; 1; 0; carte Lumacard nella tua lista"},
        {"key right", "4; 4; 960; 1; 0; carte Lumacard nella tua lista"}, // nothing further
        {"key left", "3; 4; 640; 1; 1; **** **** **** 4444"},
        {"tap @leftArrow", "2; 4; 320; 1; 1; **** **** **** 4329"},
        {"tap @leftArrow", "1; 4; 0; 0; 1; **** **** **** 5670"},
        {"key left", "1; 4; 0; 0; 1; **** **** **** 5670"},
        {"tap @rightArrow", "2; 4; 320; 1; 1; **** **** **** 4329"},
    };
    for (const auto& [step, expected] : steps) {
        if (std::string_view(step).starts_with("tap @")) {
            tapTitled(step + 5, "name");
        } else {
            run(step);
        }
        run("wait 0.8");
        EXPECT_EQ(page(kWhere, kArrows, "labelSerial.text"), expected) << step;
        EXPECT_EQ(state()["visible"], "CarteViewController") << step; // an arrow chose no card
    }
    run("key left\nwait 0.8");
    // Under an alert the carousel stays.
    auto* wallet =
        dynamic_cast<VestrinoVC*>(delegate_->navigationController()->topViewController().get());
    ASSERT_TRUE(wallet);
    wallet->showAlertWithTitle("Attenzione", "Prova", false, std::string("OK"), std::nullopt);
    run("key right\nwait 0.8");
    EXPECT_EQ(page(kWhere), "1; 4; 0");
}

// The left arrow is never drawn beside the first card: not while the wallet slides in after
// the login, not when a dot brings the carousel back to the first card.
TEST_F(WalletTest, NoLeftArrowFlashesBesideTheFirstCard) {
    launch();
    run("wait 2");
    run("tap @usernameField\ntype \"mario.rossi\"\nkey return\ntype \"lumacard1\"\nkey return");
    // The carousel's first page, and how visible the left arrow is drawn, frame by frame.
    auto leftArrowOnFirstCard = [&]() -> std::optional<double> {
        auto top = delegate_->navigationController()->topViewController();
        if (top->className() != "CarteViewController" || !top->outlet("leftArrow")) {
            return std::nullopt;
        }
        const auto arrow = top->outlet("leftArrow");
        const auto carousel =
            std::dynamic_pointer_cast<ui::ScrollView>(top->outlet("scrollViewImages"));
        if (arrow->hidden() || !carousel || carousel->contentOffset().x > 0.5) {
            return std::nullopt;
        }
        return arrow->presentationAlpha();
    };
    int framesOnFirstCard = 0;
    for (int i = 0; i < 120; ++i) {
        run("idle 2\nwait 0.02");
        if (const auto alpha = leftArrowOnFirstCard()) {
            ++framesOnFirstCard;
            EXPECT_LE(*alpha, 0.01) << "frame " << i << " of the login";
        }
    }
    EXPECT_GT(framesOnFirstCard, 20); // the wallet was watched on its first card
    // To the third card by its dot, and back to the first by its dot.
    run("tap " + std::to_string(dotX(3, 4)) + " 264\nwait 0.8");
    ASSERT_EQ(page(kWhere), "3; 4; 640");
    run("tap " + std::to_string(dotX(1, 4)) + " 264");
    framesOnFirstCard = 0;
    for (int i = 0; i < 50; ++i) {
        run("wait 0.02");
        if (const auto alpha = leftArrowOnFirstCard()) {
            ++framesOnFirstCard;
            EXPECT_LE(*alpha, 0.01) << "frame " << i << " of the jump";
        }
    }
    EXPECT_GT(framesOnFirstCard, 5);
    EXPECT_EQ(page(kWhere), "1; 4; 0");
}

// The outline button under the card has round ends like the filled buttons, a line that is
// not a hairline, and room between its title and its ends, at one and at two pixels a point
// (the real program's headless snapshots).
TEST_F(WalletTest, TheOutlineButtonHasRoundEndsAtBothScales) {
    launch(); // the stand-in and the temporary folder
    const fs::path work = tempDir() / "outline";
    fs::create_directories(work / "docs");
    fs::permissions(work / "docs", fs::perms::owner_all);
    const fs::path script = work / "wallet.script";
    std::ofstream(script) << "wait 2.1\ntap @usernameField\ntype \"mario.rossi\"\nkey tab\n"
                             "type \"lumacard1\"\nkey return\nidle 20\nwait 1\nsnapshot shot\n";
    for (const int scale : {1, 2}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        const fs::path out = work / ("out" + std::to_string(scale));
        const int status =
            runApp(script, work / "docs", out, "--scale " + std::to_string(scale),
                   "> /dev/null 2>&1", "XDG_CONFIG_HOME='" + (work / "config").string() + "'");
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        std::ifstream json(out / "shot.json");
        const auto shot = ordered_json::parse(json, nullptr, false);
        const auto* button = find(shot["window"], "name", "btnAlias");
        ASSERT_TRUE(button);
        std::ifstream png(out / "shot.png", std::ios::binary);
        const auto image =
            ui::PictureCodec::decode(std::string{std::istreambuf_iterator<char>(png), {}});
        ASSERT_TRUE(image);
        ASSERT_EQ(image->width, 320 * scale);
        // Whether the device pixel at window point (x, y) belongs to the button's line: dark
        // and blue, unlike the grey screen, the white inside and the anti-aliased fringe.
        auto line = [&](double x, double y) {
            const int px = static_cast<int>(x * scale), py = static_cast<int>(y * scale);
            const std::size_t i = (static_cast<std::size_t>(py) * image->width + px) * 4;
            const int r = image->rgba[i], g = image->rgba[i + 1], b = image->rgba[i + 2];
            return r < 110 && g < 140 && b > 100 && b - r > 40;
        };
        const auto& f = (*button)["windowFrame"];
        const double x0 = f[0], y0 = f[1], w = f[2], h = f[3];
        const double step = 1.0 / scale;
        // The top edge's line: where it starts from the left end, and its thickness in the middle.
        std::optional<double> topRow;
        for (double y = y0; y < y0 + h / 2 && !topRow; y += step) {
            if (line(x0 + w / 2, y)) {
                topRow = y;
            }
        }
        ASSERT_TRUE(topRow) << "no line along the top";
        double thickness = 0;
        for (double y = *topRow; line(x0 + w / 2, y); y += step) {
            thickness += step;
        }
        EXPECT_GE(thickness, 1.0) << "a hairline";
        EXPECT_LE(thickness, 3.0);
        double startOfTop = x0 + w / 2;
        while (startOfTop > x0 && line(startOfTop - step, *topRow)) {
            startOfTop -= step;
        }
        // A round end of radius r = h/2: the line's topmost row of device pixels (s points
        // high) meets the curve where the curve comes within s of the top, r - sqrt(r² -
        // (r - s)²) from the end. An end stretched into a long point meets it about twice as
        // far in, a square end at once.
        const double r = h / 2;
        const double expected = r - std::sqrt(r * r - (r - step) * (r - step));
        EXPECT_NEAR(startOfTop - x0, expected, 2.5) << "the end is not round";
        // The end's middle reaches the frame's side; its corners are the screen's grey.
        bool sideReached = false;
        for (double x = x0; x < x0 + 3; x += step) {
            sideReached = sideReached || line(x, y0 + h / 2);
        }
        EXPECT_TRUE(sideReached);
        EXPECT_FALSE(line(x0 + step, y0 + step));
        EXPECT_FALSE(line(x0 + w - 2 * step, y0 + h - 2 * step));
        // The title keeps clear of the round ends.
        const double titleWidth = (*button)["titleSize"][0];
        EXPECT_GE((w - titleWidth) / 2, h / 2) << "the title runs into the ends";
    }
}
