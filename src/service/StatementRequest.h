#pragma once

#include "service/RemoteServiceUtil.h"

namespace vestrino {

class CartaDiPagamentoEx;

// A card's statement asked of the service, in one value each way. The request is copied from
// the card on the main thread, so that the worker that sends it touches nothing of the screen;
// `fetch` runs on that worker and brings back the outcome, the records and the service's
// message together.
class StatementRequest {
public:
    using Text = RemoteServiceUtil::Text;

    struct Reply {
        int code = 0;
        CartaDiPagamentoPtr carta;
        SaldoPtr saldo;
        ListaMovimenti movimenti;
        Text message;
    };

    // A card of the account, by the service's code of it (never its number); `fresh` asks the
    // service again whatever the session's cache holds.
    static StatementRequest accountCard(Text selPan, bool fresh = false);
    // An anonymous card, by its number, its expiry and the CVV2 typed for this one query.
    static StatementRequest anonymousCard(const CartaDiPagamentoEx& carta);

    bool anonymous() const { return anonymous_; }
    Reply fetch() const;

private:
    bool anonymous_ = false;
    bool fresh_ = false;
    Text selPan_;
    Text numero_, dataAA_, dataMM_, cvv2_;
};

} // namespace vestrino
