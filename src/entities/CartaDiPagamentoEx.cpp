#include "entities/CartaDiPagamentoEx.h"

namespace vestrino {

CartaDiPagamentoEx::CartaDiPagamentoEx(const CartaDiPagamento& carta) {
    merge(carta);
}

} // namespace vestrino
