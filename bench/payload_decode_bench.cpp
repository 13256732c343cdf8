// Decoding the program file's two payloads beside zlib's inflate and libdeflate on the same
// 2,721,280 bytes, compressed at level 9, in one run. Every benchmark reports MB/s of output and its
// compressed size relative to the original (ratio); the payloads are decoded together as the
// replacement decodes them, also with the CRC-32 of the file taken as the pieces are written, and
// one after the other.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

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

// Every contender reports wall time and the CPU time of the process; scripts/bench sets them side
// by side.
void Report(benchmark::State& state, std::size_t compressed) {
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(GetInputs().file.size()) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
    state.counters["ratio"] = static_cast<double>(compressed) / static_cast<double>(GetInputs().file.size());
}

void BM_ZlibInflate(benchmark::State& state) {
    const Inputs& in = GetInputs();
    Bytes out(in.file.size());
    for (auto _ : state) {
        uLongf size = static_cast<uLongf>(out.size());
        if (uncompress(out.data(), &size, in.zlib.data(), static_cast<uLong>(in.zlib.size())) != Z_OK) {
            Die("inflate failed");
        }
        benchmark::DoNotOptimize(out.data());
    }
    if (out != in.file) Die("inflate gave other bytes");
    Report(state, in.zlib.size());
}

void BM_Libdeflate(benchmark::State& state) {
    const Inputs& in = GetInputs();
    Bytes out(in.file.size());
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    for (auto _ : state) {
        if (libdeflate_zlib_decompress(decompressor, in.deflate.data(), in.deflate.size(), out.data(), out.size(),
                                       nullptr) != LIBDEFLATE_SUCCESS) {
            Die("libdeflate failed");
        }
        benchmark::DoNotOptimize(out.data());
    }
    libdeflate_free_decompressor(decompressor);
    if (out != in.file) Die("libdeflate gave other bytes");
    Report(state, in.deflate.size());
}

void CheckPieces(const patch::PayloadDecoder& a, const patch::PayloadDecoder& b) {
    const Inputs& in = GetInputs();
    Bytes whole(a.Output().begin(), a.Output().end());
    whole.insert(whole.end(), b.Output().begin(), b.Output().end());
    if (whole != in.file) Die("the payloads gave other bytes");
}

// Both pieces as the replacement decodes them: two decoders, each stage of both in one loop
// (PayloadDecoder::DecodeTwo), each piece decoded whole into its decoder's own buffer.
void BM_PayloadDecoder(benchmark::State& state) {
    const Inputs& in = GetInputs();
    patch::PayloadDecoder a;
    patch::PayloadDecoder b;
    for (auto _ : state) {
        if (patch::PayloadDecoder::DecodeTwo(a, in.payloadA, b, in.payloadB, nullptr).error !=
            patch::DecodeError::kNone) {
            Die("the payloads did not decode");
        }
        benchmark::DoNotOptimize(a.Output().data());
        benchmark::DoNotOptimize(b.Output().data());
    }
    CheckPieces(a, b);
    Report(state, in.payloadA.size() + in.payloadB.size());
}

// The same with the CRC-32 of the whole file taken as the pieces are written, as the replacement
// decodes them.
void BM_PayloadDecoderCrc32(benchmark::State& state) {
    const Inputs& in = GetInputs();
    patch::PayloadDecoder a;
    patch::PayloadDecoder b;
    std::uint32_t crc = 0;
    for (auto _ : state) {
        crc = 0;
        if (patch::PayloadDecoder::DecodeTwo(a, in.payloadA, b, in.payloadB, &crc).error != patch::DecodeError::kNone) {
            Die("the payloads did not decode");
        }
        benchmark::DoNotOptimize(crc);
    }
    CheckPieces(a, b);
    if (crc != static_cast<std::uint32_t>(::crc32(0, in.file.data(), static_cast<uInt>(in.file.size())))) {
        Die("the CRC-32 taken while decoding is not the file's");
    }
    Report(state, in.payloadA.size() + in.payloadB.size());
}

// One piece after the other with one decoder (Decode), stage 1 of each on its own.
void BM_PayloadDecoderOneByOne(benchmark::State& state) {
    const Inputs& in = GetInputs();
    patch::PayloadDecoder decoder;
    for (auto _ : state) {
        if (decoder.Decode(in.payloadA) != patch::DecodeError::kNone) Die("piece A did not decode");
        benchmark::DoNotOptimize(decoder.Output().data());
        if (decoder.Decode(in.payloadB) != patch::DecodeError::kNone) Die("piece B did not decode");
        benchmark::DoNotOptimize(decoder.Output().data());
    }
    patch::PayloadDecoder other;
    if (other.Decode(in.payloadA) != patch::DecodeError::kNone) Die("piece A did not decode");
    CheckPieces(other, decoder);
    Report(state, in.payloadA.size() + in.payloadB.size());
}

}  // namespace

BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Libdeflate)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_PayloadDecoder)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_PayloadDecoderCrc32)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_PayloadDecoderOneByOne)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
