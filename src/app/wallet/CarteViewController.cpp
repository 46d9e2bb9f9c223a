#include "app/wallet/CarteViewController.h"
#include "app/session/Session.h"
#include "app/session/SessionLogin.h"
#include "app/settings/Preferences.h"
#include "core/SecretText.h"
#include "core/Translation.h"
#include "store/FileUtils.h"

#include "app/editor/AggiungiCartaViewController.h"
#include "app/statement/TransazioniViewController.h"
#include "core/DictCache.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"
#include "service/StatementRequest.h"
#include "ui/Animator.h"
#include "ui/Window.h"

#include <algorithm>
#include <cmath>

namespace vestrino {

using namespace ui;

namespace {

// The fades' 0.4 and 0.1 s are 32-bit values widened, as the phone computed them.
constexpr double kFade = static_cast<double>(0.4f);
constexpr double kTapFade = static_cast<double>(0.1f);
// What the person hears when the cards kept on the device could not be read.
constexpr const char* kCardFileKeptAside =
    N_("Le carte salvate sul dispositivo non si possono leggere: il file è stato messo da parte. "
       "Le carte anonime andranno aggiunte di nuovo.");
constexpr const char* kCardFileUnavailable =
    N_("Le carte salvate sul dispositivo non si possono leggere in questo momento. Riprova più "
       "tardi.");
constexpr const char* kCardUnavailable = N_("Impossibile recuperare le informazioni sulla carta");
constexpr const char* kNeedsConnection =
    N_("Serve una connessione: riprovare quando la rete è disponibile.");

} // namespace

LayoutLoader::Actions CarteViewController::layoutActions() {
    return {{"abcButtonTapped", [this](Button&) { abcButtonTapped(); }},
            {"addButtonTapped", [this](Button&) { addButtonTapped(); }},
            {"scegliButtonTapped", [this](Button&) { scegliButtonTapped(); }},
            // The arrows beside the carousel page it as a drag of one page does.
            {"previousCard", [this](Button&) { scrollViewImages_->pageBy(-1); }},
            {"nextCard", [this](Button&) { scrollViewImages_->pageBy(1); }}};
}

std::vector<std::shared_ptr<View>> CarteViewController::controlsUnderTheCarousel() const {
    return {labelDesc_, labelSerial_, btnScegli_, btnAlias_, pageControl_, rightArrow_, leftArrow_};
}

void CarteViewController::bindOutlets() {
    bindOutlet(labelDesc_, "labelDesc");
    bindOutlet(labelSerial_, "labelSerial");
    bindOutlet(btnScegli_, "btnScegli");
    bindOutlet(btnAlias_, "btnAlias");
    bindOutlet(pageControl_, "pageControl");
    bindOutlet(rightArrow_, "rightArrow");
    bindOutlet(leftArrow_, "leftArrow");
    bindOutlet(scrollViewImages_, "scrollViewImages");
}

void CarteViewController::viewDidLoad() {
    VestrinoVC::viewDidLoad();
    prevOffset_ = {0, 0};
    showAlertWithTitle(tr("Attendere"), tr("Caricamento dati in corso..."), true, std::nullopt,
                       std::nullopt);
    imgAnonima_ =
        UIImage::imageNamed("vestrino_button_dai_nome_carta_320.png")->stretchableImage(26, 27);
    imgScegliOn_ = UIImage::imageNamed("vestrino_button_scegli_320_selected.png");
    imgScegliOff_ = UIImage::imageNamed("vestrino_button_scegli_320.png");
    imgAggiungiOn_ = UIImage::imageNamed("vestrino_button_aggiungi_320_selected.png");
    imgAggiungiOff_ = UIImage::imageNamed("vestrino_button_aggiungi_320.png");
    for (const auto& control : controlsUnderTheCarousel()) {
        control->setHidden(true);
    }
    btnAlias_->setBackgroundImage(imgAnonima_, ControlState::Normal);
    scrollViewImages_->setDelegate(this);
    pageControl_->setDelegate(this);
}

void CarteViewController::viewWillAppear(bool animated) {
    VestrinoVC::viewWillAppear(animated);
    wallet_ = WalletModel();
    if (session() && session()->offline()) {
        showOfflineCards();
        return;
    }
    loadCardList();
}

void CarteViewController::loadCardList() {
    struct Reply {
        int code = 0;
        std::shared_ptr<ListaCarte> carte;
        std::optional<std::string> message;
    };
    waitingForList_ = true;
    runServiceCall<Reply>(
        [] {
            Reply r;
            r.code = RemoteServiceUtil::listaCarteForUserSession(r.carte, r.message);
            return r;
        },
        [this](Reply r) {
            waitingForList_ = false;
            loaded(r.code, std::move(r.carte), std::move(r.message));
        });
}

void CarteViewController::viewWillDisappear(bool animated) {
    prevOffset_ = scrollViewImages_->contentOffset();
    focusWasOnCard_ = std::any_of(pages_.begin(), pages_.end(),
                                  [](const auto& page) { return page->isFirstResponder(); });
    VestrinoVC::viewWillDisappear(animated);
}

void CarteViewController::loaded(int code, std::shared_ptr<ListaCarte> carte,
                                 std::optional<std::string> message) {
    if (code != SUCCESS || !carte) {
        // A list that cannot be had ends the session, whatever the reason.
        forceLogoutSessionExpired(message.value_or(kTemporaryProblem));
        return;
    }
    // The list is handed over here, on the main thread: no action reads a list that is half
    // made.
    wallet_ = WalletModel(*carte);
    if (session()) {
        session()->cardsFetched(*carte, RunLoop::main().clock().wallNow());
    }
    showLoadedData();
    showCardFileNotice();
}

void CarteViewController::showOfflineCards() {
    // The cards on this device (the anonymous ones, which may be newer than the copy), then
    // the account's as the copy has them.
    const auto& copy = session()->copy();
    auto cards = RemoteServiceUtil::caricaCartePerModifica(session()->user()).cards;
    for (const auto& c : copy.carte) {
        const auto same = std::find_if(cards.begin(), cards.end(),
                                       [&](const auto& s) { return s && s->isEqual(*c); });
        if (same == cards.end()) {
            cards.push_back(c->copy());
        }
    }
    wallet_ = WalletModel(cards);
    showLoadedData();
    showAgeBar();
}

void CarteViewController::showAgeBar() {
    if (!ageBar_) {
        ageBar_ = std::make_shared<DataAgeBar>(makeRect(0, ageBarTop(), 320, DataAgeBar::kHeight));
        ageBar_->setAutoresizingMask(kFlexibleWidth);
        view()->addSubview(ageBar_);
    }
    const bool offline = session() && session()->offline();
    ageBar_->setText(offline ? Session::offlineLine(session()->copy().cardsAt) : "");
    ageBar_->setAction(offline ? tr("Riprova") : "", [this] { riprova(); });
}

void CarteViewController::riprova() {
    // A real login with the name and password of the offline session; when it works, the
    // wallet goes online in place (the list is fetched again), otherwise it stays as it is.
    if (!session() || !session()->offline()) {
        return;
    }
    showAlertWithTitle(tr("Attendere"), tr("Richiesta autenticazione in corso"), true, std::nullopt,
                       std::nullopt);
    using Reply = SessionLogin::Reply;
    runServiceCall<Reply>(
        [user = session()->user(), password = session()->retryPassword(),
         folder = FileUtils::applicationDocumentsDirectory(),
         keepCopy = Preferences::shared().usoSenzaConnessione()]() mutable {
            auto r = SessionLogin::run(user, password, folder, keepCopy, false);
            wipeSecret(password);
            return r;
        },
        [this](Reply r) {
            if (r.code != LOGIN_OK || !r.session) {
                dismissAlertView();
                showAlertWithTitle(
                    tr("Attenzione"),
                    failureText(r.code, r.message, {.noConnection = kLoginConnectionProblem}),
                    false, std::string(tr("OK")), std::nullopt);
                return;
            }
            session()->end();
            setSession(std::move(r.session));
            ageBar_->setText("");
            ageBar_->setAction("", nullptr);
            loadCardList();
        });
}

bool CarteViewController::needsConnection() {
    if (!session() || !session()->offline()) {
        return false;
    }
    showAlertWithTitle(tr("Senza connessione"), tr(kNeedsConnection), false, std::string(tr("OK")),
                       std::nullopt);
    return true;
}

void CarteViewController::showCardFileNotice() {
    const auto user = RemoteServiceUtil::dictCache().objectForKey<std::string>(kSessionUsernameKey);
    const auto notice = user ? RemoteServiceUtil::takeCardFileNotice(*user) : std::nullopt;
    if (!notice) {
        return;
    }
    showAlertWithTitle(
        tr("Attenzione"),
        tr(*notice == CardFileLoad::State::Damaged ? kCardFileKeptAside : kCardFileUnavailable),
        false, std::string(tr("OK")), std::nullopt);
}

void CarteViewController::showLoadedData() {
    dismissAlertView();
    auto carousel = scrollViewImages_;
    for (const auto& page : pages_) {
        page->removeFromSuperview();
    }
    pages_.clear();
    const int n = wallet_.pageCount();
    if (n > 0) {
        for (const auto& control : controlsUnderTheCarousel()) {
            control->setHidden(false);
        }
        for (int k = 1; k <= n; ++k) {
            auto page = std::make_shared<QVImageView>(UIImage::imageNamed(
                k < n ? "vestrino_card_lumacard_320.png" : "vestrino_card_lumacard_BW_320.png"));
            page->setFrame(makeRect(wallet_.offsetOf(k - 1), 0, kPageWidth, kPageHeight));
            page->setContentMode(ContentMode::Top);
            page->setUserInteractionEnabled(true);
            // A card is chosen when the touch ends: a press that turns into a drag of the
            // carousel is cancelled and chooses nothing. Tab reaches the card in view.
            page->setTapsOnRelease(true);
            page->setFocusable(true);
            page->setTag(k);
            page->setDelegate(this);
            page->setAccessibleRole(AccessibleRole::PageTab);
            page->setAccessibilityLabel(wallet_.caption(k - 1).pageName);
            pages_.push_back(page);
            carousel->addSubview(page);
        }
        carousel->setContentSize({kPageWidth * n, kPageHeight});
        pageControl_->setNumberOfPages(static_cast<std::uint32_t>(n));
        restorePrevOffset();
        // The arrows come in already right for the page shown: no arrow shows for a moment
        // beside the first card while the screen slides in.
        showArrowsForPage(wallet_.pageAt(carousel->contentOffset().x), false);
    }
    dismissAlertView();
    scrollViewDidEndDecelerating(*carousel);
    giveFocusBackToCard();
}

void CarteViewController::giveFocusBackToCard() {
    // Back from a card's statement or its editor by the keyboard: the ring is on the card in
    // view again (its picture was made anew with the list), so Return chooses it once more.
    Window* w = view()->window();
    const int p = pageShown();
    if (!focusWasOnCard_ || !w || w->onScreenKeyboard() || p < 0 ||
        p >= static_cast<int>(pages_.size())) {
        return;
    }
    focusWasOnCard_ = false;
    if (View* focus = w->firstResponder(); !focus || !focus->isDescendantOf(view().get())) {
        pages_[static_cast<std::size_t>(p)]->becomeFirstResponder();
    }
}

int CarteViewController::pageShown() const {
    // The page indicator counts from 1.
    return static_cast<int>(pageControl_->selectedPage()) - 1;
}

CartaDiPagamentoPtr CarteViewController::getCurrentCarta() const {
    const int page = pageShown();
    if (page < 0 || page >= wallet_.pageCount()) {
        return nullptr;
    }
    return wallet_.entries()[static_cast<std::size_t>(page)];
}

void CarteViewController::scrollViewDidScroll(ScrollView& scroll) {
    if (!wallet_.loaded()) {
        return; // reloading: nothing to follow
    }
    const int p = wallet_.pageAt(scroll.contentOffset().x);
    pageControl_->setSelectedPage(static_cast<std::uint32_t>(p + 1));
    View *alias = btnAlias_.get(), *desc = labelDesc_.get(), *serial = labelSerial_.get();
    if (alias->alpha() == 1 && desc->alpha() == 1 && serial->alpha() == 1) {
        Animator::shared().animate({.duration = kFade, .name = "myFadeOut"}, [&] {
            alias->setAlpha(0);
            desc->setAlpha(0);
            serial->setAlpha(0);
        });
    }
}

void CarteViewController::scrollViewDidEndDragging(ScrollView&, bool willDecelerate) {
    if (!willDecelerate) {
        settle();
    }
}

void CarteViewController::scrollViewDidEndDecelerating(ScrollView&) {
    settle();
}

void CarteViewController::scrollViewDidEndScrollingAnimation(ScrollView&) {
    settle();
}

void CarteViewController::showArrowsForPage(int p, bool animated) {
    const WalletModel::Arrows arrows = wallet_.arrows(p);
    auto leftArrow = leftArrow_, rightArrow = rightArrow_;
    auto apply = [&] {
        rightArrow->setAlpha(arrows.right ? 1 : 0);
        leftArrow->setAlpha(arrows.left ? 1 : 0);
    };
    if (animated) {
        Animator::shared().animate({.duration = 0.25}, apply);
    } else {
        apply();
    }
}

void CarteViewController::settle() {
    if (!wallet_.loaded()) {
        return;
    }
    auto carousel = scrollViewImages_;
    const int p = wallet_.pageAt(carousel->contentOffset().x);
    const WalletModel::Caption caption = wallet_.caption(p);
    showArrowsForPage(p, true);
    auto scegli = btnScegli_;
    auto alias = btnAlias_;
    const bool add = wallet_.isAddPage(p);
    scegli->setImage(add ? imgAggiungiOff_ : imgScegliOff_, ControlState::Normal);
    scegli->setImage(add ? imgAggiungiOn_ : imgScegliOn_, ControlState::Highlighted);
    scegli->setImage(add ? imgAggiungiOn_ : imgScegliOn_, ControlState::Selected);
    alias->setTitle(caption.nameTitle, ControlState::Normal);
    scegli->setAccessibilityLabel(caption.chooseName);
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        pages_[i]->setAccessibleSelected(static_cast<int>(i) == p);
    }
    labelDesc_->setText(caption.desc);
    labelSerial_->setText(caption.serial);
    const Size size = TextMeasurer::shared().measure(caption.nameTitle, {"HelveticaNeue-Bold", 16});
    const double w = std::max(size.width + 50, 95.0);
    const double h = size.height + 10;
    const Rect f = alias->frame();
    alias->setFrame(makeRect((320 - w) * 0.5, f.minY(), w, h));
    auto desc = labelDesc_, serial = labelSerial_;
    Animator::shared().animate({.duration = kFade, .beginFromCurrentState = true}, [&] {
        alias->setAlpha(1);
        desc->setAlpha(1);
        serial->setAlpha(1);
    });
}

