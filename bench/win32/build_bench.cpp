// The decoder and dictionary figures of a Windows build, with that build's own compiler and flags:
// built by the windows-x86 preset it is the code users run, by the windows preset the x64 build
// beside it. A small harness rather than Google Benchmark, which has no mingw-w64 build here; run
// under Wine by scripts/bench, which alternates the two builds and takes the medians.
//
//   build_bench [REPETITIONS]      (default 5)
//
// Each repetition runs every contender once, starting one contender later each time; a sample
// repeats the work a fixed number of times and prints one line
//   sample NAME WALL_MS CPU_MS
// per run of it (wall and process CPU time). The decoders' outputs are compared with the original
// bytes, and the CRC-32 taken while decoding with the file's; zlib is the contender the native
// benchmark sets beside them that has a mingw-w64 build (libdeflate has none here).
#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/safe_file_write.h"
#include "fixtures/dictionary_fixture.h"
#include "fixtures/quorbel_fixture.h"
#include "patch/dictionary_script.h"
#include "patch/dictionary_update.h"
#include "patch/payload_decoder.h"
#include "patch/resource_source.h"

namespace {

using namespace updater;
using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void Die(const char* what) {
    std::fprintf(stderr, "build_bench: %s\n", what);
    std::exit(1);
}

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    const auto ticks = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e4;  // 100 ns units
}

struct FileSink : base::ByteSink {
    explicit FileSink(base::File& file) : file(file) {}
    base::FileError Write(std::span<const std::uint8_t> bytes) override { return file.Write(bytes); }
    base::File& file;
};

struct Contender {
    const char* name;
    int runs;  // per sample, so that a sample lasts tens of milliseconds
    std::function<void()> run;
};

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::atoi(argv[1]) : 5;
    if (repetitions < 1) Die("usage: build_bench [REPETITIONS]");

    // The program file and its payloads as this program carries them.
    const Bytes file = fixtures::MakeQuorbelNew();
    const auto a = patch::ProgramResources().Find("PEN251IEA");
    const auto b = patch::ProgramResources().Find("PEN251IEB");
    if (!a || !b) Die("the payloads are not among the program's resources");
    Bytes zlib(compressBound(static_cast<uLong>(file.size())));
    uLongf zlibSize = static_cast<uLongf>(zlib.size());
    if (compress2(zlib.data(), &zlibSize, file.data(), static_cast<uLong>(file.size()), 9) != Z_OK) {
        Die("zlib compression failed");
    }
    zlib.resize(zlibSize);
    const auto fileCrc = static_cast<std::uint32_t>(crc32(0, file.data(), static_cast<uInt>(file.size())));

    // The dictionary of the build's record, in a folder of its own under the temporary folder.
    const auto fixture = fixtures::GenerateDictionaryFixture();
    if (!fixture) Die("no dictionary fixture");
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "updater-build-bench";
    std::filesystem::create_directories(folder);
    const std::string oldPath = (folder / "old.sg").string();
    const std::string outPath = (folder / "converted.sg").string();
    const std::string copyPath = (folder / "copy.sg").string();
    {
        auto out = base::File::CreateOrTruncate(oldPath);
        if (!out || out.value().Write(std::span(reinterpret_cast<const std::uint8_t*>(fixture->oldText.data()),
                                                fixture->oldText.size())) != base::FileError::kNone) {
            Die("cannot write the dictionary");
        }
    }
    const std::span script(reinterpret_cast<const std::uint8_t*>(fixture->script.data()), fixture->script.size());

    patch::PayloadDecoder first;
    patch::PayloadDecoder second;
    Bytes inflated(file.size());
    Bytes block(1 << 20);
    const auto checkPieces = [&] {
        if (first.Output().size() + second.Output().size() != file.size() ||
            !std::equal(first.Output().begin(), first.Output().end(), file.begin()) ||
            !std::equal(second.Output().begin(), second.Output().end(), file.begin() + first.Output().size())) {
            Die("the payloads gave other bytes");
        }
    };
    std::vector<Contender> contenders = {
        {"decode_one_thread", 40,
         [&] {
             if (patch::PayloadDecoder::DecodeTwo(first, *a, second, *b, nullptr).error != patch::DecodeError::kNone) {
                 Die("a piece failed");
             }
         }},
        {"decode_with_crc32", 40,
         [&] {
             std::uint32_t crc = 0;
             if (patch::PayloadDecoder::DecodeTwo(first, *a, second, *b, &crc).error != patch::DecodeError::kNone ||
                 crc != fileCrc) {
                 Die("a piece failed or the CRC-32 is not the file's");
             }
         }},
        {"decode_one_by_one", 40,
         [&] {
             if (first.Decode(*a) != patch::DecodeError::kNone || second.Decode(*b) != patch::DecodeError::kNone) {
                 Die("a piece failed");
             }
         }},
        {"zlib_uncompress", 20,
         [&] {
             uLongf size = static_cast<uLongf>(inflated.size());
             if (uncompress(inflated.data(), &size, zlib.data(), static_cast<uLong>(zlib.size())) != Z_OK ||
                 size != file.size()) {
                 Die("inflate failed");
             }
         }},
        {"dictionary_convert_unflushed", 4,
         [&] {
             const auto lines = patch::ScriptLines(script);
             auto out = base::File::CreateOrTruncate(outPath);
             if (!out) Die("cannot create the converted dictionary");
             FileSink sink(out.value());
             int progress = 0;
             if (!patch::ConvertDictionary(oldPath, sink, lines, progress, [] {}).ok()) Die("conversion failed");
         }},
        {"dictionary_copy_1mib_unflushed", 4,
         [&] {
             auto in = base::File::OpenForReading(oldPath, base::ReadShare::kDenyWriters);
             auto out = base::File::CreateOrTruncate(copyPath);
             if (!in || !out) Die("cannot open the copy");
             for (;;) {
                 auto n = in.value().Read(block);
                 if (!n) Die("cannot read");
                 if (n.value() == 0) break;
                 if (out.value().Write(std::span(block).first(n.value())) != base::FileError::kNone)
                     Die("cannot write");
             }
         }},
    };

    std::printf("build: %s, %d repetitions\n", sizeof(void*) == 4 ? "x86" : "x64", repetitions);
    for (int rep = 0; rep < repetitions; ++rep) {
        for (std::size_t k = 0; k < contenders.size(); ++k) {
            const Contender& c = contenders[(k + static_cast<std::size_t>(rep)) % contenders.size()];
            c.run();  // once to warm the caches
            const double cpuBefore = ProcessCpuMs();
            const auto wallBefore = std::chrono::steady_clock::now();
            for (int i = 0; i < c.runs; ++i)
                c.run();
            const double wall =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallBefore).count();
            const double cpu = ProcessCpuMs() - cpuBefore;
            std::printf("sample %s %.3f %.3f\n", c.name, wall / c.runs, cpu / c.runs);
        }
    }
    checkPieces();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
