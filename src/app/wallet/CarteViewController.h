#pragma once

#include "app/chrome/DataAgeBar.h"
#include "app/chrome/VestrinoVC.h"
#include "app/wallet/CVV2ModalDelegate.h"
#include "app/wallet/Cvv2Flow.h"
#include "app/wallet/QVImageView.h"
#include "app/wallet/QVPageControlView.h"
#include "entities/CartaDiPagamentoEx.h"
#include "entities/Movimento.h"
#include "entities/Saldo.h"
#include "entities/WalletModel.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/View.h"

namespace vestrino {

class TransazioniViewController;

// The card wallet: the account's cards (the service's merged with those stored on the device)
// as a carousel of pictures with a last page that invites to add a card, the page indicator,
// and under the carousel the card's type, masked number, name button and choose button.
// Choosing a card fetches its statement on a background task behind an activity alert and
// opens the statement screen; an anonymous card first asks for its CVV2, which lives only in
// the in-memory copy of the chosen card.
class CarteViewController : public VestrinoVC,
                            public ui::ScrollViewDelegate,
                            public QVPageControlViewDelegate,
                            public QVImageViewDelegate,
                            public CVV2ModalDelegate {
public:
    static constexpr double kPageWidth = 320;
    static constexpr double kPageHeight = 197;

    std::string layoutName() const override { return "CarteViewController"; }
    std::string className() const override { return "CarteViewController"; }
    Place place() const override { return Place::Wallet; }
    ui::LayoutLoader::Actions layoutActions() override;
    int getTagOfSelectedButton() override { return kTagCarte; }
    bool isBackButtonRequired() override { return false; }

    void bindOutlets() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // The entry of the page in view; nothing while the list is being reloaded.
    CartaDiPagamentoPtr getCurrentCarta() const;
    const WalletModel& wallet() const { return wallet_; }
    const std::vector<std::shared_ptr<QVImageView>>& arrayImageViews() const { return pages_; }
    ui::Point prevOffset() const { return prevOffset_; }

    void addButtonTapped();
    void abcButtonTapped();
    void scegliButtonTapped();

    void scrollViewDidScroll(ui::ScrollView& scroll) override;
    void scrollViewDidEndDragging(ui::ScrollView& scroll, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(ui::ScrollView& scroll) override;
    void scrollViewDidEndScrollingAnimation(ui::ScrollView& scroll) override;
    void qvPageControlPageChanged(QVPageControlView& control, std::int32_t page) override;
    // The choose action for a page's picture: the editor on the add page, else the card's
    // statement (after its CVV2 for an anonymous card).
    void qvImageViewTapped(QVImageView& view) override;
    void restorePrevOffset();

    // The CVV2 dialog's answer: nothing keeps the dialog; any text closes it, and only three
    // characters fetch the statement once it has faded out.
    void dismissWithCVV2(const std::optional<std::string>& cvv2) override;
    // The statement fetched: the statement screen, or the error, or the forced logout.
    void showTrasferimenti();
    void showError(const std::string& message);

    // The CVV2 dialog goes at once, with what was typed.
    void sessionWillLock() override;
    void waitCancelled() override;

    const std::shared_ptr<CVV2ModalVC>& modalVC() const { return cvv2Flow_->dialog(); }
    const std::shared_ptr<CartaDiPagamentoEx>& currentCarta() const { return currentCarta_; }

private:
    // The card list is being fetched (its wait, when left, ends the session).
    bool waitingForList_ = false;
    // The statement shown is being fetched again ("Aggiorna").
    bool refreshing_ = false;
    std::shared_ptr<DataAgeBar> ageBar_;

    // Offline: the wallet from the cards on the device and the copy, with its date.
    void showOfflineCards();
    void showAgeBar();
    void loadCardList();
    // "Riprova": a real login with what the login form holds.
    void riprova();
    // Offline, says that what was asked needs the service; false online.
    bool needsConnection();
    void showOfflineStatement();
    // The statement just come, kept in the session's copy.
    void keepStatement(const CartaDiPagamentoPtr& carta);
    void setStatementAge(TransazioniViewController& statement);
    void refreshStatement(std::weak_ptr<TransazioniViewController> screen);
    // The layout's controls, bound once when the view loads.
    std::shared_ptr<ui::Label> labelDesc_;
    std::shared_ptr<ui::Label> labelSerial_;
    std::shared_ptr<ui::Button> btnScegli_;
    std::shared_ptr<ui::Button> btnAlias_;
    std::shared_ptr<QVPageControlView> pageControl_;
    std::shared_ptr<ui::View> rightArrow_;
    std::shared_ptr<ui::View> leftArrow_;
    std::shared_ptr<ui::ScrollView> scrollViewImages_;

    void loaded(int code, std::shared_ptr<ListaCarte> carte, std::optional<std::string> message);
    // Tells the person, once, that the cards kept on the device could not be read.
    void showCardFileNotice();
    void showLoadedData();
    void settle();
    // After a reload, the focus back on the card in view when a card had it as the screen left.
    void giveFocusBackToCard();
    // What shows under the carousel once there are pages: its labels, buttons, indicator and
    // arrows.
    std::vector<std::shared_ptr<ui::View>> controlsUnderTheCarousel() const;
    // The page the indicator shows, from 0.
    int pageShown() const;
    // The arrows as they stand on page `p` (0-based), at once or with the arrows' fade.
    void showArrowsForPage(int p, bool animated);
    void openCVV2Dialog();
    // The dialog has faded out: the statement when a whole CVV2 was typed.
    void cvv2hideAnimationDidStop();
    // Starts the statement fetch on a new background task: by the card's service code for a
    // card of the account (no argument), by number, expiry and CVV2 for an anonymous card.
    void loadAsyncMovimenti(const std::shared_ptr<CartaDiPagamentoEx>& anonima);
    void movimentiLoaded(int code, CartaDiPagamentoPtr carta, SaldoPtr saldo,
                         ListaMovimenti movimenti, std::optional<std::string> message);

    std::shared_ptr<ui::UIImage> imgAnonima_, imgScegliOn_, imgScegliOff_, imgAggiungiOn_,
        imgAggiungiOff_;
    WalletModel wallet_;
    std::vector<std::shared_ptr<QVImageView>> pages_;
    ui::Point prevOffset_;
    bool focusWasOnCard_ = false;
    std::shared_ptr<CartaDiPagamentoEx> currentCarta_;
    SaldoPtr currentSaldo_;
    ListaMovimenti currentMovimenti_;
    std::shared_ptr<Cvv2Flow> cvv2Flow_ = std::make_shared<Cvv2Flow>();
};

} // namespace vestrino