void CarteViewController::qvPageControlPageChanged(QVPageControlView& control, std::int32_t page) {
    if (!wallet_.loaded() || static_cast<std::uint32_t>(page) == control.selectedPage()) {
        return;
    }
    View *alias = btnAlias_.get(), *desc = labelDesc_.get(), *serial = labelSerial_.get();
    Animator::shared().animate({.duration = kTapFade, .beginFromCurrentState = true}, [&] {
        alias->setAlpha(0);
        desc->setAlpha(0);
        serial->setAlpha(0);
    });
    // The arrows fade to what the destination shows as the jump starts, rather than showing
    // the page left behind until the carousel arrives.
    showArrowsForPage(page - 1, true);
    scrollViewImages_->setContentOffset({wallet_.offsetOf(page - 1), 0}, true);
}

void CarteViewController::restorePrevOffset() {
    auto carousel = scrollViewImages_;
    const double x = wallet_.clampedOffset(prevOffset_.x);
    prevOffset_.x = x;
    pageControl_->setSelectedPage(static_cast<std::uint32_t>(x / kPageWidth) + 1);
    carousel->setContentOffset(prevOffset_, false);
}

void CarteViewController::addButtonTapped() {
    auto control = pageControl_;
    if (wallet_.loaded() && pageShown() != wallet_.addPage()) {
        qvPageControlPageChanged(*control, wallet_.addPage() + 1);
    }
}

