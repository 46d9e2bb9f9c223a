#pragma once

#include "app/cashmachines/Capoluoghi.h"
#include "app/chrome/VestrinoVC.h"
#include "entities/LumaspotVicino.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/TextField.h"

#include <optional>
#include <string>
#include <vector>

namespace vestrino {

// "Lumaspot vicini": the issuer's cash machines near a town. The person picks a province
// capital from the list (the field above narrows it as they type) and a radius (1, 5 or 20 km);
// the search runs on a background task and the results are listed nearest first with office,
// postcode, province and distance; touching one opens it on a map (the delegate's link
// opener), or, when no program takes it, tells where it is in an alert whose "Copia" puts the
// place on the clipboard. The town and radius are remembered (Preferences): the screen opens on
// the last search's results, the town's name in the field.
class LumaspotViewController : public VestrinoVC,
                               public ui::TableViewDataSource,
                               public ui::TableViewDelegate,
                               public ui::TextFieldDelegate {
public:
    static constexpr std::array<int, 3> kRaggiKm{1, 5, 20};

    std::string layoutName() const override { return "LumaspotViewController"; }
    std::string className() const override { return "LumaspotViewController"; }
    ui::LayoutLoader::Actions layoutActions() override;
    bool isBackButtonRequired() override { return true; }
    int getTagOfSelectedButton() override { return kTagInfo; }

    void bindOutlets() override;
    void viewDidLoad() override;

    // The radius buttons (their tag is the radius in km).
    void raggioChanged(ui::Button& sender);
    // Starts the search around the town.
    void cerca(const Capoluogo& citta);

    int numberOfRows(ui::TableView& table) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView& table, int row) override;
    void didSelectRow(ui::TableView& table, int row) override;
    void textFieldDidChange(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    void alertViewDidDismissWithButtonIndex(ui::AlertView& alert, int index) override;
    // A search left: the town of the results shown stays the one they are for.
    void waitCancelled() override {
        searching_ = false;
        citta_ = cittaBefore_;
    }

    static constexpr int kPlaceAlertTag = 71;

    // What the list shows: the towns to choose from, or the results of the last search.
    bool showingResults() const { return showingResults_; }
    const std::vector<LumaspotVicino>& risultati() const { return risultati_; }
    int raggioKm() const { return raggioKm_; }

private:
    // The layout's controls, bound once when the view loads.
    std::array<std::shared_ptr<ui::Button>, kRaggiKm.size()> raggioButtons_; // as kRaggiKm
    std::shared_ptr<ui::TableView> tableView_;
    std::shared_ptr<ui::TextField> cercaCitta_;
    std::shared_ptr<ui::Label> stato_;

    void showRaggio();
    void showTowns();
    void reloadList();
    void found(int code, std::vector<LumaspotVicino> risultati, std::size_t farther);
    void showPlace(const ATMLumaspot& atm);

    std::vector<const Capoluogo*> towns_;
    std::optional<Capoluogo> citta_;
    std::optional<Capoluogo> cittaBefore_; // the town of the results shown while a search runs
    int raggioKm_ = 5;
    bool showingResults_ = false;
    bool searching_ = false;
    std::vector<LumaspotVicino> risultati_;
    std::string placeToCopy_; // the place the open alert tells of
};

} // namespace vestrino
