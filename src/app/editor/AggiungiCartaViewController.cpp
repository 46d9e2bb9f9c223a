#include "app/editor/AggiungiCartaViewController.h"
#include "core/Translation.h"

#include "app/application/VestrinoAppDelegate.h"
#include "core/DateFormatter.h"
#include "core/RunLoop.h"
#include "core/UnicodeText.h"
#include "core/Utf8.h"
#include "entities/WalletModel.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"
#include "store/GestoreCarteLocali.h"
#include "ui/ImageView.h"
#include "ui/Window.h"

#include <algorithm>
#include <filesystem>

namespace vestrino {

using namespace ui;

namespace {

constexpr std::size_t kMaxNameLength = 30;
constexpr std::size_t kNumberLength = 16;
constexpr double kRenameRaise = 39;
constexpr double kAnonymousSaveX = 36;

// The characters [from, from + count) of the text, counted in code points.
std::string characters(std::string_view text, std::size_t from, std::size_t count) {
    return firstCodePoints(std::string_view(text).substr(byteOffsetOfCodePoint(text, from)), count);
}

// The fields of a card that the editor may change, to put back when a write fails.
struct Saved {
    explicit Saved(const CartaDiPagamento& c)
        : alias(c.alias()), serial(c.serial()), dataAA(c.dataAA()), dataMM(c.dataMM()) {}
    void restore(CartaDiPagamento& c) const {
        c.setAlias(alias);
        c.setSerial(serial);
        c.setDataAA(dataAA);
        c.setDataMM(dataMM);
    }
    std::optional<std::string> alias, serial, dataAA, dataMM;
};

} // namespace

LayoutLoader::Actions AggiungiCartaViewController::layoutActions() {
    return {{"aggiungi", [this](Button&) { aggiungi(); }},
            {"elimina", [this](Button&) { elimina(); }},
            {"backgroundTap", [this](Button&) { backgroundTap(); }}};
}

std::shared_ptr<GestoreCarteLocali> AggiungiCartaViewController::appState() {
    if (!appState_) {
        if (auto delegate = VestrinoAppDelegate::shared()) {
            appState_ = delegate->appState();
        }
    }
    return appState_;
}

std::string AggiungiCartaViewController::cleanupString(std::string_view text) {
    std::string out = trimWhitespaceAndNewlines(text);
    std::erase(out, ' ');
    return out;
}

void AggiungiCartaViewController::bindOutlets() {
    bindOutlet(nomeCarta_, "nomeCarta");
    bindOutlet(numeroCarta_, "numeroCarta");
    bindOutlet(scadenzaCarta_, "scadenzaCarta");
    bindOutlet(scadenzaCartaImg_, "scadenzaCartaImg");
    bindOutlet(aggiungiButton_, "aggiungiButton");
    bindOutlet(titolo_, "titolo");
    bindOutlet(eliminaButton_, "eliminaButton");
    bindOutlet(scadenzaCartaLabel_, "scadenzaCartaLabel");
    bindOutlet(riga_, "riga");
    bindOutlet(numeroMascherato_, "numeroMascherato");
}

void AggiungiCartaViewController::viewDidLoad() {
    for (const auto& f : {nomeCarta_, numeroCarta_, scadenzaCarta_}) {
        f->setDelegate(this);
    }
    // The expiry's background stretches between its rounded ends.
    if (auto img = std::dynamic_pointer_cast<ImageView>(scadenzaCartaImg_); img && img->image()) {
        img->setImage(img->image()->stretchableImage(11, 17));
    }
    if (cp_) {
        auto save = std::dynamic_pointer_cast<Button>(aggiungiButton_);
        const auto normal = UIImage::imageNamed("vestrino_button_modifica_320.png");
        const auto pressed = UIImage::imageNamed("vestrino_button_modifica_selected_320.png");
        save->setImage(normal, ControlState::Normal);
        save->setImage(pressed, ControlState::Highlighted);
        save->setImage(pressed, ControlState::Selected);
        save->setAccessibilityLabel(tr("Salva")); // what the picture says
        std::dynamic_pointer_cast<ImageView>(titolo_)->setImage(
            UIImage::imageNamed("vestrino_title_modifica_carta_320.png"));
        titolo_->setAccessibilityLabel(tr("Modifica la carta"));
        view()->setAccessibilityLabel(tr("Modifica la carta")); // the screen's name
        numeroCarta_->setText(cleanupString(cp_->serial().value_or("")));
        nomeCarta_->setText(cp_->alias().value_or(""));
        if (cp_->anonima()) {
            scadenzaCarta_->setText(cp_->dataMM().value_or("") + "/" + cp_->dataAA().value_or(""));
            eliminaButton_->setHidden(false);
            const Rect f = save->frame();
            save->setFrame(makeRect(kAnonymousSaveX, f.minY(), f.width(), f.height()));
        } else {
            numeroCarta_->setUserInteractionEnabled(false);
            // The number cannot be changed here: shown as text, masked as the wallet shows it,
            // rather than in a field that looks editable.
            numeroCarta_->setHidden(true);
            numeroMascherato_->setText(WalletModel::maskedNumber(cp_->serial().value_or("")));
            numeroMascherato_->setAccessibilityLabel(tr("Numero della carta: ") +
                                                     numeroMascherato_->text());
            numeroMascherato_->setHidden(false);
            for (View* v :
                 std::initializer_list<View*>{scadenzaCartaLabel_.get(), scadenzaCartaImg_.get(),
                                              scadenzaCarta_.get(), riga_.get()}) {
                v->setHidden(true);
            }
            save->setCenter({save->center().x, save->center().y - kRenameRaise});
        }
    }
    VestrinoVC::viewDidLoad();
}

void AggiungiCartaViewController::viewDidUnload() {
    VestrinoVC::viewDidUnload();
    if (auto state = appState()) {
        state->saveState();
    }
}

bool AggiungiCartaViewController::hasOwnKeyboard() const {
    const Window* w = nomeCarta_ ? nomeCarta_->window() : nullptr;
    return w && !w->onScreenKeyboard();
}

void AggiungiCartaViewController::viewDidAppear(bool animated) {
    VestrinoVC::viewDidAppear(animated);
    // With a keyboard of the desktop's own, typing starts in the first field at once; an
    // on-screen keyboard opens only when the person touches a field.
    if (hasOwnKeyboard() && !nomeCarta_->window()->firstResponder()) {
        nomeCarta_->becomeFirstResponder();
    }
}

bool AggiungiCartaViewController::textFieldShouldReturn(TextField& f) {
    const bool last = cp_ && !cp_->anonima() ? &f == nomeCarta_.get() : &f == scadenzaCarta_.get();
    // On a desktop, Return in the last field saves, as in any form there; on a phone it goes
    // round the fields and the save button is touched.
    if (last && hasOwnKeyboard()) {
        aggiungi();
        return false;
    }
    const auto& next = &f == nomeCarta_.get()     ? numeroCarta_
                       : &f == numeroCarta_.get() ? scadenzaCarta_
                                                  : nomeCarta_;
    next->becomeFirstResponder();
    return false;
}

void AggiungiCartaViewController::backgroundTap() {
    for (const auto& f : {nomeCarta_, numeroCarta_, scadenzaCarta_}) {
        f->resignFirstResponder();
    }
}

bool AggiungiCartaViewController::control() {
    const std::string name = nomeCarta_->text();
    const std::string number = numeroCarta_->text();
    const std::string expiry = scadenzaCarta_->text();
    const std::size_t n = codePointCount(name), l = codePointCount(number),
                      e = codePointCount(expiry);
    std::string m;
    if (!cp_ || cp_->anonima()) {
        if (e == 0) {
            m = tr("Data scadenza carta vuoto!");
        } else if (e <= 4) {
            m = tr("Data scadenza carta invalido!");
        } else {
            // The first instant of that month must still be to come: the current month is
            // refused. Only "MM/yy" itself is stored, so nothing longer passes either.
            DateFormatter formatter("MM/yy");
            const auto date = formatter.dateFromString(expiry);
            const bool shaped = e == 5 && characters(expiry, 2, 1) == "/";
            if (!date || !shaped || *date <= RunLoop::main().clock().wallNow()) {
                m = tr("Data scadenza Carta non valida!");
            }
        }
        if (l == 0) {
            m = tr("Numero della carta vuoto!");
        } else if (!allDecimalDigits(number)) {
            m = tr("Caratteri non validi nel numero carta!");
        } else if (l != kNumberLength) {
            m = tr("Il numero della carta deve essere di 16 caratteri!");
        }
    }
    if (n > 0 && codePointCount(trimWhitespaceAndNewlines(name)) > kMaxNameLength) {
        m = tr("Nome della carta troppo lungo!");
    }
    if (m.empty()) {
        return true;
    }
    showAlertWithTitle(tr("Attenzione"), m, false, std::string(tr("OK")), std::nullopt);
    return false;
}

std::shared_ptr<ListaCarte> AggiungiCartaViewController::cardList(std::string& user) {
    auto& cache = RemoteServiceUtil::dictCache();
    const auto name = cache.objectForKey<std::string>(kSessionUsernameKey);
    if (!name) {
        return nullptr;
    }
    user = *name;
    const std::string key = user + "_" + kListaCarteKey;
    if (auto list = cache.objectForKey<std::shared_ptr<ListaCarte>>(key); list && *list) {
        return *list;
    }
    // The session lost its list: start from what is stored, never from nothing. A damaged
    // file has been kept aside by then; one that cannot be read just now stops the change.
    auto stored = RemoteServiceUtil::caricaCartePerModifica(user);
    if (stored.state == CardFileLoad::State::Unavailable) {
        return nullptr;
    }
    return std::make_shared<ListaCarte>(std::move(stored.cards));
}

void AggiungiCartaViewController::showWriteError() {
    showAlertWithTitle(tr("Errore"), tr("Impossibile salvare la carta sul dispositivo."), false,
                       std::string("OK"), std::nullopt);
}

void AggiungiCartaViewController::commit(const std::function<void(ListaCarte&)>& change,
                                         const std::function<void()>& undo) {
    std::string user;
    const auto list = cardList(user);
    if (!list) {
        showWriteError();
        return;
    }
    // What the list looked like, to put back if the file cannot be written.
    const ListaCarte before = *list;
    change(*list);
    if (RemoteServiceUtil::salvaCartePerUtente(user, *list)) {
        if (auto* nav = navigationController()) {
            nav->popViewControllerAnimated(true);
        }
        return;
    }
    *list = before;
    undo();
    showWriteError();
}

bool AggiungiCartaViewController::isNumberOfAnotherCard(ListaCarte& list,
                                                        std::string_view number) const {
    const std::string wanted = cleanupString(number);
    const auto edited = cp_ ? findEdited(list) : list.end();
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it != edited && *it && (*it)->serial() && cleanupString(*(*it)->serial()) == wanted) {
            return true;
        }
    }
    return false;
}