void CarteViewController::abcButtonTapped() {
    if (!wallet_.loaded()) {
        return; // reloading: the page's card is not known yet
    }
    auto editor = std::make_shared<AggiungiCartaViewController>();
    if (!wallet_.isAddPage(pageShown())) {
        const auto card = getCurrentCarta();
        if (card && !card->anonima() && needsConnection()) {
            return; // the account's cards are named with the service
        }
        editor->setCp(card);
    }
    push(editor);
}

void CarteViewController::scegliButtonTapped() {
    const int page = pageShown();
    if (page >= 0 && page < static_cast<int>(pages_.size())) {
        qvImageViewTapped(*pages_[static_cast<std::size_t>(page)]);
    }
}

void CarteViewController::qvImageViewTapped(QVImageView& picture) {
    prevOffset_ = scrollViewImages_->contentOffset();
    if (cvv2Flow_->isOpen()) {
        return; // the CVV2 dialog is still on its way out
    }
    // A page's picture carries its page, counted from 1, as its tag.
    const int page = picture.tag() - 1;
    switch (wallet_.choice(page)) {
    case WalletModel::Choice::Nothing:
        return; // reloading, or a picture of a list gone
    case WalletModel::Choice::AddCard:
        push(std::make_shared<AggiungiCartaViewController>());
        return;
    case WalletModel::Choice::StatementAfterCVV2:
        currentCarta_ = std::make_shared<CartaDiPagamentoEx>(*wallet_.card(page));
        if (session() && session()->offline()) {
            showOfflineStatement(); // no CVV2 can be checked without the service
            return;
        }
        openCVV2Dialog();
        return;
    case WalletModel::Choice::Statement:
        currentCarta_ = std::make_shared<CartaDiPagamentoEx>(*wallet_.card(page));
        if (session() && session()->offline()) {
            showOfflineStatement();
            return;
        }
        break;
    }
    showAlertWithTitle(tr("Attendere"), tr("Recupero informazioni carta..."), true, std::nullopt,
                       std::nullopt);
    loadAsyncMovimenti(nullptr);
}

