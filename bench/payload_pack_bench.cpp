// The payload packer on the new version of the program file: encode speed, and the size of its
// two payloads beside deflate at gzip's -9 settings on the same 2,721,280 bytes.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <span>
#include <vector>

#include "fixtures/quorbel_fixture.h"
#include "payload_encoder/payload_encoder.h"

namespace {

constexpr std::size_t kPartA = 1'500'000;

// What `gzip -9` writes, less its file-name field: deflate level 9, 32 KiB window, gzip wrapper.
std::size_t GzipNineSize(std::span<const std::uint8_t> bytes) {
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return 0;
    std::vector<std::uint8_t> out(deflateBound(&z, static_cast<uLong>(bytes.size())));
    z.next_in = const_cast<Bytef*>(bytes.data());
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    const std::size_t size = rc == Z_STREAM_END ? z.total_out : 0;
    deflateEnd(&z);
    return size;
}

void BM_PackProgramFile(benchmark::State& state) {
    const std::vector<std::uint8_t> file = updater::fixtures::MakeQuorbelNew();
    const std::span<const std::uint8_t> all(file);
    std::size_t payloadBytes = 0;
    for (auto _ : state) {
        const auto a = updater::tools::EncodePayload(all.first(kPartA));
        const auto b = updater::tools::EncodePayload(all.subspan(kPartA));
        payloadBytes = a.size() + b.size();
        benchmark::DoNotOptimize(payloadBytes);
    }
    const std::size_t gzipBytes = GzipNineSize(all);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
    state.counters["payload_bytes"] = static_cast<double>(payloadBytes);
    state.counters["gzip9_bytes"] = static_cast<double>(gzipBytes);
    state.counters["vs_gzip9"] = gzipBytes != 0 ? static_cast<double>(payloadBytes) / gzipBytes : 0;
    state.counters["vs_input"] = static_cast<double>(payloadBytes) / file.size();
}
BENCHMARK(BM_PackProgramFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GzipNineProgramFile(benchmark::State& state) {
    const std::vector<std::uint8_t> file = updater::fixtures::MakeQuorbelNew();
    for (auto _ : state)
        benchmark::DoNotOptimize(GzipNineSize(file));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_GzipNineProgramFile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