void AggiungiCartaViewController::aggiungi() {
    backgroundTap();
    if (!control()) {
        return;
    }
    const std::string name = trimWhitespaceAndNewlines(nomeCarta_->text());
    const std::string number = numeroCarta_->text();
    const std::string expiry = scadenzaCarta_->text();
    // A number already in the list would make two records of one card, and a later delete of
    // either could not tell them apart: refused before anything changes.
    if (!cp_ || cp_->anonima()) {
        std::string user;
        if (const auto list = cardList(user); list && isNumberOfAnotherCard(*list, number)) {
            showAlertWithTitle(tr("Attenzione"), tr("Questa carta è già tra le tue carte."), false,
                               std::string(tr("OK")), std::nullopt);
            return;
        }
    }
    std::optional<Saved> saved;
    const auto change = [&](ListaCarte& list) {
        if (!cp_) {
            auto card = std::make_shared<CartaDiPagamento>();
            card->setSerial(number);
            card->setAlias(name);
            card->setDataAA(characters(expiry, 3, 2));
            card->setDataMM(characters(expiry, 0, 2));
            card->setAnonima(true);
            list.push_back(card);
            return;
        }
        saved.emplace(*cp_);
        cp_->setAlias(name);
        if (cp_->anonima()) {
            cp_->setSerial(number);
            cp_->setDataAA(characters(expiry, 3, 2));
            cp_->setDataMM(characters(expiry, 0, 2));
        }
        const auto found = findEdited(list);
        if (found != list.end()) {
            (*found)->merge(*cp_);
        } else {
            // The card is not in the list (the session's list was replaced): the edited card
            // itself is stored, never an empty one.
            list.push_back(cp_);
        }
    };
    commit(change, [&] {
        if (saved) {
            saved->restore(*cp_);
        }
    });
}