void CarteViewController::openCVV2Dialog() {
    cvv2Flow_->open(view(), navigationController(), this);
}

void CarteViewController::dismissWithCVV2(const std::optional<std::string>& cvv2) {
    if (!cvv2 || !cvv2Flow_->isOpen()) {
        return;
    }
    if (currentCarta_) {
        currentCarta_->setCvv2(*cvv2);
    }
    std::weak_ptr<CarteViewController> weak =
        std::static_pointer_cast<CarteViewController>(shared_from_this());
    cvv2Flow_->close([weak] {
        if (auto self = weak.lock()) {
            self->cvv2hideAnimationDidStop();
        }
    });
}

void CarteViewController::waitCancelled() {
    refreshing_ = false;
    if (waitingForList_) {
        // The wallet has nothing to show without its list: back to the login screen, and the
        // session opened for it is closed.
        waitingForList_ = false;
        showLogout();
        return;
    }
    // A statement left: the wallet stays as it is, and the CVV2 typed for it is forgotten.
    if (currentCarta_) {
        currentCarta_->setCvv2(std::nullopt);
    }
}

void CarteViewController::sessionWillLock() {
    cvv2Flow_->closeNow();
    VestrinoVC::sessionWillLock();
}

void CarteViewController::cvv2hideAnimationDidStop() {
    // The last answer counts: any other length than a whole CVV2's just closes the dialog.
    const auto& cvv2 = currentCarta_ ? currentCarta_->cvv2() : std::nullopt;
    if (!cvv2 || !Cvv2Flow::isComplete(*cvv2)) {
        return;
    }
    showAlertWithTitle(tr("Attendere"), tr("Recupero informazioni carta..."), true, std::nullopt,
                       std::nullopt);
    loadAsyncMovimenti(currentCarta_);
}

