#pragma once

#include "app/chrome/DataAgeBar.h"
#include "app/chrome/VestrinoVC.h"
#include "app/statement/StatementChartView.h"
#include "core/DateFormatter.h"
#include "entities/CartaDiPagamento.h"
#include "entities/Movimento.h"
#include "entities/Saldo.h"
#include "entities/StatementFile.h"
#include "entities/StatementModel.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/View.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vestrino {

// The statement screen: one card's balance and its transactions, newest value date first,
// narrowed by five filter toggles (one per classified type; with none on, every transaction
// shows), and a touch on a row shows the transaction in full. It makes no request: the wallet
// hands it what it fetched.
//
// Beside that: a search field above the list narrows the rows to those whose description
// holds the typed text (case and accents ignored) together with the toggles; a line under the
// list counts the rows shown and adds up their amounts (exact cents); "Esporta" writes the
// rows shown to a CSV, OFX or QIF file in the download folder; amounts read "••• €" while the
// person hides them. "Grafico" shows, in place of the list, a bar pair per month of the rows the
// toggles and the search let through; choosing a month narrows the list to it, with a chip
// beside the search that takes the month away again.
class TransazioniViewController : public VestrinoVC,
                                  public ui::TableViewDataSource,
                                  public ui::TableViewDelegate,
                                  public ui::ScrollViewDelegate,
                                  public ui::TextFieldDelegate {
public:
    static constexpr ui::Size kFiltroContentSize{560, 40};

    std::string layoutName() const override { return "TransazioniViewController"; }
    std::string className() const override { return "TransazioniViewController"; }
    ui::LayoutLoader::Actions layoutActions() override;
    bool isBackButtonRequired() override { return true; }

    // The inputs, set before the view loads.
    void setCarta(CartaDiPagamentoPtr carta) { carta_ = std::move(carta); }
    const CartaDiPagamentoPtr& carta() const { return carta_; }
    void setSaldo(SaldoPtr saldo) { saldo_ = std::move(saldo); }
    const SaldoPtr& saldo() const { return saldo_; }
    void setMovimenti(ListaMovimenti movimenti) { movimenti_ = std::move(movimenti); }
    const ListaMovimenti& movimenti() const { return movimenti_; }
    // How old the statement is ("Dati del …", "Senza connessione: dati del …") and, when it can
    // be fetched again, what "Aggiorna" does.
    void setAge(std::string line, std::function<void()> refresh);
    const std::shared_ptr<DataAgeBar>& ageBar() const { return ageBar_; }
    // The statement fetched again, shown in place: the filters, the search and the month chosen
    // stay.
    void refreshWith(SaldoPtr saldo, ListaMovimenti movimenti);

    void bindOutlets() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    // On a taller screen the page and its list are taller by the same points.
    void viewDidLayoutSubviews() override;

    // Switches the type of the toggle (its tag) on or off and lists again.
    void filterChanged(ui::Button& sender);
    // The rows shown, in display order; the types switched on, in the order they were.
    ListaMovimenti movimentiFiltrati() const;
    const std::vector<std::int32_t>& filters() const { return filters_; }

    int numberOfRows(ui::TableView& table) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView& table, int row) override;
    void didSelectRow(ui::TableView& table, int row) override;

    // Only the filter strip is acted on: its arrows say whether more toggles lie either way.
    void scrollViewDidScroll(ui::ScrollView& scroll) override;
    void scrollViewDidEndDragging(ui::ScrollView& scroll, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(ui::ScrollView& scroll) override;

    // A new login screen pushed on the stack.
    void exit();

    // The search field: every change narrows the list at once; return ends the editing.
    void textFieldDidChange(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    // The search text as typed.
    std::string searchText() const;
    // The count and total of the rows shown.
    const StatementSummary& summary() const { return model_.summary(); }
    // Asks which format ("Esporta i movimenti": CSV, OFX, QIF or "Annulla"), then writes the
    // rows shown in it to the download folder and says where (or that it could not).
    void esporta();
    void esporta(StatementFormat format);
    static constexpr int kExportAlertTag = 81;
    // The choice's buttons after "Annulla", and the format each one writes.
    static constexpr const char* kExportFormatTitles[] = {"CSV", "OFX", "QIF"};
    static constexpr StatementFormat kExportFormats[] = {StatementFormat::Csv, StatementFormat::Ofx,
                                                         StatementFormat::Qif};
    void alertViewDidDismissWithButtonIndex(ui::AlertView& alert, int index) override;
    // The chart in place of the list, or the list again.
    void mostraGrafico();
    bool chartShown() const { return chart_ && !chart_->hidden(); }
    // The month chosen on the chart: the list shows it alone, the chip says which.
    void chooseMonth(const std::optional<MonthKey>& month);
    void togliMese() { chooseMonth(std::nullopt); }
    const std::optional<MonthKey>& month() const { return model_.month(); }
    const std::shared_ptr<StatementChartView>& chart() const { return chart_; }

    // The amount as shown: MovimentoText::amount, or "••• €" while amounts are hidden.
    std::string shownAmount(const Movimento& movimento) const;

private:
    // The layout's controls, bound once when the view loads.
    std::shared_ptr<ui::ScrollView> filtroScroll_;
    std::shared_ptr<ui::Button> esportaButton_;
    std::shared_ptr<ui::Button> graficoButton_;
    std::shared_ptr<ui::Button> meseChip_;
    std::shared_ptr<StatementChartView> chart_;
    std::shared_ptr<ui::TextField> cercaField_;
    std::shared_ptr<ui::ScrollView> scroll_;
    std::shared_ptr<ui::TableView> tableView_;
    std::shared_ptr<ui::Label> intestatario_;
    std::shared_ptr<ui::Label> tipoCarta_;
    std::shared_ptr<ui::Label> dataSaldo_;
    std::shared_ptr<ui::Label> saldoContabile_;
    std::shared_ptr<ui::Label> saldoDisponibile_;
    std::shared_ptr<ui::Label> lastDigit_;
    std::shared_ptr<ui::Label> intestatarioPrefix_;
    std::shared_ptr<ui::Label> asterisks_;
    std::shared_ptr<ui::Label> totaleLabel_;
    std::shared_ptr<ui::Label> vuoto_;
    std::shared_ptr<ui::View> toMove_;
    std::shared_ptr<ui::View> totaleBar_;
    std::shared_ptr<ui::View> frecciaSx_;
    std::shared_ptr<ui::View> frecciaDx_;
    std::shared_ptr<DataAgeBar> ageBar_;
    std::string ageLine_;
    std::function<void()> refresh_;

    void setUpHeader();
    void setUpChart();
    // The search field and the month chip share the row: the field narrows while the chip
    // shows.
    void placeMonthChip();
    void showAge();
    // A row's first line: the booking date and the description, from the search's match on
    // when the match would not fit.
    std::string rowDescription(const Movimento& m, const ui::Label& label);
    // Scrolls the page (animated) so that the view's top is just under the navigation bar, or
    // as near as the page goes.
    void scrollPageTo(const ui::View& shown);
    void lineUpHeader();
    // The page's content: the layout's, taller by what the screen adds to the page's height.
    ui::Size contentSize() const;
    // The count and total line, kept where the list can be seen.
    void placeTotale();
    // movimentiFiltrati from the filters (and the search), the line, and the table reloaded.
    void refilter();
    std::string formatted(const std::optional<Date>& date);

    CartaDiPagamentoPtr carta_;
    SaldoPtr saldo_;
    ListaMovimenti movimenti_;
    std::vector<std::int32_t> filters_;
    std::unique_ptr<DateFormatter> dateFormatter_;
    std::shared_ptr<ui::UIImage> selectedBackground_;
    // The rows shown for the toggles and the search, sorted once, and their total.
    StatementModel model_;
    bool hideAmounts_ = false;
    double layoutScrollHeight_ = 0; // the page's height as laid out (a 480-point screen)
    ui::Size laidOutContentSize_;   // what the page holds as laid out, for this card
    ui::Rect searchFrame_;          // the search field's frame as laid out
};

} // namespace vestrino
