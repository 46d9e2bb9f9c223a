#pragma once

#include "app/QVImageView.h"
#include "app/QVPageControlView.h"
#include "app/VestrinoVC.h"
#include "entities/CartaDiPagamentoEx.h"
#include "entities/Movimento.h"
#include "entities/Saldo.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"

namespace vestrino {

// The card wallet: the account's cards (the service's merged with those stored on the device)
// as a carousel of pictures with a last page that invites to add a card, the page indicator,
// and under the carousel the card's type, masked number, name button and choose button.
class CarteViewController : public VestrinoVC,
                            public ui::ScrollViewDelegate,
                            public QVPageControlViewDelegate,
                            public QVImageViewDelegate {
public:
    static constexpr double kPageWidth = 320;
    static constexpr double kPageHeight = 197;

    std::string layoutName() const override { return "CarteViewController"; }
    std::string className() const override { return "CarteViewController"; }
    ui::LayoutLoader::Actions layoutActions() override;
    int getTagOfSelectedButton() override { return kTagCarte; }
    bool isBackButtonRequired() override { return false; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // The entry of the page in view; nothing while the list is being reloaded.
    CartaDiPagamentoPtr getCurrentCarta() const;
    const std::shared_ptr<ListaCarte>& carteDiPagamentoArray() const { return carte_; }
    const std::vector<std::shared_ptr<QVImageView>>& arrayImageViews() const { return pages_; }
    ui::Point prevOffset() const { return prevOffset_; }

    void addButtonTapped();
    void abcButtonTapped();
    void scegliButtonTapped();

    // The page in view (from 0) for a carousel offset, by the wallet's rule.
    static int pageInView(double offsetX, int pages);

    void scrollViewDidScroll(ui::ScrollView& scroll) override;
    void scrollViewDidEndDragging(ui::ScrollView& scroll, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(ui::ScrollView& scroll) override;
    void scrollViewDidEndScrollingAnimation(ui::ScrollView& scroll) override;
    void qvPageControlPageChanged(QVPageControlView& control, std::int32_t page) override;
    void qvImageViewTapped(QVImageView& view) override;
    void restorePrevOffset();

private:
    void loaded(int code, std::shared_ptr<ListaCarte> carte, std::optional<std::string> message);
    void showLoadedData();
    void settle();
    template <typename T> std::shared_ptr<T> as(const char* name) const {
        return std::dynamic_pointer_cast<T>(outlet(name));
    }

    std::shared_ptr<ui::UIImage> imgAnonima_, imgScegliOn_, imgScegliOff_, imgAggiungiOn_,
        imgAggiungiOff_;
    std::shared_ptr<ListaCarte> carte_;
    std::vector<std::shared_ptr<QVImageView>> pages_;
    ui::Point prevOffset_;
    std::shared_ptr<CartaDiPagamentoEx> currentCarta_;
    SaldoPtr currentSaldo_;
    ListaMovimenti currentMovimenti_;
};

} // namespace vestrino
