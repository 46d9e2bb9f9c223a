#include "AppFixture.h"
#include "app/chrome/VestrinoVC.h"
#include "ui/NavigationController.h"

#include <gtest/gtest.h>

using namespace vestrino;
using nlohmann::ordered_json;

namespace {

// One alert the application can show: its texts and its kind.
struct AlertCase {
    const char* title;
    std::string message;
    bool activity = false;
    std::optional<std::string> cancel = std::string("OK");
    std::optional<std::string> other = std::nullopt;
};

const std::string kLongPath = "/home/maria.francesca.bianchi-dellavalle/Scaricati/"
                              "Lumacard-5670-2026-12-07-12.csv";

// Every alert the screens show, with the longest text each can have: the application's own
// messages, the stand-in's replies, and the texts put together at run time at their longest
// (a description of the service's full 120 characters, a deep download folder).
std::vector<AlertCase> everyAlert() {
    std::vector<AlertCase> all = {
        {"Attendere", "Richiesta autenticazione in corso", true, std::nullopt},
        {"Attendere", "Caricamento dati in corso...", true, std::nullopt},
        {"Attendere", "Recupero informazioni carta...", true, std::nullopt},
        {"Attendere", "Ricerca dei Lumaspot in corso", true, std::nullopt},
        {"Attenzione", "Inserisci nome utente e password"},
        {"Attenzione", "Inserisci il nome utente"},
        {"Attenzione", "Inserisci la password"},
        {"Attenzione", "Problema di connessione, verificare la connettività dati."},
        {"Attenzione", "Problema temporaneo, riprovare più tardi."},
        {"Attenzione", "Nome utente o password non corretti."},
        {"Attenzione", "La sessione è scaduta. Effettuare di nuovo l'accesso.", false,
         std::string("Ok")},
        {"Attenzione", "Le carte salvate sul dispositivo non si possono leggere: il file è "
                       "stato messo da parte. Le carte anonime andranno aggiunte di nuovo."},
        {"Attenzione", "Le carte salvate sul dispositivo non si possono leggere in questo "
                       "momento. Riprova più tardi."},
        {"Attenzione", "Data scadenza carta vuoto!"},
        {"Attenzione", "Data scadenza carta invalido!"},
        {"Attenzione", "Data scadenza Carta non valida!"},
        {"Attenzione", "Numero della carta vuoto!"},
        {"Attenzione", "Caratteri non validi nel numero carta!"},
        {"Attenzione", "Il numero della carta deve essere di 16 caratteri!"},
        {"Attenzione", "Nome della carta troppo lungo!"},
        {"Errore", "Impossibile recuperare le informazioni sulla carta"},
        {"Errore", "Problema temporaneo, riprovare più tardi."},
        {"Errore", "Carta non trovata."},
        {"Errore", "Impossibile salvare la carta sul dispositivo."},
        {"Errore", "Impossibile salvare il file dei movimenti."},
        {"Errore", "Impossibile cercare i Lumaspot: verificare la connessione."},
        {"Errore", "La ricerca dei Lumaspot non è riuscita. Riprovare più tardi."},
        {"Elimina Carta", "Eliminare la carta selezionata?", false, std::string("Annulla"),
         std::string("OK")},
        {"Esportazione", "1 movimento salvato in " + kLongPath},
        {"Esportazione", "10000 movimenti salvati in " + kLongPath},
        {"Dettaglio Movimento",
         "Causale: PAGAMENTO POS 12/11 ORE 18:42 PRESSO SUPERMERCATO CONAD SUPERSTORE "
         "VIA DELLA REPUBBLICA 118 REGGIO NELL'EMILIA CARTA 5670\nImporto: -1.234.567,89 €"
         "\nData Contabile: 12/11/2026\nData Valuta: 13/11/2026"},
    };
    return all;
}

double num(const ordered_json& v) {
    return v.get<double>();
}

// Every label and button title in the alert's tree fits its frame (the snapshot's measured
// size against the frame), and every view lies inside the panel, the panel inside the screen.
void expectFits(const ordered_json& node, const ordered_json& panel, const std::string& what) {
    const auto& f = node["frame"];
    const auto& wf = node["windowFrame"];
    const auto& pf = panel["windowFrame"];
    if (&node != &panel) {
        EXPECT_GE(num(wf[0]), num(pf[0]) - 0.01) << what << ": " << node.dump();
        EXPECT_GE(num(wf[1]), num(pf[1]) - 0.01) << what << ": " << node.dump();
        EXPECT_LE(num(wf[0]) + num(wf[2]), num(pf[0]) + num(pf[2]) + 0.01) << what;
        EXPECT_LE(num(wf[1]) + num(wf[3]), num(pf[1]) + num(pf[3]) + 0.01) << what;
    }
    for (const char* key : {"textSize", "titleSize"}) {
        if (node.contains(key)) {
            EXPECT_LE(num(node[key][0]), num(f[2]) + 0.01)
                << what << ": " << node.value("text", node.value("title", "")) << " is cut";
            EXPECT_LE(num(node[key][1]), num(f[3]) + 0.01)
                << what << ": " << node.value("text", node.value("title", "")) << " is cut";
        }
    }
    if (node.contains("children")) {
        for (const auto& c : node["children"]) {
            expectFits(c, panel, what);
        }
    }
}

} // namespace

