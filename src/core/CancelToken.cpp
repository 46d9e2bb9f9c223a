#include "core/CancelToken.h"

namespace vestrino {

namespace {

thread_local const CancelToken* current = nullptr;

std::atomic<bool>& quitFlag() {
    static std::atomic<bool> flag{false};
    return flag;
}

} // namespace

bool CancelToken::currentCancelled() {
    return quitting() || (current && current->cancelled());
}

void CancelToken::quit() {
    quitFlag().store(true);
}

bool CancelToken::quitting() {
    return quitFlag().load();
}

CancelScope::CancelScope(const CancelToken& token) : previous_(current) {
    current = &token;
}

CancelScope::~CancelScope() {
    current = previous_;
}

} // namespace vestrino
