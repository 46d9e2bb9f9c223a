#include "app/CarteViewController.h"

#include "core/BackgroundTask.h"
#include "core/RunLoop.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"
#include "ui/Label.h"

namespace vestrino {

using namespace ui;

void CarteViewController::viewWillAppear(bool animated) {
    VestrinoVC::viewWillAppear(animated);
    if (firstLoad_) {
        showAlertWithTitle("Attendere", "Caricamento dati in corso...", true, std::nullopt,
                           std::nullopt);
    }
    auto self = std::static_pointer_cast<CarteViewController>(shared_from_this());
    BackgroundTask::detach([self] {
        std::shared_ptr<ListaCarte> carte;
        std::optional<std::string> message;
        const int code = RemoteServiceUtil::listaCarteForUserSession(carte, message);
        RunLoop::main().post([self, code, carte, message] { self->loaded(code, carte, message); });
    });
}

void CarteViewController::loaded(int code, std::shared_ptr<ListaCarte> carte,
                                 std::optional<std::string> message) {
    if (code != SUCCESS || !carte) {
        forceLogoutSessionExpired(message && !message->empty()
                                      ? *message
                                      : std::string("Problema temporaneo, riprovare più tardi."));
        return;
    }
    firstLoad_ = false;
    dismissAlertView();
    carte_ = std::move(carte);
    auto list = std::dynamic_pointer_cast<Label>(outlet("riepilogo"));
    if (list) {
        list->setText(std::to_string(carte_->size()) + (carte_->size() == 1 ? " carta" : " carte"));
    }
}

} // namespace vestrino
