#include "storage/cipher.h"

#include <benchmark/benchmark.h>

namespace {

const std::string kLine60 = "And remember when your Lord said to the angels: I will make a";

// A fresh key: the RIPEMD-256 digest and the whole Blowfish key schedule.
void BM_DecipherFreshKey(benchmark::State& state) {
    SetTextCipherCacheEnabled(true);
    std::string stored = EncipherText(kLine60, 17);
    SetTextCipherCacheEnabled(false);
    for (auto _ : state) benchmark::DoNotOptimize(DecipherText(stored, 17));
    SetTextCipherCacheEnabled(true);
}
BENCHMARK(BM_DecipherFreshKey);

void BM_DecipherCachedKey(benchmark::State& state) {
    SetTextCipherCacheEnabled(true);
    std::string stored = EncipherText(kLine60, 17);
    for (auto _ : state) benchmark::DoNotOptimize(DecipherText(stored, 17));
}
BENCHMARK(BM_DecipherCachedKey);

void BM_EncipherCachedKey(benchmark::State& state) {
    SetTextCipherCacheEnabled(true);
    for (auto _ : state) benchmark::DoNotOptimize(EncipherText(kLine60, 17));
}
BENCHMARK(BM_EncipherCachedKey);

} // namespace
