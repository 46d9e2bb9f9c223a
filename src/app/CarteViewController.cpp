#include "app/CarteViewController.h"
#include "ui/Window.h"

#include "app/AggiungiCartaViewController.h"
#include "app/CVV2ModalVC.h"
#include "app/TransazioniViewController.h"
#include "core/BackgroundTask.h"
#include "core/DictCache.h"
#include "core/RunLoop.h"
#include "core/Utf8.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"
#include "ui/Animator.h"

#include <cmath>

namespace vestrino {

using namespace ui;

namespace {

constexpr const char* kAddDesc = "Puoi inserire una o più";
constexpr const char* kAddSerial = "carte Lumacard nella tua lista";
// The fades' 0.4 and 0.1 s are 32-bit values widened, as the phone computed them.
constexpr double kFade = static_cast<double>(0.4f);
constexpr double kTapFade = static_cast<double>(0.1f);
constexpr double kDialogFade = 0.25;
constexpr std::size_t kCVV2Length = 3;
constexpr const char* kTemporaryProblem = "Problema temporaneo, riprovare più tardi.";
// What the person hears when the cards kept on the device could not be read.
constexpr const char* kCardFileKeptAside =
    "Le carte salvate sul dispositivo non si possono leggere: il file è stato messo da parte. "
    "Le carte anonime andranno aggiunte di nuovo.";
constexpr const char* kCardFileUnavailable =
    "Le carte salvate sul dispositivo non si possono leggere in questo momento. Riprova più "
    "tardi.";
constexpr const char* kCardUnavailable = "Impossibile recuperare le informazioni sulla carta";

} // namespace

LayoutLoader::Actions CarteViewController::layoutActions() {
    return {{"abcButtonTapped", [this](Button&) { abcButtonTapped(); }},
            {"addButtonTapped", [this](Button&) { addButtonTapped(); }},
            {"scegliButtonTapped", [this](Button&) { scegliButtonTapped(); }}};
}

int CarteViewController::pageInView(double offsetX, int pages) {
    const float x = static_cast<float>(offsetX);
    int p = static_cast<int>(x / 320.0f);
    const int r = static_cast<int>(x) % 320;
    if (r > 160) {
        ++p;
    }
    if (p < 0) {
        p = 0;
    }
    if (p > pages - 1) {
        p = pages - 1;
    }
    return std::max(p, 0);
}

void CarteViewController::viewDidLoad() {
    VestrinoVC::viewDidLoad();
    prevOffset_ = {0, 0};
    showAlertWithTitle("Attendere", "Caricamento dati in corso...", true, std::nullopt,
                       std::nullopt);
    imgAnonima_ =
        UIImage::imageNamed("vestrino_button_dai_nome_carta_320.png")->stretchableImage(26, 27);
    imgScegliOn_ = UIImage::imageNamed("vestrino_button_scegli_320_selected.png");
    imgScegliOff_ = UIImage::imageNamed("vestrino_button_scegli_320.png");
    imgAggiungiOn_ = UIImage::imageNamed("vestrino_button_aggiungi_320_selected.png");
    imgAggiungiOff_ = UIImage::imageNamed("vestrino_button_aggiungi_320.png");
    for (const char* name : {"labelDesc", "labelSerial", "btnScegli", "btnAlias", "pageControl",
                             "rightArrow", "leftArrow"}) {
        outlet(name)->setHidden(true);
    }
    as<Button>("btnAlias")->setBackgroundImage(imgAnonima_, ControlState::Normal);
    as<ScrollView>("scrollViewImages")->setDelegate(this);
    as<QVPageControlView>("pageControl")->setDelegate(this);
}

void CarteViewController::viewWillAppear(bool animated) {
    VestrinoVC::viewWillAppear(animated);
    carte_.reset();
    auto self = std::static_pointer_cast<CarteViewController>(shared_from_this());
    BackgroundTask::detach([self] {
        std::shared_ptr<ListaCarte> carte;
        std::optional<std::string> message;
        const int code = RemoteServiceUtil::listaCarteForUserSession(carte, message);
        RunLoop::main().post([self, code, carte, message] { self->loaded(code, carte, message); });
    });
}

void CarteViewController::viewWillDisappear(bool animated) {
    prevOffset_ = as<ScrollView>("scrollViewImages")->contentOffset();
    VestrinoVC::viewWillDisappear(animated);
}

void CarteViewController::loaded(int code, std::shared_ptr<ListaCarte> carte,
                                 std::optional<std::string> message) {
    if (!message) {
        message = kTemporaryProblem;
    }
    if (code != SUCCESS || !carte) {
        forceLogoutSessionExpired(*message);
        return;
    }
    // The list is handed over here, on the main thread: no action reads a list that is half
    // made.
    auto list = std::make_shared<ListaCarte>(*carte);
    auto add = std::make_shared<CartaDiPagamento>();
    add->setDesc(kAddDesc);
    add->setSerial(kAddSerial);
    list->push_back(add);
    carte_ = std::move(list);
    showLoadedData();
    showCardFileNotice();
}

void CarteViewController::showCardFileNotice() {
    const auto user = RemoteServiceUtil::dictCache().objectForKey<std::string>(kSessionUsernameKey);
    const auto notice = user ? RemoteServiceUtil::takeCardFileNotice(*user) : std::nullopt;
    if (!notice) {
        return;
    }
    showAlertWithTitle("Attenzione",
                       *notice == CardFileLoad::State::Damaged ? kCardFileKeptAside
                                                               : kCardFileUnavailable,
                       false, std::string("OK"), std::nullopt);
}

void CarteViewController::showLoadedData() {
    dismissAlertView();
    auto carousel = as<ScrollView>("scrollViewImages");
    for (const auto& page : pages_) {
        page->removeFromSuperview();
    }
    pages_.clear();
    const int n = carte_ ? static_cast<int>(carte_->size()) : 0;
    if (n > 0) {
        for (const char* name : {"pageControl", "rightArrow", "leftArrow", "labelDesc",
                                 "labelSerial", "btnScegli", "btnAlias"}) {
            outlet(name)->setHidden(false);
        }
        for (int k = 1; k <= n; ++k) {
            auto page = std::make_shared<QVImageView>(UIImage::imageNamed(
                k < n ? "vestrino_card_lumacard_320.png" : "vestrino_card_lumacard_BW_320.png"));
            page->setFrame(makeRect(kPageWidth * (k - 1), 0, kPageWidth, kPageHeight));
            page->setContentMode(ContentMode::Top);
            page->setUserInteractionEnabled(true);
            // A card is chosen when the touch ends: a press that turns into a drag of the
            // carousel is cancelled and chooses nothing. Tab reaches the card in view.
            page->setTapsOnRelease(true);
            page->setFocusable(true);
            page->setTag(k);
            page->setDelegate(this);
            pages_.push_back(page);
            carousel->addSubview(page);
        }
        carousel->setContentSize({kPageWidth * n, kPageHeight});
        as<QVPageControlView>("pageControl")->setNumberOfPages(static_cast<std::uint32_t>(n));
        restorePrevOffset();
        // The arrows come in already right for the page shown: no arrow shows for a moment
        // beside the first card while the screen slides in.
        showArrowsForPage(pageInView(carousel->contentOffset().x, n), false);
    }
    dismissAlertView();
    scrollViewDidEndDecelerating(*carousel);
}

CartaDiPagamentoPtr CarteViewController::getCurrentCarta() const {
    const auto page = as<QVPageControlView>("pageControl")->selectedPage();
    if (!carte_ || page < 1 || page > carte_->size()) {
        return nullptr;
    }
    return (*carte_)[page - 1];
}

void CarteViewController::scrollViewDidScroll(ScrollView& scroll) {
    if (!carte_ || carte_->empty()) {
        return; // reloading: nothing to follow
    }
    const int p = pageInView(scroll.contentOffset().x, static_cast<int>(carte_->size()));
    as<QVPageControlView>("pageControl")->setSelectedPage(static_cast<std::uint32_t>(p + 1));
    auto alias = outlet("btnAlias"), desc = outlet("labelDesc"), serial = outlet("labelSerial");
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
    const int last = carte_ ? static_cast<int>(carte_->size()) - 1 : 0;
    auto leftArrow = outlet("leftArrow"), rightArrow = outlet("rightArrow");
    auto apply = [&] {
        rightArrow->setAlpha(p == last ? 0 : 1);
        leftArrow->setAlpha(p > 0 ? 1 : 0);
    };
    if (animated) {
        Animator::shared().animate({.duration = 0.25}, apply);
    } else {
        apply();
    }
}

void CarteViewController::settle() {
    if (!carte_ || carte_->empty()) {
        return;
    }
    auto carousel = as<ScrollView>("scrollViewImages");
    const int n = static_cast<int>(carte_->size());
    const int p = pageInView(carousel->contentOffset().x, n);
    const int last = n - 1;
    const auto& e = (*carte_)[static_cast<std::size_t>(p)];
    showArrowsForPage(p, true);
    auto scegli = as<Button>("btnScegli");
    auto alias = as<Button>("btnAlias");
    auto desc = as<Label>("labelDesc");
    auto serial = as<Label>("labelSerial");
    std::string measured;
    const bool named = e->alias() && !e->alias()->empty();
    if (p == last) {
        scegli->setImage(imgAggiungiOff_, ControlState::Normal);
        scegli->setImage(imgAggiungiOn_, ControlState::Highlighted);
        scegli->setImage(imgAggiungiOn_, ControlState::Selected);
        alias->setTitle("Aggiungi Altra Carta", ControlState::Normal);
        desc->setText(e->desc().value_or(""));
        serial->setText(e->serial().value_or(""));
        measured = "Aggiungi Altra Carta";
    } else {
        scegli->setImage(imgScegliOff_, ControlState::Normal);
        scegli->setImage(imgScegliOn_, ControlState::Highlighted);
        scegli->setImage(imgScegliOn_, ControlState::Selected);
        alias->setTitle(e->alias().value_or(""), ControlState::Normal);
        desc->setText(e->anonima() ? "Lumacard Anonima" : "Lumacard Standard");
        serial->setText("**** **** **** " + lastCodePoints(e->serial().value_or(""), 4));
        measured = named ? *e->alias() : "Dai un nome alla tua carta";
    }
    const Size size = TextMeasurer::shared().measure(measured, {"HelveticaNeue-Bold", 16});
    const double w = std::max(size.width + 50, 95.0);
    const double h = size.height + 10;
    const Rect f = alias->frame();
    alias->setFrame(makeRect((320 - w) * 0.5, f.minY(), w, h));
    Animator::shared().animate({.duration = kFade, .beginFromCurrentState = true}, [&] {
        if (p != last && !named) {
            alias->setTitle("Dai un nome alla tua carta", ControlState::Normal);
        }
        alias->setAlpha(1);
        desc->setAlpha(1);
        serial->setAlpha(1);
    });
}

void CarteViewController::qvPageControlPageChanged(QVPageControlView& control, std::int32_t page) {
    if (!carte_ || static_cast<std::uint32_t>(page) == control.selectedPage()) {
        return;
    }
    auto alias = outlet("btnAlias"), desc = outlet("labelDesc"), serial = outlet("labelSerial");
    Animator::shared().animate({.duration = kTapFade, .beginFromCurrentState = true}, [&] {
        alias->setAlpha(0);
        desc->setAlpha(0);
        serial->setAlpha(0);
    });
    // The arrows fade to what the destination shows as the jump starts, rather than showing
    // the page left behind until the carousel arrives.
    showArrowsForPage(page - 1, true);
    as<ScrollView>("scrollViewImages")->setContentOffset({kPageWidth * (page - 1), 0}, true);
}

void CarteViewController::restorePrevOffset() {
    auto carousel = as<ScrollView>("scrollViewImages");
    double x = std::max(0.0, prevOffset_.x);
    const double width = carousel->contentSize().width;
    if (x > width - kPageWidth) {
        x = width - kPageWidth;
    }
    prevOffset_.x = x;
    as<QVPageControlView>("pageControl")
        ->setSelectedPage(static_cast<std::uint32_t>(x / kPageWidth) + 1);
    carousel->setContentOffset(prevOffset_, false);
}

void CarteViewController::addButtonTapped() {
    auto control = as<QVPageControlView>("pageControl");
    if (carte_ && control->selectedPage() != carte_->size()) {
        qvPageControlPageChanged(*control, static_cast<std::int32_t>(carte_->size()));
    }
}

void CarteViewController::abcButtonTapped() {
    if (!carte_) {
        return; // reloading: the page's card is not known yet
    }
    auto editor = std::make_shared<AggiungiCartaViewController>();
    if (as<QVPageControlView>("pageControl")->selectedPage() != carte_->size()) {
        editor->setCp(getCurrentCarta());
    }
    if (auto* nav = navigationController()) {
        nav->pushViewController(editor, true);
    }
}

void CarteViewController::scegliButtonTapped() {
    const auto page = as<QVPageControlView>("pageControl")->selectedPage();
    if (page >= 1 && page <= pages_.size()) {
        qvImageViewTapped(*pages_[page - 1]);
    }
}

void CarteViewController::qvImageViewTapped(QVImageView& picture) {
    prevOffset_ = as<ScrollView>("scrollViewImages")->contentOffset();
    if (!carte_ || modalVC_) {
        return; // reloading, or the CVV2 dialog is still on its way out
    }
    const int n = static_cast<int>(carte_->size());
    const int tag = picture.tag();
    if (tag < 1 || tag > n) {
        return;
    }
    if (tag == n) {
        if (auto* nav = navigationController()) {
            nav->pushViewController(std::make_shared<AggiungiCartaViewController>(), true);
        }
        return;
    }
    currentCarta_ =
        std::make_shared<CartaDiPagamentoEx>(*(*carte_)[static_cast<std::size_t>(tag - 1)]);
    if (currentCarta_->anonima()) {
        openCVV2Dialog();
        return;
    }
    showAlertWithTitle("Attendere", "Recupero informazioni carta...", true, std::nullopt,
                       std::nullopt);
    loadAsyncMovimenti(nullptr);
}

void CarteViewController::setBarsInteraction(bool enabled) {
    if (auto* nav = navigationController()) {
        nav->toolbar()->setUserInteractionEnabled(enabled);
        nav->navigationBar()->setUserInteractionEnabled(enabled);
    }
}

void CarteViewController::openCVV2Dialog() {
    setBarsInteraction(false);
    auto dialog = std::make_shared<CVV2ModalVC>();
    modalVC_ = dialog;
    dialog->setMDelegate(this);
    auto dialogView = dialog->view();
    dialogView->setFrame(view()->bounds()); // the whole screen, however tall
    dialogView->setAlpha(0);
    Animator::shared().animate({.duration = kDialogFade, .name = "cvv2show"}, [&] {
        view()->addSubview(dialogView);
        dialogView->setAlpha(1);
    });
    // Every touch, key and text goes to the dialog until it has gone.
    if (Window* w = dialogView->window()) {
        w->beginModal(dialogView.get());
    }
}

void CarteViewController::dismissWithCVV2(const std::optional<std::string>& cvv2) {
    if (!cvv2 || !modalVC_) {
        return;
    }
    if (currentCarta_) {
        currentCarta_->setCvv2(*cvv2);
    }
    auto dialog = modalVC_;
    auto dialogView = dialog->view();
    std::weak_ptr<CarteViewController> weak =
        std::static_pointer_cast<CarteViewController>(shared_from_this());
    Animator::shared().animate(
        {.duration = kDialogFade, .name = "cvv2hide"},
        [&] {
            view()->bringSubviewToFront(dialogView.get());
            dialogView->setAlpha(0);
        },
        [weak, dialog](bool) {
            if (auto self = weak.lock()) {
                self->cvv2hideAnimationDidStop(dialog);
            }
        });
}

void CarteViewController::cvv2hideAnimationDidStop(const std::shared_ptr<CVV2ModalVC>& dialog) {
    dialog->view()->removeFromSuperview();
    if (modalVC_ != dialog) {
        return; // an earlier answer of the same dialog has already closed it
    }
    modalVC_.reset();
    setBarsInteraction(true);
    const auto& cvv2 = currentCarta_ ? currentCarta_->cvv2() : std::nullopt;
    if (!cvv2 || codePointCount(*cvv2) != kCVV2Length) {
        return; // any other length: the dialog just closes
    }
    showAlertWithTitle("Attendere", "Recupero informazioni carta...", true, std::nullopt,
                       std::nullopt);
    loadAsyncMovimenti(currentCarta_);
}

void CarteViewController::loadAsyncMovimenti(const std::shared_ptr<CartaDiPagamentoEx>& anonima) {
    using Text = RemoteServiceUtil::Text;
    // What the task sends, copied now: the task touches nothing of the screen but the
    // continuation it posts.
    struct Query {
        bool anonymous = false;
        Text selPan, numero, dataAA, dataMM, cvv2;
    } q;
    if (anonima) {
        q = {true,           std::nullopt, anonima->serial(), anonima->dataAA(), anonima->dataMM(),
             anonima->cvv2()};
    } else if (currentCarta_) {
        q.selPan = currentCarta_->desc(); // the service's code of the card, never its number
    }
    auto self = std::static_pointer_cast<CarteViewController>(shared_from_this());
    BackgroundTask::detach([self, q] {
        CartaDiPagamentoPtr carta;
        SaldoPtr saldo;
        ListaMovimenti movimenti;
        Text message;
        const int code =
            q.anonymous
                ? RemoteServiceUtil::movimentiCartaAnonima(q.numero, q.dataAA, q.dataMM, q.cvv2,
                                                           carta, saldo, movimenti, message)
                : RemoteServiceUtil::listaMovimenti(q.selPan, carta, saldo, movimenti, message);
        RunLoop::main().post(
            [self, code, carta, saldo, movimenti = std::move(movimenti), message]() mutable {
                self->movimentiLoaded(code, std::move(carta), std::move(saldo),
                                      std::move(movimenti), std::move(message));
            });
    });
}

void CarteViewController::movimentiLoaded(int code, CartaDiPagamentoPtr carta, SaldoPtr saldo,
                                          ListaMovimenti movimenti,
                                          std::optional<std::string> message) {
    if (!message || message->empty()) {
        message = kTemporaryProblem;
    }
    if (code == SUCCESS) {
        if (carta && currentCarta_) {
            currentCarta_->merge(*carta);
        }
        currentSaldo_ = std::move(saldo);
        currentMovimenti_ = std::move(movimenti);
        showTrasferimenti();
    } else if (code == CODICE_ERRORE_CONNESSIONE) {
        showError(kCardUnavailable);
    } else if (code == CODICE_ERRORE_SESSIONE_SCADUTA) {
        forceLogoutSessionExpired(*message);
    } else {
        showError(*message);
    }
}

void CarteViewController::showTrasferimenti() {
    auto statement = std::make_shared<TransazioniViewController>();
    statement->setCarta(currentCarta_);
    statement->setSaldo(currentSaldo_ ? currentSaldo_ : std::make_shared<Saldo>());
    statement->setMovimenti(currentMovimenti_);
    dismissAlertView();
    if (auto* nav = navigationController()) {
        nav->pushViewController(statement, true);
    }
}

void CarteViewController::showError(const std::string& message) {
    dismissAlertView();
    showAlertWithTitle("Errore", message, false, std::string("OK"), std::nullopt);
}

} // namespace vestrino