void AggiungiCartaViewController::elimina() {
    showAlertWithTitle(tr("Elimina Carta"), tr("Eliminare la carta selezionata?"), false,
                       std::string(tr("Annulla")), std::string(tr("OK")));
    if (alertView()) {
        alertView()->setTag(kDeleteAlertTag);
    }
}

void AggiungiCartaViewController::alertViewDidDismissWithButtonIndex(AlertView& alert, int index) {
    VestrinoVC::alertViewDidDismissWithButtonIndex(alert, index);
    if (alert.tag() != kDeleteAlertTag || index != 1 || !cp_) {
        return;
    }
    commit(
        [&](ListaCarte& list) {
            if (const auto found = findEdited(list); found != list.end()) {
                list.erase(found);
            }
        },
        [] {});
}

ListaCarte::iterator AggiungiCartaViewController::findEdited(ListaCarte& list) const {
    // The list's own record first: a list written elsewhere may hold two equal numbers, and
    // only the one being edited is meant. A list read again from the file holds copies, so
    // then the first record equal to the card is taken.
    const auto same = std::find(list.begin(), list.end(), cp_);
    if (same != list.end()) {
        return same;
    }
    return std::find_if(list.begin(), list.end(),
                        [&](const auto& c) { return c && c->isEqual(*cp_); });
}

} // namespace vestrino
