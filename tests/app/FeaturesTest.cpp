// What card holders asked for beside the screens' own behaviour: cash machines near a town,
// statement search with a total, export (CSV, OFX, QIF), hidden amounts; each as a person uses it,
// against the stand-in.
#include "AppFixture.h"
#include "CsvReader.h"
#include "ProgramRun.h"
#include "ReplyXml.h"
#include "app/application/LinkOpener.h"
#include "app/settings/Preferences.h"
#include "app/statement/TransazioniViewController.h"

#include "core/BackgroundTask.h"
#include "core/DateFormatter.h"
#include "core/GeoDistance.h"
#include "core/SearchText.h"
#include "entities/Importo.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sys/stat.h>
#include <thread>

using namespace vestrino;
using nlohmann::ordered_json;

namespace {

const std::string kChoose = "@btnScegli"; // "Scegli questa carta"
constexpr const char* kAtm = "/LumaCard/trova_atm_lumaspot.do";

class FeaturesTest : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        recorder_ = std::make_shared<RecordingLinkOpener>();
        VestrinoAppDelegate::shared()->setLinkOpener(recorder_);
    }
    void toStatement() {
        toWallet();
        run("tap " + kChoose + "\nidle 20\nwait 0.6");
        ASSERT_EQ(state()["visible"], "TransazioniViewController");
    }
    std::shared_ptr<TransazioniViewController> statement() {
        return std::dynamic_pointer_cast<TransazioniViewController>(
            delegate_->navigationController()->visibleViewController());
    }
    void search(const std::string& query) {
        tapTitled("cercaField", "name");
        run("key ctrl+a\nkey backspace\ntype \"" + query + "\"\nkey return\nwait 0.2");
    }

    std::shared_ptr<RecordingLinkOpener> recorder_;
};

} // namespace

// A match at the end of a long description is in sight in its row, not cut away with the "…".
TEST_F(FeaturesTest, TheSearchedWordIsInSightInEveryRow) {
    toStatement();
    for (const char* query : {"postale", "pos"}) {
        search(query);
        int rows = 0;
        visit(state()["window"], [&](const ordered_json& n) {
            if (n["name"].is_string() && n["name"] == "desc" && n["text"].is_string()) {
                ++rows;
                const std::string shown = n.contains("shownText") ? n["shownText"] : n["text"];
                EXPECT_NE(foldedForSearch(shown).find(query), std::string::npos)
                    << query << ": " << shown;
            }
            return true;
        });
        EXPECT_GT(rows, 0) << query;
    }
}

