#include "entities/WalletModel.h"

#include <gtest/gtest.h>

using namespace vestrino;

namespace {

CartaDiPagamentoPtr card(const char* serial, std::optional<std::string> alias, bool anonima) {
    auto c = std::make_shared<CartaDiPagamento>();
    c->setSerial(serial);
    c->setAlias(std::move(alias));
    c->setAnonima(anonima);
    return c;
}

} // namespace

// Three cards and the add page: which page an offset shows, the arrows, the texts under the
// carousel and what choosing each page does.
TEST(WalletModel, PagesOffsetsAndChoices) {
    const WalletModel wallet({card("5375123400001117", "Spesa", false),
                              card("4023600000002222", std::nullopt, true),
                              card("4023600000003333", "", false)});
    ASSERT_EQ(wallet.pageCount(), 4);
    EXPECT_EQ(wallet.addPage(), 3);

    struct Offset {
        double x;
        int page;
    };
    const Offset offsets[] = {
        {0, 0},     {160, 0}, {160.9, 0}, {161, 1}, {320, 1},
        {480.5, 1}, {481, 2}, {-40, 0},   {960, 3}, {5000, 3},
    };
    for (const auto& o : offsets) {
        EXPECT_EQ(wallet.pageAt(o.x), o.page) << o.x;
    }
    EXPECT_EQ(wallet.clampedOffset(-5), 0);
    EXPECT_EQ(wallet.clampedOffset(700), 700);
    EXPECT_EQ(wallet.clampedOffset(2000), 960);

    struct Page {
        bool left, right;
        const char* desc;
        const char* serial;
        const char* nameTitle;
        const char* pageName;
        WalletModel::Choice choice;
    };
    const Page pages[] = {
        {false, true, "Lumacard Standard", "**** **** **** 1117", "Spesa",
         "Spesa, Lumacard Standard che termina con 1117", WalletModel::Choice::Statement},
        {true, true, "Lumacard Anonima", "**** **** **** 2222", "Dai un nome alla tua carta",
         "Lumacard Anonima che termina con 2222", WalletModel::Choice::StatementAfterCVV2},
        {true, true, "Lumacard Standard", "**** **** **** 3333", "Dai un nome alla tua carta",
         "Lumacard Standard che termina con 3333", WalletModel::Choice::Statement},
        {true, false, "Puoi inserire una o più", "carte Lumacard nella tua lista",
         "Aggiungi Altra Carta", "Aggiungi Altra Carta", WalletModel::Choice::AddCard},
    };
    for (int p = 0; p < 4; ++p) {
        const auto& want = pages[p];
        EXPECT_EQ(wallet.arrows(p).left, want.left) << p;
        EXPECT_EQ(wallet.arrows(p).right, want.right) << p;
        const auto caption = wallet.caption(p);
        EXPECT_EQ(caption.desc, want.desc) << p;
        EXPECT_EQ(caption.serial, want.serial) << p;
        EXPECT_EQ(caption.nameTitle, want.nameTitle) << p;
        EXPECT_EQ(caption.pageName, want.pageName) << p;
        EXPECT_EQ(wallet.choice(p), want.choice) << p;
        EXPECT_EQ(wallet.card(p) != nullptr, p < 3) << p;
    }
    // The choose button's picture says what it does: so does its name.
    EXPECT_EQ(wallet.caption(0).chooseName, "Scegli questa carta");
    EXPECT_EQ(wallet.caption(3).chooseName, "Aggiungi una carta");
    EXPECT_EQ(wallet.choice(4), WalletModel::Choice::Nothing);
    EXPECT_EQ(wallet.choice(-1), WalletModel::Choice::Nothing);
}

// A list still loading, and an account with no cards: only the add page.
TEST(WalletModel, LoadingAndNoCards) {
    const WalletModel loading;
    EXPECT_FALSE(loading.loaded());
    EXPECT_EQ(loading.choice(0), WalletModel::Choice::Nothing);
    EXPECT_EQ(loading.pageAt(500), 0);
    EXPECT_EQ(loading.card(0), nullptr);

    const WalletModel empty(ListaCarte{});
    ASSERT_EQ(empty.pageCount(), 1);
    EXPECT_EQ(empty.choice(0), WalletModel::Choice::AddCard);
    EXPECT_EQ(empty.pageAt(300), 0);
    EXPECT_FALSE(empty.arrows(0).left);
    EXPECT_FALSE(empty.arrows(0).right);
    EXPECT_EQ(empty.clampedOffset(320), 0);
}
