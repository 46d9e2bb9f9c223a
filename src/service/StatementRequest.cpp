#include "service/StatementRequest.h"

#include "entities/CartaDiPagamentoEx.h"

namespace vestrino {

StatementRequest StatementRequest::accountCard(Text selPan, bool fresh) {
    StatementRequest r;
    r.selPan_ = std::move(selPan);
    r.fresh_ = fresh;
    return r;
}

StatementRequest StatementRequest::anonymousCard(const CartaDiPagamentoEx& carta) {
    StatementRequest r;
    r.anonymous_ = true;
    r.numero_ = carta.serial();
    r.dataAA_ = carta.dataAA();
    r.dataMM_ = carta.dataMM();
    r.cvv2_ = carta.cvv2();
    return r;
}

StatementRequest::Reply StatementRequest::fetch() const {
    Reply r;
    r.code = anonymous_ ? RemoteServiceUtil::movimentiCartaAnonima(numero_, dataAA_, dataMM_, cvv2_,
                                                                   r.carta, r.saldo, r.movimenti,
                                                                   r.message)
                        : RemoteServiceUtil::listaMovimenti(selPan_, r.carta, r.saldo, r.movimenti,
                                                            r.message, fresh_);
    return r;
}

} // namespace vestrino
