#pragma once

#include "app/wallet/CVV2ModalDelegate.h"
#include "app/wallet/CVV2ModalVC.h"
#include "ui/NavigationController.h"

#include <functional>
#include <memory>
#include <string>

namespace vestrino {

// The CVV2 dialog over the wallet, from its fade-in to its fade-out. While it is up it covers
// the screen, every touch, key and text goes to it and the bars take no touch. Any answer
// closes it; once it has faded out, the owner hears of it and looks at the last answer (a
// whole CVV2 has three characters). A second answer while it fades closes nothing more. Held by
// shared pointer: the fade's end finds the flow only while its owner keeps it.
class Cvv2Flow : public std::enable_shared_from_this<Cvv2Flow> {
public:
    static constexpr std::size_t kLength = 3;

    // Opens the dialog over `host` (the wallet's view, whatever its height), its answer going
    // to `delegate`; `nav`'s bars are switched off until it has gone.
    void open(const std::shared_ptr<ui::View>& host, ui::NavigationController* nav,
              CVV2ModalDelegate* delegate);
    // Fades the open dialog out; `closed` runs once it has gone (once per dialog, however
    // many answers it gave). Nothing happens with no dialog open.
    void close(std::function<void()> closed);
    // Takes the dialog away at once, with what was typed in it, and tells nobody (the session
    // is locking). A fade already running ends without effect.
    void closeNow();

    // The dialog shown or fading out; nothing once it has gone.
    const std::shared_ptr<CVV2ModalVC>& dialog() const { return dialog_; }
    bool isOpen() const { return dialog_ != nullptr; }

    static bool isComplete(const std::string& cvv2);

private:
    void faded(const std::shared_ptr<CVV2ModalVC>& dialog, const std::function<void()>& closed);
    void setBarsInteraction(bool enabled);

    std::shared_ptr<CVV2ModalVC> dialog_;
    std::weak_ptr<ui::View> host_;
    ui::NavigationController* nav_ = nullptr;
};

} // namespace vestrino
