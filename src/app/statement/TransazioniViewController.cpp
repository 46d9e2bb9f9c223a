#include "app/statement/TransazioniViewController.h"
#include "app/chrome/AppStyle.h"
#include "app/chrome/ButtonStyle.h"
#include "core/Translation.h"

#include "app/settings/Preferences.h"
#include "app/statement/MovimentoCell.h"
#include "app/statement/StatementExport.h"
#include "core/Log.h"
#include "core/Paths.h"
#include "core/RunLoop.h"
#include "core/SearchText.h"
#include "core/UnicodeText.h"
#include "core/Utf8.h"
#include "entities/Importo.h"
#include "entities/MovimentoText.h"
#include "entities/StatementFile.h"
#include "ui/Animator.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/TextField.h"

#include <algorithm>
#include <stdexcept>

namespace vestrino {

using namespace ui;

namespace {

constexpr double kArrowFade = 0.125;
// The room left above what the page scrolls into sight.
constexpr double kRevealMargin = 6;
// The most the masked number's characters are spread apart: beyond it they read as separate
// marks, not a number.
constexpr double kMostMaskSpacing = 3;

} // namespace

LayoutLoader::Actions TransazioniViewController::layoutActions() {
    return {{"filterChanged", [this](Button& b) { filterChanged(b); }},
            {"esporta", [this](Button&) { esporta(); }},
            {"mostraGrafico", [this](Button&) { mostraGrafico(); }},
            {"togliMese", [this](Button&) { togliMese(); }},
            // The strip's arrows page it as a drag of one page does.
            {"previousFilters", [this](Button&) { filtroScroll_->pageBy(-1); }},
            {"nextFilters", [this](Button&) { filtroScroll_->pageBy(1); }}};
}

std::string TransazioniViewController::shownAmount(const Movimento& m) const {
    return hideAmounts_ ? std::string(Preferences::kHiddenAmount) : MovimentoText::amount(m);
}

std::string TransazioniViewController::formatted(const std::optional<Date>& date) {
    return date ? dateFormatter_->stringFromDate(*date) : std::string();
}

void TransazioniViewController::bindOutlets() {
    bindOutlet(filtroScroll_, "filtroScroll");
    bindOutlet(esportaButton_, "esportaButton");
    bindOutlet(graficoButton_, "graficoButton");
    bindOutlet(meseChip_, "meseChip");
    bindOutlet(cercaField_, "cercaField");
    bindOutlet(scroll_, "scroll");
    bindOutlet(tableView_, "tableView");
    bindOutlet(intestatario_, "intestatario");
    bindOutlet(tipoCarta_, "tipoCarta");
    bindOutlet(dataSaldo_, "dataSaldo");
    bindOutlet(saldoContabile_, "saldoContabile");
    bindOutlet(saldoDisponibile_, "saldoDisponibile");
    bindOutlet(lastDigit_, "lastDigit");
    bindOutlet(intestatarioPrefix_, "intestatarioPrefix");
    bindOutlet(asterisks_, "asterisks");
    bindOutlet(totaleLabel_, "totaleLabel");
    bindOutlet(vuoto_, "vuoto");
    bindOutlet(toMove_, "toMove");
    bindOutlet(totaleBar_, "totaleBar");
    bindOutlet(frecciaSx_, "frecciaSx");
    bindOutlet(frecciaDx_, "frecciaDx");
}

void TransazioniViewController::viewDidLoad() {
    VestrinoVC::viewDidLoad();
    if (!carta_) {
        carta_ = std::make_shared<CartaDiPagamento>();
    }
    if (!saldo_) {
        saldo_ = std::make_shared<Saldo>();
    }
    filters_.clear();
    filters_.reserve(5);
    dateFormatter_ = std::make_unique<DateFormatter>("dd/MM/yyyy");
    // Every toggle's picture stretches between round ends, in any width.
    const auto pill = UIImage::imageNamed("vestrino_button_filtro_320.png");
    auto strip = filtroScroll_;
    const auto pillStretched = pill ? pill->stretchableImage(20, 25) : nullptr;
    ButtonStyle::makeOption(*esportaButton_);
    ButtonStyle::makeOption(*graficoButton_);
    ButtonStyle::makeOption(*meseChip_);
    meseChip_->setSelected(true); // filled: a filter in force
    // The strip shows two whole toggles a page; Tab turns to the page of the toggle it reaches.
    strip->setFocusTurnsPages(true);
    for (const auto& v : strip->subviews()) {
        if (auto* b = dynamic_cast<Button*>(v.get())) {
            b->setBackgroundImage(pillStretched, ControlState::Normal);
        }
    }
    hideAmounts_ = Preferences::shared().nascondiImporti();
    model_ = StatementModel(movimenti_);
    if (auto field = cercaField_) {
        field->setDelegate(this);
    }
    if (carta_->anonima()) {
        // No holder lines: the card lines and the rest of the page close up.
        applyLayoutVariant("anonima");
    }
    layoutScrollHeight_ = scroll_->frame().height();
    laidOutContentSize_ = scroll_->contentSize();
    // The page runs under the navigation bar, and the count and total stay over its bottom:
    // a control the keyboard reaches comes into sight between the two.
    scroll_->setCoveredEdges(NavigationController::kBarHeight, totaleBar_->frame().height());
    searchFrame_ = cercaField_->frame();
    setUpHeader();
    setUpChart();
    auto table = tableView_;
    table->setDataSource(this);
    table->setTableDelegate(this);
    table->setDelegate(this);
    strip->setDelegate(this);
    scroll_->setDelegate(this);
    ageBar_ = std::make_shared<DataAgeBar>(makeRect(0, ageBarTop(), 320, DataAgeBar::kHeight));
    ageBar_->setAutoresizingMask(ui::kFlexibleWidth);
    view()->addSubview(ageBar_);
    showAge();
    refilter();
}

void TransazioniViewController::setAge(std::string line, std::function<void()> refresh) {
    ageLine_ = std::move(line);
    refresh_ = std::move(refresh);
    if (ageBar_) {
        showAge();
    }
}

void TransazioniViewController::showAge() {
    ageBar_->setText(ageLine_);
    ageBar_->setAction(refresh_ ? tr("Aggiorna") : "", refresh_);
}

void TransazioniViewController::refreshWith(SaldoPtr saldo, ListaMovimenti movimenti) {
    saldo_ = saldo ? std::move(saldo) : std::make_shared<Saldo>();
    movimenti_ = std::move(movimenti);
    const auto month = model_.month();
    model_ = StatementModel(movimenti_);
    model_.setQuery(searchText());
    model_.setMonth(month);
    setUpHeader();
    refilter();
}

void TransazioniViewController::setUpHeader() {
    intestatario_->setText(carta_->intestatario().value_or(""));
    tipoCarta_->setText(carta_->alias() ? *carta_->alias() : tr("Carta Lumacard"));
    dataSaldo_->setText(tr("SALDO AL ") + saldo_->saldoAl().value_or(""));
    if (hideAmounts_) {
        saldoContabile_->setText(Preferences::kHiddenAmount);
        saldoDisponibile_->setText(Preferences::kHiddenAmount);
    } else {
        saldoContabile_->setText(saldo_->saldoContabile().value_or("") + " €");
        saldoDisponibile_->setText(saldo_->saldoDisponibile().value_or("") + " €");
    }
    // The last four characters of the number; a shorter number whole.
    lastDigit_->setText(lastCodePoints(carta_->serial().value_or(""), 4));

    auto scroll = scroll_;
    filtroScroll_->setContentSize(kFiltroContentSize);
    lineUpHeader();
    scroll->setContentSize(contentSize());
}

void TransazioniViewController::setUpChart() {
    // In the list's place and of its size, following the page's height as the list does.
    chart_ = std::make_shared<StatementChartView>(tableView_->frame());
    chart_->setAutoresizingMask(tableView_->autoresizingMask());
    chart_->setHidden(true);
    std::weak_ptr<TransazioniViewController> weak =
        std::static_pointer_cast<TransazioniViewController>(shared_from_this());
    chart_->setMonthChosen([weak](const MonthKey& month) {
        if (auto self = weak.lock()) {
            self->chooseMonth(month);
        }
    });
    // Under the count and total line, which stays over it.
    const auto& siblings = toMove_->subviews();
    const auto bar = std::find(siblings.begin(), siblings.end(), totaleBar_);
    toMove_->insertSubview(chart_, static_cast<std::size_t>(bar - siblings.begin()));
}

void TransazioniViewController::mostraGrafico() {
    const bool show = !chartShown();
    chart_->setHidden(!show);
    graficoButton_->setSelected(show);
    refilter();
    if (show) {
        // The chart opens whole: the page's header goes up as far as it can, as a drag of the
        // list would take it, so the legend, the bars and their months sit above the total.
        scrollPageTo(*chart_);
    }
}

void TransazioniViewController::scrollPageTo(const View& shown) {
    auto scroll = scroll_;
    const double top = shown.convertRectToView(shown.bounds(), scroll.get()).minY();
    const double most = std::max(0.0, scroll->contentSize().height - scroll->frame().height());
    // What is under the navigation bar, which the page runs beneath, is out of sight.
    const double y = std::clamp(top - NavigationController::kBarHeight - kRevealMargin, 0.0, most);
    scroll->setContentOffset({0, y}, true);
}

void TransazioniViewController::chooseMonth(const std::optional<MonthKey>& month) {
    model_.setMonth(month);
    placeMonthChip();
    // A month chosen on the chart is read in the list, under the chip that names it.
    if (month && chartShown()) {
        chart_->setHidden(true);
        graficoButton_->setSelected(false);
        refilter();
        scrollPageTo(*meseChip_);
        return;
    }
    refilter();
}

void TransazioniViewController::placeMonthChip() {
    const auto& month = model_.month();
    meseChip_->setHidden(!month);
    Rect field = searchFrame_;
    if (month) {
        meseChip_->setTitle(month->label() + " \u00d7", ControlState::Normal);
        meseChip_->setAccessibilityLabel(tr("Togli il mese ") + month->label());
        field.size.width = meseChip_->frame().minX() - 4 - field.minX();
        cercaField_->setPlaceholder(tr("Cerca"));
    } else {
        cercaField_->setPlaceholder(tr("Cerca nei movimenti"));
    }
    cercaField_->setFrame(field);
}

void TransazioniViewController::lineUpHeader() {
    auto measured = [](const Label& label, std::string_view text) {
        return ui::TextMeasurer::shared().measure(text, label.font()).width;
    };
    // The holder's name a space after its caption, whatever the caption's width in the font.
    const auto prefix = intestatarioPrefix_;
    const auto holder = intestatario_;
    const double holderX =
        prefix->frame().minX() + measured(*prefix, prefix->text()) + measured(*prefix, " ");
    Rect frame = holder->frame();
    frame.size.width = std::max(0.0, frame.maxX() - holderX);
    frame.origin.x = holderX;
    holder->setFrame(frame);
    // The masked part starts on the card title's left edge and is spread to end a space before
    // the last digits, so that the number reads as one.
    const auto asterisks = asterisks_;
    const auto digits = lastDigit_;
    const double room = digits->frame().minX() - measured(*digits, " ") - asterisks->frame().minX();
    const double natural = measured(*asterisks, asterisks->text());
    const std::size_t gaps = graphemeEnds(asterisks->text(), asterisks->text().size()).size();
    if (gaps > 1 && room > natural) {
        asterisks->setLetterSpacing(
            std::min(kMostMaskSpacing, (room - natural) / static_cast<double>(gaps - 1)));
    }
}

ui::Size TransazioniViewController::contentSize() const {
    const Size laidOut = laidOutContentSize_;
    const auto scroll = scroll_;
    const double added = scroll ? std::max(0.0, scroll->frame().height() - layoutScrollHeight_) : 0;
    return {laidOut.width, laidOut.height + added};
}

void TransazioniViewController::viewDidLayoutSubviews() {
    if (auto scroll = scroll_; scroll && layoutScrollHeight_ > 0) {
        scroll->setContentSize(contentSize());
        placeTotale();
    }
}

void TransazioniViewController::filterChanged(Button& sender) {
    const std::int32_t type = sender.tag();
    if (sender.selected()) {
        std::erase(filters_, type);
    } else {
        filters_.push_back(type);
    }
    refilter();
    if (!sender.backgroundImage(ControlState::Selected)) {
        if (!selectedBackground_) {
            if (const auto image = UIImage::imageNamed("vestrino_button_selected_320.png")) {
                selectedBackground_ = image->stretchableImage(20, 25);
            }
        }
        sender.setBackgroundImage(selectedBackground_, ControlState::Selected);
    }
    sender.setSelected(!sender.selected());
}

void TransazioniViewController::refilter() {
    model_.setTypes(filters_);
    if (auto totale = totaleLabel_) {
        totale->setText(model_.summary().line(hideAmounts_ ? Preferences::kHiddenAmount : ""));
    }
    if (auto vuoto = vuoto_) {
        // An empty list says so, and why.
        vuoto->setHidden(!model_.shown().empty());
        const bool filtered = model_.narrowedByTypes(), searched = model_.narrowedBySearch();
        vuoto->setText(filtered && searched ? tr("Nessun movimento per i filtri e la ricerca")
                       : filtered           ? tr("Nessun movimento per i filtri scelti")
                       : searched           ? tr("Nessun movimento per la ricerca")
                                            : tr("Nessun movimento"));
    }
    const bool chart = chartShown();
    tableView_->setHidden(chart);
    if (chart) {
        vuoto_->setHidden(true);
        chart_->setMonths(model_.months(), model_.month(), hideAmounts_);
    }
    tableView_->reloadData();
    placeTotale();
}

void TransazioniViewController::placeTotale() {
    // The count and total stay in sight whenever the list is: right under the last row when the
    // rows end above the bottom of what the page shows, else along that bottom, over the list.
    auto bar = totaleBar_;
    auto table = tableView_;
    auto scroll = scroll_;
    auto toMove = toMove_;
    if (!bar || !table || !scroll || !toMove) {
        return;
    }
    const Rect list = table->frame();
    // An empty list shows one row's height: the line saying it is empty.
    const std::size_t shown = model_.shown().size();
    // The chart takes the list's whole height.
    const double rows = chartShown() ? list.height() / table->rowHeight()
                        : shown == 0 ? 1.0
                                     : static_cast<double>(shown);
    const double underRows = list.minY() + std::min(list.height(), rows * table->rowHeight());
    const double shownBottom =
        scroll->contentOffset().y + scroll->frame().height() - toMove->frame().minY();
    const double y =
        std::max(list.minY(), std::min(underRows, shownBottom - bar->frame().height()));
    bar->setFrame({{bar->frame().minX(), y}, bar->frame().size});
}

void TransazioniViewController::viewWillAppear(bool animated) {
    VestrinoVC::viewWillAppear(animated);
    // The person may have hidden or shown amounts on the information screen meanwhile.
    if (const bool hide = Preferences::shared().nascondiImporti(); hide != hideAmounts_) {
        hideAmounts_ = hide;
        setUpHeader();
        refilter();
    }
}

void TransazioniViewController::textFieldDidChange(TextField& field) {
    model_.setQuery(field.text());
    refilter();
}

bool TransazioniViewController::textFieldShouldReturn(TextField& field) {
    field.resignFirstResponder();
    return true;
}

std::string TransazioniViewController::searchText() const {
    const auto field = cercaField_;
    return field ? field->text() : std::string();
}

void TransazioniViewController::esporta() {
    if (movimentiFiltrati().empty()) {
        // A file of a header alone would only be one more file to delete.
        showAlertWithTitle(tr("Esportazione"), tr("Nessun movimento da esportare."), false,
                           std::string(tr("OK")), std::nullopt);
        return;
    }
    auto alert = std::make_shared<AlertView>(
        tr("Esporta i movimenti"),
        tr("CSV per un foglio di calcolo; OFX o QIF per GnuCash, KMyMoney e HomeBank."), this,
        std::string(tr("Annulla")),
        std::vector<std::string>(std::begin(kExportFormatTitles), std::end(kExportFormatTitles)));
    alert->setTag(kExportAlertTag);
    // Return writes the CSV, as "Esporta" did before there was a choice; Escape is "Annulla".
    alert->setDefaultButtonIndex(1);
    showAlert(alert);
}

void TransazioniViewController::esporta(StatementFormat format) {
    // The rows as they are now: a refresh may have come while the choice was up.
    const auto rows = movimentiFiltrati();
    const Date now =
        std::chrono::time_point_cast<std::chrono::milliseconds>(RunLoop::main().clock().wallNow());
    StatementFile::Written written;
    try {
        written = StatementFile::write(format, {rows, carta_.get(), saldo_.get(), now});
    } catch (const std::exception& e) {
        Log::write(std::string("statement export: ") + e.what());
        showAlertWithTitle(tr("Errore"), tr("Impossibile salvare il file dei movimenti."), false,
                           std::string(tr("OK")), std::nullopt);
        return;
    }
    if (written.rows == 0) {
        // Every row shown has an amount OFX and QIF cannot hold: no file.
        showAlertWithTitle(tr("Esportazione"),
                           tr("Nessun movimento da esportare in questo formato: nessun importo "
                              "è leggibile."),
                           false, std::string(tr("OK")), std::nullopt);
        return;
    }
    std::string leftOut;
    if (written.leftOut > 0) {
        leftOut = "\n\n" + std::to_string(written.leftOut) +
                  trn(" movimento senza un importo leggibile non è nel file.",
                      " movimenti senza un importo leggibile non sono nel file.", written.leftOut);
    }
    const std::string day = DateFormatter("yyyy-MM-dd").stringFromDate(now);
    const auto file = StatementExport::write(written.text, carta_->serial().value_or(""), day,
                                             StatementFile::extension(format), downloadDirectory());
    if (!file) {
        showAlertWithTitle(tr("Errore"), tr("Impossibile salvare il file dei movimenti."), false,
                           std::string(tr("OK")), std::nullopt);
        return;
    }
    std::string message = std::to_string(written.rows) +
                          trn(" movimento salvato in ", " movimenti salvati in ", written.rows) +
                          file->string() + leftOut;
    if (hideAmounts_) {
        // What the screen hides is in the file all the same: said, so that it is not shared
        // unawares.
        message += tr("\n\nIl file contiene gli importi, nascosti sullo schermo.");
    }
    showAlertWithTitle(tr("Esportazione"), message, false, std::string(tr("OK")), std::nullopt);
}

void TransazioniViewController::alertViewDidDismissWithButtonIndex(AlertView& alert, int index) {
    if (alert.tag() != kExportAlertTag) {
        VestrinoVC::alertViewDidDismissWithButtonIndex(alert, index);
        return;
    }
    if (index >= 1 && index <= static_cast<int>(std::size(kExportFormats))) {
        esporta(kExportFormats[index - 1]);
    }
}

ListaMovimenti TransazioniViewController::movimentiFiltrati() const {
    return model_.rowsShown();
}

std::string TransazioniViewController::rowDescription(const Movimento& m, const ui::Label& label) {
    const std::string date = formatted(m.dataContabile()) + " ";
    const std::string& description = m.descrizione().value_or(std::string());
    // A match past what the row has room for would be cut away with the end of the line: the
    // row then shows the description from the match's word on.
    if (const auto match = findFolded(description, model_.foldedQuery())) {
        const double room = label.frame().width();
        auto& measurer = ui::TextMeasurer::shared();
        if (measurer.measure(date + firstCodePoints(description, match->to), label.font()).width >
            room) {
            return date + excerptAround(description, *match);
        }
    }
    return date + description;
}

int TransazioniViewController::numberOfRows(TableView&) {
    return static_cast<int>(model_.shown().size());
}

std::shared_ptr<TableViewCell> TransazioniViewController::cellForRow(TableView& table, int row) {
    auto cell = std::dynamic_pointer_cast<MovimentoCell>(
        table.dequeueReusableCell(MovimentoCell::kReuseIdentifier));
    if (!cell) {
        std::string error;
        cell = MovimentoCell::fromLayout(error);
        if (!cell) {
            // A build without its row layout cannot show a statement.
            throw std::runtime_error(error);
        }
    }
    const Movimento& m = model_.row(static_cast<std::size_t>(row));
    cell->desc()->setText(rowDescription(m, *cell->desc()));
    const std::string importo = MovimentoText::amount(m);
    // Hidden amounts hide their sign too, colour included.
    cell->importo()->setTextColor(importo.starts_with("+") && !hideAmounts_ ? appstyle::kCredit
                                                                            : appstyle::kDebit);
    cell->importo()->setText(hideAmounts_ ? std::string(Preferences::kHiddenAmount) : importo);
    return cell;
}

void TransazioniViewController::didSelectRow(TableView&, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= model_.shown().size()) {
        return;
    }
    const Movimento& m = model_.row(static_cast<std::size_t>(row));
    const std::string message = MovimentoText::detail(m, shownAmount(m), *dateFormatter_);
    showAlertWithTitle(tr("Dettaglio Movimento"), message, false, std::string(tr("OK")),
                       std::nullopt);
}

void TransazioniViewController::scrollViewDidEndDecelerating(ScrollView& scroll) {
    if (&scroll != filtroScroll_.get()) {
        return;
    }
    const double x = scroll.contentOffset().x;
    const double width = scroll.frame().width();
    const double content = scroll.contentSize().width;
    auto left = frecciaSx_, right = frecciaDx_;
    Animator::shared().animate({.duration = kArrowFade, .name = "frecce"}, [&] {
        right->setAlpha(x + width < content ? 1 : 0);
        left->setAlpha(x > 0 ? 1 : 0);
    });
}

void TransazioniViewController::scrollViewDidScroll(ScrollView& scroll) {
    if (&scroll == scroll_.get()) {
        placeTotale();
        return;
    }
    scrollViewDidEndDecelerating(scroll);
}

void TransazioniViewController::scrollViewDidEndDragging(ScrollView& scroll, bool) {
    scrollViewDidEndDecelerating(scroll);
}

void TransazioniViewController::exit() {
    if (auto* nav = navigationController()) {
        nav->pushViewController(makeScreen(Place::Login), true);
    }
}

} // namespace vestrino