TEST_F(FeaturesTest, ExportAsksTheFormatWritesTheRowsShownAndNeverReplacesAFile) {
    toStatement();
    search("pagamento pos");
    const auto rows = statement()->movimentiFiltrati();
    ASSERT_GE(rows.size(), 2u);
    const std::filesystem::path downloads = std::getenv("XDG_DOWNLOAD_DIR");
    std::filesystem::remove_all(downloads);
    const auto filesThere = [&] {
        std::error_code ec;
        return std::distance(std::filesystem::directory_iterator(downloads, ec),
                             std::filesystem::directory_iterator());
    };
    // The choice first; "Annulla" writes nothing.
    tapTitled("Esporta");
    run("wait 0.3");
    EXPECT_EQ(alertShown(), "Esporta i movimenti | CSV per un foglio di calcolo; OFX o QIF per "
                            "GnuCash, KMyMoney e HomeBank. | Annulla, CSV, OFX, QIF");
    tapTitled("Annulla");
    run("wait 0.3");
    EXPECT_EQ(alertShown(), "");
    EXPECT_EQ(filesThere(), 0);
    // Put away by the code (as the session's lock does): "Annulla" too.
    tapTitled("Esporta");
    run("wait 0.3");
    statement()->dismissAlertView();
    run("wait 0.3");
    EXPECT_EQ(alertShown(), "");
    EXPECT_EQ(filesThere(), 0);

    // CSV twice, then OFX and QIF.
    std::vector<std::string> files;
    for (const char* format : {"CSV", "CSV", "OFX", "QIF"}) {
        tapTitled("Esporta");
        run("wait 0.3");
        tapTitled(format);
        run("wait 0.3");
        const std::string message = alertShown();
        ASSERT_TRUE(message.starts_with("Esportazione | ")) << message;
        const auto at = message.find(downloads.string());
        ASSERT_NE(at, std::string::npos) << message;
        files.push_back(message.substr(at, message.find(" | ", at) - at));
        EXPECT_NE(message.find(" | " + std::to_string(rows.size()) + " movimenti salvati in "),
                  std::string::npos)
            << message;
        EXPECT_EQ(message.find("nascosti"), std::string::npos) << message; // amounts shown
        run("key escape\nwait 0.3");
    }
    // Named after the card's last digits and the day; the second beside the first.
    const std::regex name(R"(Lumacard-5670-\d{4}-\d{2}-\d{2}\.csv)");
    EXPECT_TRUE(std::regex_match(std::filesystem::path(files[0]).filename().string(), name))
        << files[0];
    const std::string stem = files[0].substr(0, files[0].size() - 4);
    EXPECT_EQ(files[1], stem + "-2.csv");
    EXPECT_EQ(files[2], stem + ".ofx");
    EXPECT_EQ(files[3], stem + ".qif");
    // Nothing shown: nothing to export, no choice asked and no file written.
    search("nessuna corrispondenza");
    ASSERT_TRUE(statement()->movimentiFiltrati().empty());
    tapTitled("Esporta");
    run("wait 0.3");
    EXPECT_EQ(alertShown(), "Esportazione | Nessun movimento da esportare. | OK");
    run("key escape\nwait 0.3");
    EXPECT_EQ(filesThere(), 4);
    for (const auto& file : files) {
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0) << file;
        EXPECT_EQ(st.st_mode & 0777, 0600u) << file;
    }
    // The rows shown, in the order shown (the fields are the writers' own tests').
    for (const auto& file : {files[0], files[1]}) {
        std::ifstream in(file, std::ios::binary);
        const std::string csv{std::istreambuf_iterator<char>(in), {}};
        std::vector<std::vector<std::string>> read;
        ASSERT_TRUE(test::readCsv(csv, read)) << csv;
        ASSERT_EQ(read.size(), rows.size() + 1);
        EXPECT_EQ(read[0][0], "data_contabile");
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(read[i + 1].at(2), *rows[i]->descrizione());
        }
    }
    const auto dump = test::ProgramRun::of("ofxdump " + files[2] + " 2>&1");
    EXPECT_EQ(dump.code, 0) << dump.out;
    EXPECT_EQ(dump.out.find("LibOFX ERROR"), std::string::npos) << dump.out;
    // Each description whole: as the payee's name, or as the memo when the name cannot hold it.
    std::size_t names = 0;
    for (const auto& m : rows) {
        const std::string& d = *m->descrizione();
        names += dump.out.find("transaction description: " + d + "\n") != std::string::npos ||
                 dump.out.find("(memo): " + d + "\n") != std::string::npos;
    }
    EXPECT_EQ(names, rows.size()) << dump.out;
    std::ifstream qif(files[3], std::ios::binary);
    const std::string qifText{std::istreambuf_iterator<char>(qif), {}};
    EXPECT_EQ(static_cast<std::size_t>(std::count(qifText.begin(), qifText.end(), '^')),
              rows.size() + 1); // the account's header and a record a row

    // A row whose amount cannot be read: OFX leaves it out and the alert says so.
    auto unreadable = std::make_shared<Movimento>(*rows[0]);
    unreadable->setAddebiti("n/d");
    statement()->refreshWith(statement()->saldo(), {unreadable, rows[1]});
    search("");
    ASSERT_EQ(statement()->movimentiFiltrati().size(), 2u);
    tapTitled("Esporta");
    run("wait 0.3");
    tapTitled("OFX");
    run("wait 0.3");
    const std::string message = alertShown();
    EXPECT_NE(message.find(" | 1 movimento salvato in "), std::string::npos) << message;
    EXPECT_TRUE(
        message.ends_with("\n\n1 movimento senza un importo leggibile non è nel file. | OK"))
        << message;
}

