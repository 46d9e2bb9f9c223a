#include "app/cashmachines/LumaspotViewController.h"
#include "app/chrome/AppStyle.h"
#include "app/chrome/ButtonStyle.h"
#include "core/Translation.h"

#include "app/application/LinkOpener.h"
#include "app/application/VestrinoAppDelegate.h"
#include "app/cashmachines/LumaspotCell.h"
#include "app/settings/Preferences.h"
#include "core/GeoDistance.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"
#include "ui/Label.h"
#include "ui/TextField.h"
#include "ui/Window.h"

#include <algorithm>

namespace vestrino {

using namespace ui;

namespace {} // namespace

LayoutLoader::Actions LumaspotViewController::layoutActions() {
    return {{"raggioChanged", [this](Button& b) { raggioChanged(b); }}};
}

void LumaspotViewController::bindOutlets() {
    bindOutlet(tableView_, "tableView");
    bindOutlet(cercaCitta_, "cercaCitta");
    bindOutlet(stato_, "stato");
    for (std::size_t i = 0; i < kRaggiKm.size(); ++i) {
        bindOutlet(raggioButtons_[i], "raggio" + std::to_string(kRaggiKm[i]));
    }
}

void LumaspotViewController::viewDidLoad() {
    VestrinoVC::viewDidLoad();
    auto& prefs = Preferences::shared();
    raggioKm_ = prefs.lumaspotRaggioKm();
    auto table = tableView_;
    table->setDataSource(this);
    table->setTableDelegate(this);
    cercaCitta_->setDelegate(this);
    for (const auto& b : raggioButtons_) {
        ButtonStyle::makeOption(*b);
    }
    showRaggio();
    const auto last = prefs.lumaspotCitta();
    const Capoluogo* remembered = last ? Capoluoghi::shared().named(*last) : nullptr;
    if (remembered) {
        // The town searched again is the one in the field.
        cercaCitta_->setText(remembered->nome);
        cerca(*remembered);
    } else {
        showTowns();
    }
}

void LumaspotViewController::showRaggio() {
    for (std::size_t i = 0; i < kRaggiKm.size(); ++i) {
        raggioButtons_[i]->setSelected(kRaggiKm[i] == raggioKm_);
    }
}

void LumaspotViewController::showTowns() {
    showingResults_ = false;
    towns_ = Capoluoghi::shared().matching(cercaCitta_->text());
    stato_->setText(towns_.empty() ? tr("Nessuna città con questo nome.") : tr("Scegli una città"));
    reloadList();
}

void LumaspotViewController::raggioChanged(Button& sender) {
    raggioKm_ = sender.tag();
    showRaggio();
    if (citta_ && showingResults_) {
        cerca(*citta_);
    }
}

void LumaspotViewController::cerca(const Capoluogo& citta) {
    if (searching_) {
        return;
    }
    cittaBefore_ = citta_;
    citta_ = citta;
    Preferences::shared().setLumaspot(citta.nome, raggioKm_);
    if (auto field = cercaCitta_) {
        field->resignFirstResponder();
    }
    searching_ = true;
    showAlertWithTitle(tr("Attendere"), tr("Ricerca dei Lumaspot in corso"), true, std::nullopt,
                       std::nullopt);
    const double lat = citta.lat, lng = citta.lng;
    const int raggio = raggioKm_;
    struct Reply {
        int code = 0;
        std::vector<LumaspotVicino> nearest;
        std::size_t farther = 0;
    };
    runServiceCall<Reply>(
        [lat, lng, raggio] {
            ListaLumaspot found;
            Reply r;
            r.code = RemoteServiceUtil::trovaAtmLumaSpot(static_cast<float>(lat),
                                                         static_cast<float>(lng),
                                                         static_cast<float>(raggio), found);
            r.nearest = LumaspotVicino::nearestFirst(found, lat, lng);
            r.farther = LumaspotVicino::fartherLast(r.nearest, raggio);
            return r;
        },
        [this](Reply r) { this->found(r.code, std::move(r.nearest), r.farther); });
}

void LumaspotViewController::found(int code, std::vector<LumaspotVicino> risultati,
                                   std::size_t farther) {
    searching_ = false;
    dismissAlertView();
    if (code != SUCCESS) {
        serviceCallFailed(
            code, std::nullopt,
            {.noConnection = N_("Impossibile cercare i Lumaspot: verificare la connessione."),
             .failed = N_("La ricerca dei Lumaspot non è riuscita. Riprovare più tardi."),
             .expiredSessionLogsOut = false});
        showTowns();
        return;
    }
    risultati_ = std::move(risultati);
    showingResults_ = true;
    const std::string where =
        tr(" entro ") + std::to_string(raggioKm_) + tr(" km da ") + citta_->nome;
    // The count is of those within the radius; any the service sent from farther away are
    // listed after them and counted apart.
    const std::size_t within = risultati_.size() - std::min(farther, risultati_.size());
    std::string line = within == 0
                           ? tr("Nessun Lumaspot") + where
                           : std::to_string(within) + trn(" Lumaspot", " Lumaspot", within) + where;
    if (farther > 0) {
        line += ", " + std::to_string(farther) + trn(" più lontano", " più lontani", farther);
    } else if (within == 0) {
        line += ".";
    }
    stato_->setText(line);
    reloadList();
}

void LumaspotViewController::reloadList() {
    // Another list: nothing chosen in it yet, and from its top.
    auto table = tableView_;
    table->selectRow(std::nullopt);
    table->setContentOffset({0, 0});
    table->reloadData();
}

int LumaspotViewController::numberOfRows(TableView&) {
    return static_cast<int>(showingResults_ ? risultati_.size() : towns_.size());
}

std::shared_ptr<TableViewCell> LumaspotViewController::cellForRow(TableView& table, int row) {
    const auto index = static_cast<std::size_t>(row);
    if (!showingResults_) {
        auto cell = table.dequeueReusableCell("Citta");
        if (!cell) {
            cell = std::make_shared<TableViewCell>("Citta");
        }
        const Capoluogo& c = *towns_[index];
        cell->textLabel().setText(c.nome + " (" + c.sigla + ")");
        return cell;
    }
    auto cell = std::dynamic_pointer_cast<LumaspotCell>(
        table.dequeueReusableCell(LumaspotCell::kReuseIdentifier));
    if (!cell) {
        cell = std::make_shared<LumaspotCell>();
    }
    const auto& v = risultati_[index];
    cell->ufficio().setText(v.atm->ufficio().value_or(""));
    cell->luogo().setText(v.atm->cap().value_or("") + " · " + v.atm->provincia().value_or(""));
    cell->distanza().setText(v.km ? GeoDistance::italianText(*v.km) : std::string());
    return cell;
}

void LumaspotViewController::didSelectRow(TableView& table, int row) {
    const auto index = static_cast<std::size_t>(row);
    if (!showingResults_) {
        if (index < towns_.size()) {
            const Capoluogo chosen = *towns_[index];
            cerca(chosen);
        }
        return;
    }
    if (index >= risultati_.size()) {
        return;
    }
    const ATMLumaspotPtr atm = risultati_[index].atm;
    if (const auto p = LumaspotVicino::position(*atm)) {
        if (const auto& opener = VestrinoAppDelegate::shared()->linkOpener()) {
            std::weak_ptr<ViewController> weak = shared_from_this();
            opener->openPlace(
                LinkOpener::geoLink(p->first, p->second), LinkOpener::webLink(p->first, p->second),
                [weak, atm](bool opened) {
                    const auto self = std::static_pointer_cast<LumaspotViewController>(weak.lock());
                    // Told only while the screen is still shown.
                    if (!opened && self && self->isViewLoaded() && self->view()->window()) {
                        self->showPlace(*atm);
                    }
                });
        }
    } else {
        showPlace(*atm); // nothing a map could open: where it is, in words
    }
    // The place has been handed on: the row goes back to how it looked.
    table.selectRow(std::nullopt);
}

void LumaspotViewController::showPlace(const ATMLumaspot& atm) {
    if (isAlertShown()) {
        return;
    }
    const std::string office = atm.ufficio().value_or("");
    const std::string place = atm.cap().value_or("") + " " + atm.provincia().value_or("");
    const auto p = LumaspotVicino::position(atm);
    const std::string coordinates = p ? LinkOpener::coordinates(p->first, p->second) : "";
    placeToCopy_ = office + ", " + place + (p ? " (" + coordinates + ")" : "");
    const std::string message = std::string(p ? tr("Nessun programma ha aperto la mappa.")
                                              : tr("La posizione non è nota.")) +
                                "\n\n" + office + "\n" + place +
                                (p ? tr("\nCoordinate: ") + coordinates : "");
    showAlertWithTitle(tr("Mappa non disponibile"), message, false, std::string(tr("OK")),
                       std::string(tr("Copia")));
    if (alertView()) {
        alertView()->setTag(kPlaceAlertTag);
    }
}

void LumaspotViewController::alertViewDidDismissWithButtonIndex(ui::AlertView& alert, int index) {
    VestrinoVC::alertViewDidDismissWithButtonIndex(alert, index);
    if (alert.tag() == kPlaceAlertTag && index == 1) {
        if (ui::Window* w = window(); w && w->clipboard()) {
            w->clipboard()->setText(placeToCopy_);
        }
    }
}

void LumaspotViewController::textFieldDidChange(TextField&) {
    showTowns();
}

bool LumaspotViewController::textFieldShouldReturn(TextField& field) {
    // Return chooses the first town that matches.
    showTowns();
    if (!towns_.empty()) {
        const Capoluogo chosen = *towns_.front();
        cerca(chosen);
    } else {
        field.resignFirstResponder();
    }
    return true;
}

} // namespace vestrino
