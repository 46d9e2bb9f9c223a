#include "store/CartaDiPagamentoCoding.h"

namespace vestrino {

namespace {

// Absent for nil or a missing key; nothing at all for a value that is not a string.
std::optional<std::optional<std::string>> stringField(const ArchivedObject& o, const char* key) {
    const auto v = o.valueForKey(key);
    if (!v) {
        return std::optional<std::string>();
    }
    auto s = v->asString();
    if (!s) {
        return std::nullopt;
    }
    return s;
}

} // namespace

KeyedArchiver::Uid encodeWithCoder(const CartaDiPagamento& carta, KeyedArchiver& coder) {
    const auto at = coder.reserveObject();
    KeyedArchiver::Object object;
    object.encodeObject("serial", coder.encodeString(carta.serial()));
    object.encodeObject("desc", coder.encodeString(carta.desc()));
    object.encodeObject("alias", coder.encodeString(carta.alias()));
    object.encodeObject("intestatario", coder.encodeString(carta.intestatario()));
    object.encodeObject("dataAA", coder.encodeString(carta.dataAA()));
    object.encodeObject("dataMM", coder.encodeString(carta.dataMM()));
    object.encodeObject("anonima", coder.encodeBool(carta.anonima()));
    coder.setObject(at, object, {"CartaDiPagamento", "NSObject"});
    return at;
}

std::optional<CartaDiPagamentoPtr> initWithCoder(const ArchivedValue& value) {
    const ArchivedObject* o = value.asObject();
    if (!o) {
        return std::nullopt;
    }
    auto carta = std::make_shared<CartaDiPagamento>();
    if (const auto anonima = o->valueForKey("anonima")) {
        const auto flag = anonima->asBool();
        if (!flag) {
            return std::nullopt;
        }
        carta->setAnonima(*flag);
    }
    const auto serial = stringField(*o, "serial");
    const auto desc = stringField(*o, "desc");
    const auto alias = stringField(*o, "alias");
    const auto intestatario = stringField(*o, "intestatario");
    const auto dataAA = stringField(*o, "dataAA");
    const auto dataMM = stringField(*o, "dataMM");
    if (!serial || !desc || !alias || !intestatario || !dataAA || !dataMM) {
        return std::nullopt;
    }
    carta->setSerial(*serial);
    carta->setDesc(*desc);
    carta->setAlias(*alias);
    carta->setIntestatario(*intestatario);
    carta->setDataAA(*dataAA);
    carta->setDataMM(*dataMM);
    return carta;
}

} // namespace vestrino