class AlertTexts : public test::AppFixture {
protected:
    // Checks the alert on screen, through the snapshot a script would write.
    void checkShownAlert(const std::string& title, const std::string& message) {
        const auto s = state();
        ASSERT_FALSE(s["alert"].is_null()) << message;
        ASSERT_EQ(s["alert"]["message"], message);
        const auto* alert = find(s["window"], "text", message);
        ASSERT_TRUE(alert) << message;
        ASSERT_TRUE((*alert)["class"] == "AlertView" || (*alert)["class"] == "ActivityAlertView");
        const auto& panel = (*alert)["children"][0];
        const auto& pf = panel["windowFrame"];
        EXPECT_GE(num(pf[0]), 0);
        EXPECT_GE(num(pf[1]), 0);
        EXPECT_LE(num(pf[0]) + num(pf[2]), 320);
        EXPECT_LE(num(pf[1]) + num(pf[3]), 480);
        // Centred, as the platform's alerts are.
        EXPECT_NEAR(num(pf[0]) + num(pf[2]) / 2, 160, 0.5) << message;
        EXPECT_NEAR(num(pf[1]) + num(pf[3]) / 2, 240, 0.5) << message;
        const auto* titleLabel = find(panel, "text", title);
        const auto* messageLabel = find(panel, "text", message);
        ASSERT_TRUE(titleLabel && messageLabel) << message;
        EXPECT_EQ((*titleLabel)["class"], "Label");
        EXPECT_EQ((*messageLabel)["class"], "Label");
        expectFits(panel, panel, title + " / " + message);
    }
};

TEST_F(AlertTexts, EveryAlertTextFitsItsFrame) {
    launch();
    run("wait 2");

    // The alerts met on the way, as a person meets them.
    run("tap @usernameField\nkey return\nkey return\nidle 20\nwait 0.3");
    checkShownAlert("Attenzione", "Inserisci nome utente e password");
    tapTitled("OK");
    run("wait 0.6");
    setReachabilityFlags(0);
    tapTitled("usernameField", "name");
    run("type \"mario.rossi\"\nkey return\ntype \"lumacard1\"\nkey return\nidle 20\nwait 0.6");
    checkShownAlert("Attenzione", "Problema di connessione, verificare la connettività dati.");
    tapTitled("OK");

    // Every alert of the application at its longest, drawn by the same alert code.
    auto* home =
        dynamic_cast<VestrinoVC*>(delegate_->navigationController()->topViewController().get());
    ASSERT_TRUE(home);
    for (const auto& a : everyAlert()) {
        SCOPED_TRACE(a.message);
        home->showAlertWithTitle(a.title, a.message, a.activity, a.cancel, a.other);
        run("wait 0.1");
        checkShownAlert(a.title, a.message);
        home->dismissAlertView();
        run("wait 0.1");
        EXPECT_TRUE(state()["alert"].is_null());
    }
}

// The one-line message that used to be cut at both ends now wraps between words, and a
// message longer than the screen keeps the buttons on it.
TEST_F(AlertTexts, WrappedLinesAndAMessageLongerThanTheScreen) {
    launch();
    run("wait 2");
    auto* home =
        dynamic_cast<VestrinoVC*>(delegate_->navigationController()->topViewController().get());
    ASSERT_TRUE(home);
    const std::string connection = "Problema di connessione, verificare la connettività dati.";
    home->showAlertWithTitle("Attenzione", connection, false, std::string("OK"), std::nullopt);
    run("wait 0.1");
    auto s = state();
    const auto* alert = find(s["window"], "text", connection);
    ASSERT_TRUE(alert);
    const auto* label = find((*alert)["children"][0], "text", connection);
    ASSERT_TRUE(label);
    // Two lines of the message font: taller than one line, still inside its frame.
    EXPECT_GT(num((*label)["textSize"][1]), 30);
    home->dismissAlertView();

    std::string huge;
    for (int i = 0; i < 120; ++i) {
        huge += "Messaggio molto lungo del servizio. ";
    }
    home->showAlertWithTitle("Attenzione", huge, false, std::string("OK"), std::nullopt);
    run("wait 0.1");
    s = state();
    alert = find(s["window"], "text", huge);
    ASSERT_TRUE(alert);
    const auto& pf = (*alert)["children"][0]["windowFrame"];
    EXPECT_GE(num(pf[1]), 0);
    EXPECT_LE(num(pf[1]) + num(pf[3]), 480);
    const auto* ok = find(s["window"], "title", "OK");
    ASSERT_TRUE(ok);
    EXPECT_LE(num((*ok)["windowFrame"][1]) + num((*ok)["windowFrame"][3]), 480);
    tapTitled("OK"); // the button still answers
    EXPECT_TRUE(state()["alert"].is_null());
}
