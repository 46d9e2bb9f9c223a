// Save and load of a list of 1,000 cards in the encrypted per-user file (archive, AES-128,
// atomic write; read, decrypt, unarchive).
#include "store/CardList.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

using namespace vestrino;

namespace {

ListaCarte thousandCards() {
    ListaCarte list;
    for (int i = 0; i < 1000; ++i) {
        auto c = std::make_shared<CartaDiPagamento>();
        c->setSerial("53331710" + std::to_string(10000000 + i));
        c->setDesc(std::to_string(1000000000 + i));
        c->setAlias(i % 3 ? std::optional<std::string>("Carta " + std::to_string(i))
                          : std::nullopt);
        c->setIntestatario("MARIO ROSSI");
        c->setDataAA("28");
        c->setDataMM("04");
        c->setAnonima(i % 2 == 0);
        list.push_back(std::move(c));
    }
    return list;
}

std::filesystem::path fileInTemp() {
    static const std::filesystem::path dir = [] {
        std::string pattern = std::filesystem::temp_directory_path() / "vestrino-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::abort();
        }
        return std::filesystem::path(pattern);
    }();
    return dir / "mario.rossi_listaCarte";
}

void BM_SaveThousandCards(benchmark::State& state) {
    const auto list = thousandCards();
    for (auto _ : state) {
        if (!CardList::saveCardList(list, fileInTemp())) {
            state.SkipWithError("save failed");
        }
    }
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(fileInTemp()));
}

void BM_LoadThousandCards(benchmark::State& state) {
    CardList::saveCardList(thousandCards(), fileInTemp());
    for (auto _ : state) {
        const auto list = CardList::loadCardListWithFile(fileInTemp());
        if (!list || list->size() != 1000) {
            state.SkipWithError("load failed");
        }
    }
}

} // namespace

BENCHMARK(BM_SaveThousandCards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadThousandCards)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