// The switch on the information screen reaches an open statement at once: every amount, the
// total and a row's detail read "••• €"; the choice is in the preferences file, so a new start
// keeps it, and switched off the amounts are back.
TEST_F(FeaturesTest, HiddenAmountsReachAnOpenStatementAndAreRemembered) {
    toStatement();
    EXPECT_EQ(text("saldoContabile"), "1219,40 €");
    const std::string flip = "tap @infoButton\nwait 0.8\nidle 20\ntap @nascondiImporti\nwait 0.3\n"
                             "tap @indietroButton\nwait 0.8";
    run(flip);
    ASSERT_EQ(state()["visible"], "TransazioniViewController");
    EXPECT_EQ(look("saldoContabile.text saldoDisponibile.text"),
              std::string(Preferences::kHiddenAmount) + "; " + Preferences::kHiddenAmount);
    EXPECT_TRUE(text("totaleLabel").ends_with("totale ••• €")) << text("totaleLabel");
    const auto s = state();
    for (const auto& cell : (*find(s["window"], "name", "tableView"))["children"]) {
        if (cell.value("class", "") == "MovimentoCell") {
            EXPECT_EQ(find(cell, "name", "importo")->at("text"), Preferences::kHiddenAmount);
        }
    }
    run("tap 160 333\nwait 0.3");
    const std::string detail = state()["alert"]["message"];
    EXPECT_NE(detail.find("\nImporto: ••• €\n"), std::string::npos) << detail;
    run("key escape\nwait 0.3");
    // An export says that the file holds what the screen hides, and it does.
    tapTitled("Esporta");
    run("wait 0.3");
    tapTitled("OFX");
    run("wait 0.3");
    const std::string message = alertShown();
    const auto at = message.find(std::getenv("XDG_DOWNLOAD_DIR"));
    ASSERT_NE(at, std::string::npos) << message;
    std::ifstream ofx(message.substr(at, message.find('\n', at) - at), std::ios::binary);
    const std::string ofxText{std::istreambuf_iterator<char>(ofx), {}};
    EXPECT_NE(ofxText.find("\r\n<TRNAMT>-"), std::string::npos) << ofxText;
    EXPECT_NE(ofxText.find("\r\n<BALAMT>1219.40\r\n"), std::string::npos) << ofxText;
    EXPECT_TRUE(message.ends_with("\n\nIl file contiene gli importi, nascosti sullo schermo. | OK"))
        << message;
    run("key escape\nwait 0.3");
    // What a new start reads; then off again, and read again.
    Preferences::shared().reload();
    EXPECT_TRUE(Preferences::shared().nascondiImporti());
    run(flip);
    EXPECT_EQ(text("saldoContabile"), "1219,40 €");
    Preferences::shared().reload();
    EXPECT_FALSE(Preferences::shared().nascondiImporti());
}

