// Micro-benchmarks of the reader's inner steps: cutting a line into tokens, reading a number,
// and applying whole records to HostState.
#include <benchmark/benchmark.h>

#include "exchange/ExchangeTokens.h"
#include "exchange/JwwGaibu.h"
#include "util/MyFunc.h"

namespace {

using namespace dovarin;

constexpr std::string_view kSegment = "-90984.2577738658 21250.5480255399 -66133.21 17849.7297";
// ch ... "テキスト
constexpr std::string_view kText = "ch 1250.5 -340.25 1 0 \"\x83\x65\x83\x4c\x83\x58\x83\x67";

void BM_TokenizeSegment(benchmark::State& state) {
    LineTokens tokens;
    for (auto _ : state) {
        TokenizeExchangeLine(kSegment, tokens);
        benchmark::DoNotOptimize(tokens.Count());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kSegment.size()));
}
BENCHMARK(BM_TokenizeSegment);

void BM_StrToFloatOrZero(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(StrToFloatOrZero("-90984.2577738658"));
}
BENCHMARK(BM_StrToFloatOrZero);

void BM_StrToFloatOrZeroShort(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(StrToFloatOrZero("12345.678"));
}
BENCHMARK(BM_StrToFloatOrZeroShort);

// Starts HostState afresh now and then, so that the records measured stay in memory already
// touched instead of growing without end.
void KeepStateSmall(benchmark::State& state) {
    if (HostState.EntityOrder.size() < 100000) return;
    state.PauseTiming();
    InitHostState();
    state.ResumeTiming();
}

void BM_ParseSegmentRecord(benchmark::State& state) {
    InitHostState();
    for (auto _ : state) {
        ParseExchangeText(kSegment);
        KeepStateSmall(state);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kSegment.size()));
    InitHostState();
}
BENCHMARK(BM_ParseSegmentRecord);

void BM_ParseTextRecord(benchmark::State& state) {
    InitHostState();
    for (auto _ : state) {
        ParseExchangeText(kText);
        KeepStateSmall(state);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kText.size()));
    InitHostState();
}
BENCHMARK(BM_ParseTextRecord);

}  // namespace

BENCHMARK_MAIN();
