// Time and memory of reading a 10,000-transaction statement reply, against a bare libxml2 SAX
// pass with empty callbacks over the same bytes. Prints the ratio and the peak memory.
#include "StatementReply.h"
#include "core/Log.h"
#include "core/ReplyText.h"
#include "xml/XMLParsingUtil.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <libxml/parser.h>
#include <malloc.h>
#include <map>
#include <new>
#include <unicode/uclean.h>
#include <vector>

using namespace vestrino;

// ---- Allocation accounting: C++ new/delete, libxml2 and ICU all go through these. ----
namespace {
std::atomic<long long> gCurrent{0};
std::atomic<long long> gPeak{0};
// Counting is on only while the peak of one parse is measured, so the timings are not skewed.
std::atomic<bool> gCounting{false};

void counted(void* p) {
    if (p && gCounting.load(std::memory_order_relaxed)) {
        const long long now = gCurrent += static_cast<long long>(malloc_usable_size(p));
        long long peak = gPeak.load();
        while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
        }
    }
}
void* countedMalloc(std::size_t n) {
    void* p = std::malloc(n);
    counted(p);
    return p;
}
void countedFree(void* p) {
    if (p && gCounting.load(std::memory_order_relaxed)) {
        gCurrent -= static_cast<long long>(malloc_usable_size(p));
    }
    std::free(p);
}
void* countedRealloc(void* p, std::size_t n) {
    if (p && gCounting.load(std::memory_order_relaxed)) {
        gCurrent -= static_cast<long long>(malloc_usable_size(p));
    }
    void* q = std::realloc(p, n);
    counted(q);
    if (!q && p && n && gCounting.load(std::memory_order_relaxed)) {
        counted(p); // realloc failed: the old block is still there
    }
    return q;
}
char* countedStrdup(const char* s) {
    const std::size_t n = std::strlen(s) + 1;
    auto* p = static_cast<char*>(countedMalloc(n));
    if (p) {
        std::memcpy(p, s, n);
    }
    return p;
}
void* icuAlloc(const void*, size_t n) {
    return countedMalloc(n);
}
void* icuRealloc(const void*, void* p, size_t n) {
    return countedRealloc(p, n);
}
void icuFree(const void*, void* p) {
    countedFree(p);
}
} // namespace

void* operator new(std::size_t n) {
    if (void* p = countedMalloc(n ? n : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    countedFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
    countedFree(p);
}

namespace {

const std::string& reply() {
    static const std::string text = *decodeReplyText(bench::statementReply(10000));
    return text;
}

void emptyStart(void*, const xmlChar*, const xmlChar*, const xmlChar*, int, const xmlChar**, int,
                int, const xmlChar**) {}
void emptyEnd(void*, const xmlChar*, const xmlChar*, const xmlChar*) {}
void emptyCharacters(void*, const xmlChar*, int) {}

// The bare pass: a SAX2 handler table with empty element and text callbacks.
int bareSaxPass(const std::string& text) {
    static const xmlSAXHandler handler = [] {
        xmlSAXHandler h;
        std::memset(&h, 0, sizeof h);
        h.initialized = XML_SAX2_MAGIC;
        h.startElementNs = emptyStart;
        h.endElementNs = emptyEnd;
        h.characters = emptyCharacters;
        return h;
    }();
    auto h = handler;
    return xmlSAXUserParseMemory(&h, nullptr, text.c_str(), static_cast<int>(text.size()));
}

// The statement read as the service client reads it; the number of transactions read.
std::size_t statementParse(const XMLParsingUtil::Text& text) {
    bool ok = false;
    XMLParsingUtil::Text esito, codice, messaggio;
    CartaDiPagamentoPtr carta;
    SaldoPtr saldo;
    ListaMovimenti movimenti;
    XMLParsingUtil::parseListaMovimenti(text, ok, esito, codice, messaggio, carta, saldo,
                                        movimenti);
    return ok ? movimenti.size() : 0;
}

void BM_BareSax(benchmark::State& state) {
    const std::string& text = reply();
    for (auto _ : state) {
        benchmark::DoNotOptimize(bareSaxPass(text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_ParseListaMovimenti(benchmark::State& state) {
    const XMLParsingUtil::Text text = reply();
    for (auto _ : state) {
        if (statementParse(text) != 10000) {
            state.SkipWithError("the statement was not read whole");
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text->size()));
}

BENCHMARK(BM_BareSax)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ParseListaMovimenti)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Keeps the real time per iteration of each benchmark for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs) {
            if (!r.error_occurred) {
                const auto name = r.benchmark_name();
                times[name.substr(0, name.find('/'))] = r.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

// Peak bytes allocated while one parse runs, beyond what was allocated before it (the reply
// text itself is not counted: it exists before and after).
long long peakOfOneParse() {
    const XMLParsingUtil::Text text = reply();
    gCurrent = 0;
    gPeak = 0;
    gCounting = true;
    statementParse(text);
    gCounting = false;
    return gPeak.load();
}

// The two passes one after the other, many times over, each timed on its own: the median of
// each. The host's speed changes from second to second on a shared machine; taken side by
// side, both passes meet the same conditions.
std::pair<double, double> interleavedMedians(int rounds) {
    const XMLParsingUtil::Text text = reply();
    std::vector<double> bare, ours;
    auto timed = [](std::vector<double>& into, const auto& work) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(work());
        into.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    };
    for (int i = 0; i < rounds; ++i) {
        timed(bare, [&] { return bareSaxPass(*text); });
        timed(ours, [&] { return statementParse(text); });
    }
    auto median = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    return {median(ours), median(bare)};
}

} // namespace

int main(int argc, char** argv) {
    UErrorCode status = U_ZERO_ERROR;
    u_setMemoryFunctions(nullptr, icuAlloc, icuRealloc, icuFree, &status);
    xmlMemSetup(countedFree, countedMalloc, countedRealloc, countedStrdup);
    Log::setSink([](std::string_view) {});

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double size = static_cast<double>(reply().size());
    const long long peak = peakOfOneParse();
    std::printf("\nreply: %.2f MB, 10000 transactions\n", size / 1e6);
    if (reporter.times.count("BM_BareSax") && reporter.times.count("BM_ParseListaMovimenti")) {
        const double bare = reporter.times["BM_BareSax"];
        const double ours = reporter.times["BM_ParseListaMovimenti"];
        std::printf("parseListaMovimenti / bare SAX pass: %.2f ms / %.2f ms = %.2f (goal <= 1.5)\n",
                    ours, bare, ours / bare);
    }
    const auto [ours, bare] = interleavedMedians(60);
    std::printf("side by side, 60 rounds, medians: %.2f ms / %.2f ms = %.2f (goal <= 1.5)\n", ours,
                bare, ours / bare);
    std::printf("peak memory of one parse: %.2f MB = %.2f x the reply (goal < 4)\n", peak / 1e6,
                static_cast<double>(peak) / size);
    benchmark::Shutdown();
    return 0;
}
