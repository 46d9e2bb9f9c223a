#pragma once

#include "core/Translation.h"
#include "entities/CartaDiPagamento.h"

#include <string>
#include <string_view>

namespace vestrino {

// The wallet as a person pages through it: one page per card of the account (the service's
// merged with those kept on the device), then a page that invites to add a card. Pages are
// numbered from 0 everywhere here; the page indicator counts from 1 and is spoken to in its
// own numbering only where the screen calls it. An empty model is a list still loading: it
// has no pages and every question about a page has the "nothing" answer.
class WalletModel {
public:
    // A card's number as the application shows it: its last four characters after three masked
    // groups ("**** **** **** 5670"; a shorter number whole after them).
    static std::string maskedNumber(std::string_view serial);
    static constexpr double kPageWidth = 320;
    static constexpr const char* kAddDesc = N_("Puoi inserire una o più");
    static constexpr const char* kAddSerial = N_("carte Lumacard nella tua lista");
    static constexpr const char* kAddTitle = N_("Aggiungi Altra Carta");
    static constexpr const char* kNameTitle = N_("Dai un nome alla tua carta");

    WalletModel() = default;
    explicit WalletModel(const ListaCarte& carte);

    bool loaded() const { return !pages_.empty(); }
    int pageCount() const { return static_cast<int>(pages_.size()); }
    int addPage() const { return pageCount() - 1; }
    bool isAddPage(int page) const { return loaded() && page == addPage(); }
    // The card page `page` shows; nothing on the add page or outside the pages.
    CartaDiPagamentoPtr card(int page) const;
    // The entry behind a page, the add page's own included (it carries the add page's texts).
    const ListaCarte& entries() const { return pages_; }

    // The page in view at a carousel offset: the page under the offset, or the next one once
    // more than half of it is in view (whole points, as the carousel reports them); always a
    // page of the wallet.
    int pageAt(double offsetX) const;
    double offsetOf(int page) const { return kPageWidth * page; }
    // An offset put back within the pages (on return to the wallet, whose list may have
    // shrunk meanwhile).
    double clampedOffset(double offsetX) const;

    struct Arrows {
        bool left = false, right = false;
    };
    // A left arrow after the first page, a right one before the last.
    Arrows arrows(int page) const;

    struct Caption {
        std::string desc, serial;
        std::string nameTitle;  // the name button's title as it settles, and what it is sized for
        std::string pageName;   // what a screen reader calls the page's picture
        std::string chooseName; // and the choose button, a picture too
    };
    // The texts under the carousel for a page.
    Caption caption(int page) const;

    enum class Choice { Nothing, AddCard, Statement, StatementAfterCVV2 };
    // What choosing a page does: the editor for a new card on the add page, the statement of a
    // card of the account, the CVV2 first for an anonymous card.
    Choice choice(int page) const;

private:
    ListaCarte pages_;
};

} // namespace vestrino