TEST_F(FeaturesTest, CashMachinesNearATownNearestFirstAndOpenedOnAMap) {
    toWallet();
    run("tap @infoButton\nwait 0.8\nidle 20");
    tapTitled("Lumaspot vicini");
    run("wait 0.8");
    ASSERT_EQ(state()["visible"], "LumaspotViewController");
    EXPECT_EQ(text("stato"), "Scegli una città");
    // Roma from the list, as a person finds it: typing part of its name, accents ignored.
    tapTitled("cercaCitta", "name");
    run("type \"ROMA\"\nwait 0.2");
    run("tap 160 212\nidle 20\nwait 0.5"); // the first town of the list
    // The expected: every demo cash machine within 5 km of Roma's centre in the town list (the
    // distance is the great-circle one of its own tests).
    const auto* roma = Capoluoghi::shared().named("Roma");
    ASSERT_TRUE(roma);
    auto km = [&](double lat, double lng) {
        return GeoDistance::kilometres(roma->lat, roma->lng, lat, lng);
    };
    auto expect = [&](double radius) {
        std::vector<std::pair<double, std::string>> near;
        for (const auto& a : server().data().lumaspot) {
            if (km(a.lat, a.lng) <= radius) {
                near.emplace_back(km(a.lat, a.lng), a.ufficio);
            }
        }
        std::sort(near.begin(), near.end());
        return near;
    };
    auto shown = [&] { // each cell's first text: its office
        std::vector<std::string> offices;
        bool inCell = false;
        visit(state()["window"], [&](const ordered_json& n) {
            if (n.value("class", "") == "LumaspotCell") {
                inCell = true;
            } else if (inCell && !n.value("text", "").empty()) {
                offices.push_back(n["text"]);
                inCell = false;
            }
            return true;
        });
        return offices;
    };
    const auto five = expect(5);
    ASSERT_GE(five.size(), 2u);
    std::vector<std::string> offices;
    for (const auto& [d, office] : five) {
        offices.push_back(office);
    }
    EXPECT_EQ(shown(), offices);
    EXPECT_EQ(text("stato"), std::to_string(five.size()) + " Lumaspot entro 5 km da Roma");
    const auto body = server().knobs().lastRequest(kAtm)->body;
    EXPECT_NE(body.find("raggio=5.000000"), std::string::npos) << body;
    // Touching the nearest opens it on a map.
    run("tap 160 212\nwait 0.2");
    const auto links = state()["openedLinks"];
    ASSERT_EQ(links.size(), 1u);
    const auto& nearest =
        *std::find_if(server().data().lumaspot.begin(), server().data().lumaspot.end(),
                      [&](const auto& a) { return a.ufficio == offices[0]; });
    EXPECT_EQ(links[0], LinkOpener::geoLink(nearest.lat, nearest.lng));
    // With no program for maps the place is told in words, and "Copia" puts it on the clipboard.
    recorder_->setHandlerInstalled(false);
    run("tap 160 212\nwait 0.3");
    const std::string coordinates = LinkOpener::coordinates(nearest.lat, nearest.lng);
    EXPECT_EQ(alertShown(), "Mappa non disponibile | Nessun programma ha aperto la mappa.\n\n" +
                                nearest.ufficio + "\n" + nearest.cap + " " + nearest.provincia +
                                "\nCoordinate: " + coordinates + " | OK, Copia");
    tapTitled("Copia");
    run("wait 0.3");
    EXPECT_TRUE(state()["alert"].is_null());
    EXPECT_EQ(window_->clipboard()->text(), nearest.ufficio + ", " + nearest.cap + " " +
                                                nearest.provincia + " (" + coordinates + ")");
    recorder_->setHandlerInstalled(true);

    // 1 km: nothing that near.
    ASSERT_TRUE(expect(1).empty());
    tapTitled("1 km");
    run("idle 20\nwait 0.5");
    EXPECT_EQ(text("stato"), "Nessun Lumaspot entro 1 km da Roma.");
    EXPECT_TRUE(shown().empty());

    // A failed search and no network: a message each, the town list again.
    struct Failure {
        lumacard::Fault fault;
        const char* message;
    };
    const Failure failures[] = {
        {{.body = lumacard::ReplyXml::ko("parametro_raggio_non_valido", "Raggio non valido")},
         "La ricerca dei Lumaspot non è riuscita. Riprovare più tardi."},
        {{.closeConnection = true}, "Impossibile cercare i Lumaspot: verificare la connessione."},
    };
    for (const auto& f : failures) {
        server().knobs().setFault(kAtm, f.fault);
        tapTitled("20 km");
        run("idle 20\nwait 0.5");
        EXPECT_EQ(alertShown(), std::string("Errore | ") + f.message + " | OK");
        run("key escape\nwait 0.3");
        server().knobs().clearFaults();
        // Back to a town to search from again.
        EXPECT_EQ(text("stato"), "Scegli una città");
        run("tap 160 212\nidle 20\nwait 0.5");
    }
    // The town and radius are remembered: the screen opens on them next time.
    EXPECT_EQ(Preferences::shared().lumaspotCitta(), "Roma");
    EXPECT_EQ(Preferences::shared().lumaspotRaggioKm(), 20);
    Preferences::shared().reload();
    run("tap @indietroButton\nwait 0.8");
    tapTitled("Lumaspot vicini");
    run("wait 0.5\nidle 20\nwait 0.5");
    EXPECT_EQ(text("stato"), std::to_string(expect(20).size()) + " Lumaspot entro 20 km da Roma");
    EXPECT_EQ(text("cercaCitta"), "Roma");
    // "Carte" goes back to the wallet in one press, past the information screen.
    run("tap @carteButton\nwait 0.8");
    EXPECT_EQ(state()["screens"].back(), "CarteViewController");
    EXPECT_EQ(state()["visible"], "CarteViewController");
}