void CarteViewController::loadAsyncMovimenti(const std::shared_ptr<CartaDiPagamentoEx>& anonima) {
    const auto request =
        anonima
            ? StatementRequest::anonymousCard(*anonima)
            : StatementRequest::accountCard(currentCarta_ ? currentCarta_->desc() : std::nullopt);
    runServiceCall<StatementRequest::Reply>([request] { return request.fetch(); },
                                            [this](StatementRequest::Reply r) {
                                                movimentiLoaded(
                                                    r.code, std::move(r.carta), std::move(r.saldo),
                                                    std::move(r.movimenti), std::move(r.message));
                                            });
}

void CarteViewController::showOfflineStatement() {
    const auto* kept = currentCarta_ ? session()->copy().statement(*currentCarta_) : nullptr;
    if (!kept) {
        needsConnection(); // a card never fetched
        return;
    }
    if (kept->carta) {
        currentCarta_->merge(*kept->carta);
    }
    currentSaldo_ = std::make_shared<Saldo>(kept->saldo);
    currentMovimenti_ = kept->movimenti;
    showTrasferimenti();
}

void CarteViewController::keepStatement(const CartaDiPagamentoPtr& carta) {
    if (!session() || !currentCarta_) {
        return;
    }
    OfflineStatement kept;
    kept.fetchedAt = RunLoop::main().clock().wallNow();
    kept.carta = carta ? carta->copy() : nullptr;
    kept.saldo = currentSaldo_ ? *currentSaldo_ : Saldo();
    kept.movimenti = currentMovimenti_;
    // An account card's statement the session had fetched already came from its cache: it
    // keeps the time it came from the service. An anonymous card's is fetched every time.
    if (const auto known = session()->statementTime(*currentCarta_);
        known && !refreshing_ && !currentCarta_->anonima() &&
        session()->fetchedThisSession(*currentCarta_)) {
        kept.fetchedAt = *known;
    }
    session()->statementFetched(*currentCarta_, std::move(kept));
}

