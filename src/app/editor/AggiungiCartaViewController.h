#pragma once

#include "app/chrome/VestrinoVC.h"
#include "entities/CartaDiPagamento.h"
#include "ui/Label.h"
#include "ui/TextField.h"
#include "ui/View.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vestrino {

class GestoreCarteLocali;

// The card editor. Without a card it adds an anonymous card (name, 16-digit number, expiry
// "MM/yy"); with an anonymous card it edits or deletes it; with a card of the account it
// renames it. Every change goes to the user's card list of the session and at once to the
// user's encrypted card file, then the editor closes. Nothing a person stored is lost: a list
// the session lost is read again from the file before anything is written, and when the file
// cannot be written the person is told and the editor stays open with what was typed.
class AggiungiCartaViewController : public VestrinoVC, public ui::TextFieldDelegate {
public:
    static constexpr int kDeleteAlertTag = 61;

    std::string layoutName() const override { return "AggiungiCartaViewController"; }
    std::string className() const override { return "AggiungiCartaViewController"; }
    ui::LayoutLoader::Actions layoutActions() override;
    bool isBackButtonRequired() override { return true; }

    // The card to edit (edit mode); nothing for add mode. Set before the view loads.
    void setCp(CartaDiPagamentoPtr carta) { cp_ = std::move(carta); }
    const CartaDiPagamentoPtr& cp() const { return cp_; }
    // The application's local card manager, taken from the delegate on first use.
    std::shared_ptr<GestoreCarteLocali> appState();

    void bindOutlets() override;
    void viewDidLoad() override;
    void viewDidUnload() override;
    // On a desktop keyboard the first field takes the focus.
    void viewDidAppear(bool animated) override;

    // Save: validate, store, close.
    void aggiungi();
    // The fields' check; shows the message and answers false when they are not acceptable.
    bool control();
    // Delete, after the person confirms.
    void elimina();
    void backgroundTap();

    // Return moves the focus name → number → expiry → name, and never inserts a line break; with
    // a desktop keyboard, Return in the last field (the name, for a card of the account) saves.
    bool textFieldShouldReturn(ui::TextField& field) override;
    void alertViewDidDismissWithButtonIndex(ui::AlertView& alert, int index) override;

    // Trimmed of white space and line breaks at both ends, every space inside removed.
    static std::string cleanupString(std::string_view text);

private:
    // The layout's controls, bound once when the view loads.
    std::shared_ptr<ui::TextField> nomeCarta_;
    std::shared_ptr<ui::TextField> numeroCarta_;
    std::shared_ptr<ui::TextField> scadenzaCarta_;
    std::shared_ptr<ui::View> scadenzaCartaImg_;
    std::shared_ptr<ui::View> aggiungiButton_;
    std::shared_ptr<ui::View> titolo_;
    std::shared_ptr<ui::View> eliminaButton_;
    std::shared_ptr<ui::View> scadenzaCartaLabel_;
    std::shared_ptr<ui::View> riga_;
    std::shared_ptr<ui::Label> numeroMascherato_;

    // The session's card list of the logged-in user, or, when the session lost it, the list
    // read again from the user's file (empty when there is no file); nothing when neither can
    // be had (no user, or a file that exists and cannot be read).
    std::shared_ptr<ListaCarte> cardList(std::string& user);
    // Applies `change` to the user's card list and writes the list: then the editor closes. When
    // the file cannot be written, the list is put back as it was, `undo` runs and the person is
    // told; the editor stays open.
    void commit(const std::function<void(ListaCarte&)>& change, const std::function<void()>& undo);
    void showWriteError();
    // Whether the person types on a keyboard of the desktop's own (no on-screen keyboard).
    bool hasOwnKeyboard() const;
    // Whether a record of the list other than the one being edited has this number (spaces
    // inside either left out).
    bool isNumberOfAnotherCard(ListaCarte& list, std::string_view number) const;
    // The record of the list being edited: the very record when the list holds it, else the
    // first equal one; end() when there is none.
    ListaCarte::iterator findEdited(ListaCarte& list) const;

    CartaDiPagamentoPtr cp_;
    std::shared_ptr<GestoreCarteLocali> appState_;
};

} // namespace vestrino
