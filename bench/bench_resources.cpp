// Resource look-ups in hostile libraries: the modules are read before their
// signature is checked, so a crafted file must not stall the start-up.
#include "platform/pe.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace {

uint32_t Get32(const std::string& b, size_t off) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[off + static_cast<size_t>(i)]);
    return v;
}

void Put16(std::string& b, size_t off, uint32_t v) {
    b[off] = static_cast<char>(v & 0xFF);
    b[off + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& b, size_t off, uint32_t v) {
    Put16(b, off, v & 0xFFFF);
    Put16(b, off + 2, v >> 16);
}

// One type directory of 131,070 entries whose names all point at one name
// of 65,535 characters.
std::string LongNamesImage() {
    const uint32_t entries = 2 * 0xFFFF, typeDir = 32, nameAt = typeDir + 16 + entries * 8;
    std::string img = BuildResourceLibrary({{"T", "N", std::string(nameAt + 2 + 2 * 0xFFFF + 64, 'x')}});
    const size_t pe = Get32(img, 0x3C), opt = pe + 24;
    const size_t section = opt + (static_cast<unsigned char>(img[pe + 20]) | static_cast<unsigned char>(img[pe + 21]) << 8);
    const size_t r = Get32(img, section + 20), size = Get32(img, section + 8);
    std::fill(img.begin() + static_cast<long>(r), img.begin() + static_cast<long>(r + size), '\0');
    Put16(img, r + 14, 1);
    Put32(img, r + 16, 10);
    Put32(img, r + 20, 0x80000000u | typeDir);
    Put16(img, r + typeDir + 12, 0xFFFF);
    Put16(img, r + typeDir + 14, 0xFFFF);
    for (uint32_t i = 0; i < entries; ++i) {
        Put32(img, r + typeDir + 16 + 8 * i, 0x80000000u | nameAt);
        Put32(img, r + typeDir + 20 + 8 * i, 0x80000000u | typeDir);
    }
    Put16(img, r + nameAt, 0xFFFF);
    for (uint32_t i = 0; i < 0xFFFF; ++i) Put16(img, r + nameAt + 2 + 2 * i, 'A');
    return img;
}

void BM_LookupPastLongNames(benchmark::State& state) {
    const std::string img = LongNamesImage();
    TPeImage pe;
    if (!pe.Parse(img)) state.SkipWithError(pe.Error().c_str());
    const TPeResourceId name = TPeResourceId::FromText("HV1"), type = TPeResourceId::FromText("#10");
    for (auto _ : state) benchmark::DoNotOptimize(pe.FindResource(name, type));
}
BENCHMARK(BM_LookupPastLongNames)->Unit(benchmark::kMillisecond);

} // namespace