// The desktop's opener: xdg-open gets the geo: link first and the web page only when nothing
// took the first (a stand-in xdg-open on the PATH records what it is given).
TEST(DesktopLinkOpener, TheMapLinkFirstTheWebPageWhenNothingTakesIt) {
    const auto bin = test::StandinFixture::tempDir() / "fake-xdg-open";
    std::filesystem::remove_all(bin);
    std::filesystem::create_directories(bin);
    const auto log = bin / "opened.txt";
    struct Case {
        int geoStatus;
        int webStatus;
        std::vector<std::string> opened;
        bool said; // what the opener tells the screen
    };
    const std::string geo = LinkOpener::geoLink(41.90233, 12.48161);
    const std::string web = LinkOpener::webLink(41.90233, 12.48161);
    EXPECT_EQ(geo, "geo:41.902330,12.481610");
    EXPECT_EQ(web, "https://www.openstreetmap.org/?mlat=41.902330&mlon=12.481610#map=17/41.902330/"
                   "12.481610");
    const Case cases[] = {{0, 0, {geo}, true}, {4, 0, {geo, web}, true}, {4, 3, {geo, web}, false}};
    const std::string path = std::getenv("PATH");
    setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
    for (const auto& c : cases) {
        std::filesystem::remove(log);
        std::ofstream(bin / "xdg-open")
            << "#!/bin/sh\necho \"$1\" >> '" << log.string() << "'\ncase \"$1\" in geo:*) exit "
            << c.geoStatus << ";; esac\nexit " << c.webStatus << "\n";
        std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
        std::optional<bool> said;
        DesktopLinkOpener().openPlace(geo, web, [&said](bool opened) { said = opened; });
        for (int i = 0; i < 500 && BackgroundTask::running() > 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        RunLoop::main().queue().runPending();
        std::ifstream in(log);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        EXPECT_EQ(lines, c.opened) << "geo: answered " << c.geoStatus;
        EXPECT_EQ(said, c.said) << "geo: answered " << c.geoStatus;
    }
    setenv("PATH", path.c_str(), 1);
    std::filesystem::remove_all(bin);
}

// The town list as a person searches it: a province's code finds its town, towns whose name
// starts with the query come before those that hold it inside, case and accents ignored.
TEST(Capoluoghi, ACodeFindsItsTownAndBeginningsComeFirst) {
    Capoluoghi::setDataFolder(std::filesystem::path(VESTRINO_SOURCE_DIR) / "resources" / "data");
    const auto& towns = Capoluoghi::shared();
    ASSERT_GE(towns.all().size(), 100u);
    auto names = [&](std::string_view query) {
        std::vector<std::string> out;
        for (const auto* c : towns.matching(query)) {
            out.push_back(c->nome);
        }
        return out;
    };
    struct Case {
        const char* query;
        const char* first;
    };
    for (const auto& c : {Case{"rm", "Roma"}, Case{"RM", "Roma"}, Case{"mi", "Milano"},
                          Case{"forli", "Forlì"}, Case{"AOS", "Aosta"}}) {
        const auto found = names(c.query);
        ASSERT_FALSE(found.empty()) << c.query;
        EXPECT_EQ(found.front(), c.first) << c.query;
    }
    // "ro": Roma and Rovigo before Crotone, Frosinone, ... (every beginning before every inside).
    const auto ro = names("ro");
    ASSERT_GE(ro.size(), 3u);
    bool inside = false;
    for (const auto& name : ro) {
        const bool starts = foldedForSearch(name).starts_with("ro");
        EXPECT_FALSE(inside && starts) << name << " listed after a town that only holds \"ro\"";
        inside = inside || !starts;
    }
    EXPECT_TRUE(inside);
    EXPECT_NE(std::find(ro.begin(), ro.end(), "Roma"), ro.end());
}

// The chart as a person reads it: a bar pair a month, oldest first, on one scale, named with
// the month's figures; hidden amounts keep the shapes and hide the figures; a month touched
// narrows the list to its rows (the months' sums are the statement model's own tests).
TEST_F(FeaturesTest, TheChartsBarsShareOneScaleAndAMonthNarrowsTheList) {
    toStatement();
    run("tap @graficoButton\nwait 0.3\ndrag 160 400 160 150 0.3\nwait 1");
    auto bars = [&] {
        std::vector<ordered_json> out;
        visit(state()["window"], [&](const ordered_json& n) {
            if (n["class"] == "MonthBarView") {
                out.push_back(n);
            }
            return true;
        });
        return out;
    };
    const auto shown = bars();
    ASSERT_GE(shown.size(), 2u);
    std::int64_t largest = 0;
    for (const auto& bar : shown) {
        largest = std::max(
            {largest, bar["outCents"].get<std::int64_t>(), bar["inCents"].get<std::int64_t>()});
    }
    std::string previous;
    for (const auto& bar : shown) {
        SCOPED_TRACE(bar["month"].get<std::string>());
        EXPECT_LT(previous, bar["month"].get<std::string>()); // oldest first
        previous = bar["month"];
        const double area = bar["barArea"];
        EXPECT_GT(area, 150.0);
        const std::int64_t out = bar["outCents"], in = bar["inCents"];
        EXPECT_NEAR(bar["outHeight"].get<double>(),
                    area * static_cast<double>(out) / static_cast<double>(largest), 1e-9);
        EXPECT_NEAR(bar["inHeight"].get<double>(),
                    area * static_cast<double>(in) / static_cast<double>(largest), 1e-9);
        EXPECT_EQ(bar["accessibleName"], bar["title"].get<std::string>() + ": uscite " +
                                             Importo::shown(-out) + " €, entrate " +
                                             Importo::shown(in) + " €");
    }
    // Hidden amounts: the bars keep their shape, every figure is hidden.
    Preferences::shared().setNascondiImporti(true);
    statement()->viewWillAppear(false);
    const auto hidden = bars();
    ASSERT_EQ(hidden.size(), shown.size());
    for (std::size_t i = 0; i < hidden.size(); ++i) {
        EXPECT_EQ(hidden[i]["outHeight"], shown[i]["outHeight"]);
        EXPECT_EQ(hidden[i]["accessibleName"],
                  hidden[i]["title"].get<std::string>() + ": uscite ••• €, entrate ••• €");
    }
    Preferences::shared().setNascondiImporti(false);
    statement()->viewWillAppear(false);

    // The newest month touched: the list shows its rows alone, the line adds them up, the chip
    // says which month; the chip touched, every row again.
    const auto& newest = shown.back();
    tapTitled(newest["title"]);
    run("wait 0.3\ndrag 160 150 160 420 0.3\nwait 1");
    EXPECT_FALSE(statement()->chartShown());
    const auto rows = statement()->movimentiFiltrati();
    ASSERT_FALSE(rows.empty());
    DateFormatter month("yyyy-MM");
    for (const auto& m : rows) {
        ASSERT_TRUE(m->dataValuta()) << *m->descrizione();
        EXPECT_EQ(month.stringFromDate(*m->dataValuta()), newest["month"]) << *m->descrizione();
    }
    const std::int64_t out = newest["outCents"], in = newest["inCents"];
    EXPECT_EQ(text("totaleLabel"), std::to_string(rows.size()) + " movimenti · totale " +
                                       Importo::shown(in - out) + " €");
    EXPECT_EQ(look("meseChip.hidden meseChip.title"),
              "false; " + newest["title"].get<std::string>() + " \u00d7");
    EXPECT_EQ(statement()->month()->iso(), newest["month"]);
    run("tap @meseChip\nwait 0.3");
    EXPECT_EQ(text("totaleLabel"), "42 movimenti · totale + 2448,44 €");
    EXPECT_FALSE(statement()->month().has_value());
}