void CarteViewController::movimentiLoaded(int code, CartaDiPagamentoPtr carta, SaldoPtr saldo,
                                          ListaMovimenti movimenti,
                                          std::optional<std::string> message) {
    // The CVV2 went with its one query: nothing keeps it after the answer.
    if (currentCarta_) {
        currentCarta_->setCvv2(std::nullopt);
    }
    if (code != SUCCESS) {
        serviceCallFailed(code, message, {.noConnection = kCardUnavailable});
        return;
    }
    if (carta && currentCarta_) {
        currentCarta_->merge(*carta);
    }
    currentSaldo_ = std::move(saldo);
    currentMovimenti_ = std::move(movimenti);
    keepStatement(carta);
    showTrasferimenti();
}

void CarteViewController::showTrasferimenti() {
    auto statement = std::make_shared<TransazioniViewController>();
    statement->setCarta(currentCarta_);
    statement->setSaldo(currentSaldo_ ? currentSaldo_ : std::make_shared<Saldo>());
    statement->setMovimenti(currentMovimenti_);
    setStatementAge(*statement);
    dismissAlertView();
    push(statement);
}

void CarteViewController::setStatementAge(TransazioniViewController& statement) {
    const auto when =
        session() && currentCarta_ ? session()->statementTime(*currentCarta_) : std::nullopt;
    if (!when) {
        statement.setAge("", nullptr);
        return;
    }
    if (session()->offline()) {
        statement.setAge(Session::offlineLine(*when), nullptr);
        return;
    }
    // An account card's statement can be fetched again; an anonymous card's was just fetched
    // with the CVV2 typed for it.
    std::function<void()> refresh;
    if (!currentCarta_->anonima()) {
        std::weak_ptr<TransazioniViewController> screen =
            std::static_pointer_cast<TransazioniViewController>(statement.shared_from_this());
        std::weak_ptr<CarteViewController> wallet =
            std::static_pointer_cast<CarteViewController>(shared_from_this());
        refresh = [wallet, screen] {
            if (auto w = wallet.lock()) {
                w->refreshStatement(screen);
            }
        };
    }
    statement.setAge(Session::fetchedLine(*when), std::move(refresh));
}

void CarteViewController::refreshStatement(std::weak_ptr<TransazioniViewController> screen) {
    if (!currentCarta_ || refreshing_) {
        return;
    }
    const auto request = StatementRequest::accountCard(currentCarta_->desc(), true);
    showAlertWithTitle(tr("Attendere"), tr("Recupero informazioni carta..."), true, std::nullopt,
                       std::nullopt);
    refreshing_ = true;
    runServiceCall<StatementRequest::Reply>(
        [request] { return request.fetch(); },
        [this, screen](StatementRequest::Reply r) {
            if (r.code != SUCCESS) {
                refreshing_ = false;
                // The statement shown stays, with its date; the failure is said as ever.
                serviceCallFailed(r.code, r.message, {.noConnection = kCardUnavailable});
                return;
            }
            dismissAlertView();
            currentSaldo_ = r.saldo ? r.saldo : std::make_shared<Saldo>();
            currentMovimenti_ = r.movimenti;
            keepStatement(r.carta);
            refreshing_ = false;
            if (auto shown = screen.lock()) {
                shown->refreshWith(currentSaldo_, currentMovimenti_);
                setStatementAge(*shown);
            }
        });
}

void CarteViewController::showError(const std::string& message) {
    dismissAlertView();
    showAlertWithTitle(tr("Errore"), message, false, std::string(tr("OK")), std::nullopt);
}

} // namespace vestrino
