#include "entities/WalletModel.h"
#include "core/Translation.h"

#include "core/Utf8.h"

#include <algorithm>

namespace vestrino {

WalletModel::WalletModel(const ListaCarte& carte) : pages_(carte) {
    auto add = std::make_shared<CartaDiPagamento>();
    add->setDesc(kAddDesc);
    add->setSerial(kAddSerial);
    pages_.push_back(std::move(add));
}

CartaDiPagamentoPtr WalletModel::card(int page) const {
    if (page < 0 || page >= addPage()) {
        return nullptr;
    }
    return pages_[static_cast<std::size_t>(page)];
}

int WalletModel::pageAt(double offsetX) const {
    // The offset is taken as a 32-bit float for the page and as whole points for the part of
    // the next page in view: x = 480.5 is still page 1, x = 481 page 2.
    const float x = static_cast<float>(offsetX);
    int page = static_cast<int>(x / static_cast<float>(kPageWidth));
    if (static_cast<int>(x) % static_cast<int>(kPageWidth) > kPageWidth / 2) {
        ++page;
    }
    return std::clamp(page, 0, std::max(addPage(), 0));
}

double WalletModel::clampedOffset(double offsetX) const {
    return std::clamp(offsetX, 0.0, std::max(0.0, kPageWidth * (pageCount() - 1)));
}

WalletModel::Arrows WalletModel::arrows(int page) const {
    return {page > 0, page != addPage()};
}

std::string WalletModel::maskedNumber(std::string_view serial) {
    return "**** **** **** " + lastCodePoints(serial, 4);
}

WalletModel::Caption WalletModel::caption(int page) const {
    if (page < 0 || page >= pageCount()) {
        return {};
    }
    const auto& e = pages_[static_cast<std::size_t>(page)];
    if (isAddPage(page)) {
        return {trs(e->desc().value_or("")), trs(e->serial().value_or("")), tr(kAddTitle),
                tr(kAddTitle), tr("Aggiungi una carta")};
    }
    const bool named = e->alias() && !e->alias()->empty();
    const std::string kind = e->anonima() ? tr("Lumacard Anonima") : tr("Lumacard Standard");
    const std::string last = lastCodePoints(e->serial().value_or(""), 4);
    return {kind, maskedNumber(e->serial().value_or("")), named ? *e->alias() : tr(kNameTitle),
            (named ? *e->alias() + ", " : "") + kind + tr(" che termina con ") + last,
            tr("Scegli questa carta")};
}

WalletModel::Choice WalletModel::choice(int page) const {
    if (page < 0 || page >= pageCount()) {
        return Choice::Nothing;
    }
    if (isAddPage(page)) {
        return Choice::AddCard;
    }
    return card(page)->anonima() ? Choice::StatementAfterCVV2 : Choice::Statement;
}

} // namespace vestrino
