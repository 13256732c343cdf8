// Decoding the program file's two payloads beside zlib's inflate and libdeflate on the same
// 2,721,280 bytes, compressed at level 9, in one run. Every benchmark reports MB/s of output; the
// payload decoder also reports its speed relative to the two others as measured in this run
// (x_zlib, x_libdeflate) and each one its compressed size relative to the original (ratio).
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fixtures/quorbel_fixture.h"
#include "patch/payload_decoder.h"
#include "patch/resource_source.h"
#include "payload_encoder/payload_encoder.h"

namespace {

using namespace updater;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kPieceA = 1'500'000;

struct Inputs {
    Bytes file;
    Bytes payloadA;
    Bytes payloadB;
    Bytes zlib;     // zlib stream by zlib's compress2 at level 9
    Bytes deflate;  // zlib stream by libdeflate at level 9
};

[[noreturn]] void Die(const char* what) {
    std::fprintf(stderr, "payload_decode_bench: %s\n", what);
    std::abort();
}

Bytes Copy(std::span<const std::uint8_t> s) {
    return Bytes(s.begin(), s.end());
}

const Inputs& GetInputs() {
    static const Inputs inputs = [] {
        Inputs in;
        in.file = fixtures::MakeQuorbelNew();
        const std::span<const std::uint8_t> all(in.file);
        // The payloads this program carries when it has them, else the same encoded here.
        const auto a = patch::ProgramResources().Find("PEN251IEA");
        const auto b = patch::ProgramResources().Find("PEN251IEB");
        in.payloadA = a ? Copy(*a) : tools::EncodePayload(all.first(kPieceA));
        in.payloadB = b ? Copy(*b) : tools::EncodePayload(all.subspan(kPieceA));

        uLongf zlibSize = compressBound(static_cast<uLong>(in.file.size()));
        in.zlib.resize(zlibSize);
        if (compress2(in.zlib.data(), &zlibSize, in.file.data(), static_cast<uLong>(in.file.size()), 9) != Z_OK) {
            Die("zlib compression failed");
        }
        in.zlib.resize(zlibSize);

        libdeflate_compressor* compressor = libdeflate_alloc_compressor(9);
        in.deflate.resize(libdeflate_zlib_compress_bound(compressor, in.file.size()));
        in.deflate.resize(
            libdeflate_zlib_compress(compressor, in.file.data(), in.file.size(), in.deflate.data(), in.deflate.size()));
        libdeflate_free_compressor(compressor);
        if (in.deflate.empty()) Die("libdeflate compression failed");
        return in;
    }();
    return inputs;
}

// Seconds per iteration of each contender, filled as they run (in registration order), so the
// last one can put the others beside itself.
double zlibSeconds = 0;
double libdeflateSeconds = 0;

// CPU time of this thread: the machine may be busy with other work, and the framework's own
// counters use CPU time too.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void Report(benchmark::State& state, double secondsPerIteration, std::size_t compressed) {
    state.counters["MB/s"] = static_cast<double>(GetInputs().file.size()) / 1e6 / secondsPerIteration;
    state.counters["ratio"] = static_cast<double>(compressed) / static_cast<double>(GetInputs().file.size());
}

void BM_ZlibInflate(benchmark::State& state) {
    const Inputs& in = GetInputs();
    Bytes out(in.file.size());
    double seconds = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        uLongf size = static_cast<uLongf>(out.size());
        if (uncompress(out.data(), &size, in.zlib.data(), static_cast<uLong>(in.zlib.size())) != Z_OK) {
            Die("inflate failed");
        }
        benchmark::DoNotOptimize(out.data());
        seconds += ThreadSeconds() - start;
    }
    if (out != in.file) Die("inflate gave other bytes");
    zlibSeconds = seconds / static_cast<double>(state.iterations());
    Report(state, zlibSeconds, in.zlib.size());
}

void BM_Libdeflate(benchmark::State& state) {
    const Inputs& in = GetInputs();
    Bytes out(in.file.size());
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    double seconds = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        if (libdeflate_zlib_decompress(decompressor, in.deflate.data(), in.deflate.size(), out.data(), out.size(),
                                       nullptr) != LIBDEFLATE_SUCCESS) {
            Die("libdeflate failed");
        }
        benchmark::DoNotOptimize(out.data());
        seconds += ThreadSeconds() - start;
    }
    libdeflate_free_decompressor(decompressor);
    if (out != in.file) Die("libdeflate gave other bytes");
    libdeflateSeconds = seconds / static_cast<double>(state.iterations());
    Report(state, libdeflateSeconds, in.deflate.size());
}

// Both pieces, each decoded whole into the decoder's own buffer, as the updater does.
void BM_PayloadDecoder(benchmark::State& state) {
    const Inputs& in = GetInputs();
    patch::PayloadDecoder decoder;
    Bytes whole;
    for (const Bytes* payload : {&in.payloadA, &in.payloadB}) {
        if (decoder.Decode(*payload) != patch::DecodeError::kNone) Die("a payload did not decode");
        whole.insert(whole.end(), decoder.Output().begin(), decoder.Output().end());
    }
    if (whole != in.file) Die("the payloads gave other bytes");

    double seconds = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        if (decoder.Decode(in.payloadA) != patch::DecodeError::kNone) Die("piece A did not decode");
        benchmark::DoNotOptimize(decoder.Output().data());
        if (decoder.Decode(in.payloadB) != patch::DecodeError::kNone) Die("piece B did not decode");
        benchmark::DoNotOptimize(decoder.Output().data());
        seconds += ThreadSeconds() - start;
    }
    const double perIteration = seconds / static_cast<double>(state.iterations());
    Report(state, perIteration, in.payloadA.size() + in.payloadB.size());
    if (zlibSeconds > 0) state.counters["x_zlib"] = zlibSeconds / perIteration;
    if (libdeflateSeconds > 0) state.counters["x_libdeflate"] = libdeflateSeconds / perIteration;
}

// Each stage alone over both pieces, to see where the time goes.
void BM_PayloadStage1(benchmark::State& state) {
    const Inputs& in = GetInputs();
    patch::PayloadDecoder decoder;
    for (auto _ : state) {
        if (decoder.RunStage1(in.payloadA) != patch::DecodeError::kNone) Die("piece A: stage 1");
        if (decoder.RunStage1(in.payloadB) != patch::DecodeError::kNone) Die("piece B: stage 1");
        benchmark::DoNotOptimize(decoder.Intermediate().data());
    }
    state.counters["MB/s"] =
        benchmark::Counter(static_cast<double>(in.file.size()) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_PayloadStage2(benchmark::State& state) {
    const Inputs& in = GetInputs();
    patch::PayloadDecoder a;
    patch::PayloadDecoder b;
    if (a.RunStage1(in.payloadA) != patch::DecodeError::kNone) Die("piece A: stage 1");
    if (b.RunStage1(in.payloadB) != patch::DecodeError::kNone) Die("piece B: stage 1");
    for (auto _ : state) {
        if (a.RunStage2() != patch::DecodeError::kNone) Die("piece A: stage 2");
        if (b.RunStage2() != patch::DecodeError::kNone) Die("piece B: stage 2");
        benchmark::DoNotOptimize(a.Output().data());
        benchmark::DoNotOptimize(b.Output().data());
    }
    state.counters["MB/s"] =
        benchmark::Counter(static_cast<double>(in.file.size()) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libdeflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PayloadDecoder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PayloadStage1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PayloadStage2)->Unit(benchmark::kMillisecond);
