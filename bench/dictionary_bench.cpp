// The dictionary update on the 20 MB synthetic dictionary of the build's record, beside GNU patch
// applying an equivalent diff (normal format: no context lines, as the script has none) to the same
// file, and a plain copy of the file, each flushed or not as the conversion it is set beside.
// Needs `diff` and `patch` on the PATH.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/safe_file_write.h"
#include "fixtures/dictionary_fixture.h"
#include "patch/dictionary_script.h"
#include "patch/dictionary_update.h"

namespace {

using namespace updater;

struct Files {
    std::string folder;
    std::string oldPath;
    std::string newPath;
    std::string scriptText;
    std::string diffPath;
    std::int64_t size = 0;
};

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

const Files& Fixture() {
    static const Files files = [] {
        Files f;
        const auto dir = std::filesystem::temp_directory_path() / "updater-dictionary-bench";
        std::filesystem::create_directories(dir);
        f.folder = dir.string() + "/";
        const auto fixture = fixtures::GenerateDictionaryFixture();
        if (!fixture) std::abort();
        f.oldPath = f.folder + "old.sg";
        f.newPath = f.folder + "new.sg";
        f.diffPath = f.folder + "old-to-new.diff";
        WriteFile(f.oldPath, fixture->oldText);
        WriteFile(f.newPath, fixture->newText);
        f.scriptText = fixture->script;
        f.size = static_cast<std::int64_t>(fixture->oldText.size());
        // diff exits with 1 when the files differ, as they do.
        const std::string command = "diff " + f.oldPath + " " + f.newPath + " > " + f.diffPath;
        if (std::system(command.c_str()) == -1) std::abort();
        return f;
    }();
    return files;
}

void BM_DictionaryConvert(benchmark::State& state) {
    const Files& f = Fixture();
    const std::string out = f.folder + "converted.sg";
    for (auto _ : state) {
        // Splitting the script into lines is part of the step.
        const auto lines = patch::ScriptLines(
            std::span(reinterpret_cast<const std::uint8_t*>(f.scriptText.data()), f.scriptText.size()));
        int progress = 0;
        const patch::ConvertResult r = patch::ConvertDictionary(f.oldPath, out, lines, progress, [] {});
        if (!r.ok()) state.SkipWithError("conversion failed");
    }
    state.SetBytesProcessed(state.iterations() * f.size);
}
BENCHMARK(BM_DictionaryConvert)->Unit(benchmark::kMillisecond)->UseRealTime();

// Writes straight into a file: no temporary file, no flush.
struct FileSink : base::ByteSink {
    explicit FileSink(base::File& file) : file(file) {}
    base::FileError Write(std::span<const std::uint8_t> bytes) override { return file.Write(bytes); }
    base::File& file;
};

// The conversion without the safe write, to set beside the unflushed 1 MiB-block copy.
void BM_DictionaryConvertUnflushed(benchmark::State& state) {
    const Files& f = Fixture();
    for (auto _ : state) {
        const auto lines = patch::ScriptLines(
            std::span(reinterpret_cast<const std::uint8_t*>(f.scriptText.data()), f.scriptText.size()));
        auto out = base::File::CreateOrTruncate(f.folder + "converted-unflushed.sg");
        if (!out) {
            state.SkipWithError("cannot create");
            break;
        }
        FileSink sink(out.value());
        int progress = 0;
        const patch::ConvertResult r = patch::ConvertDictionary(f.oldPath, sink, lines, progress, [] {});
        if (!r.ok()) state.SkipWithError("conversion failed");
    }
    state.SetBytesProcessed(state.iterations() * f.size);
}
BENCHMARK(BM_DictionaryConvertUnflushed)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole step: recognise the old file (size, CRC-32), convert, verify, replace.
void BM_DictionaryUpdateStep(benchmark::State& state) {
    const Files& f = Fixture();
    const std::string folder = f.folder + "step/";
    std::filesystem::create_directories(folder);
    patch::MemoryResources resources;
    resources.Add("PSLDRAVIN2", {f.scriptText.begin(), f.scriptText.end()});
    const patch::TPatchSlownikInfo& record = patch::DictionaryUpdates()[0];
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(f.oldPath, folder + "dravin2.sg", std::filesystem::copy_options::overwrite_existing);
        state.ResumeTiming();
        int progress = 0;
        const auto r = patch::UpdateDictionary(folder, record, resources, progress, [] {});
        if (r.outcome != patch::DictionaryUpdateOutcome::kReplaced) state.SkipWithError("update failed");
    }
    state.SetBytesProcessed(state.iterations() * f.size);
}
BENCHMARK(BM_DictionaryUpdateStep)->Unit(benchmark::kMillisecond)->UseRealTime();

// User and system time of the finished child processes (the shell and patch).
double ChildCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_DictionaryGnuPatch(benchmark::State& state) {
    const Files& f = Fixture();
    const std::string command =
        "patch --binary --silent --output=" + f.folder + "patched.sg " + f.oldPath + " " + f.diffPath;
    const double before = ChildCpuSeconds();
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("patch failed");
    }
    // The benchmark's own CPU time is that of the waiting parent; the work is the child's.
    state.counters["child_cpu_ms"] =
        benchmark::Counter((ChildCpuSeconds() - before) * 1e3, benchmark::Counter::kAvgIterations);
    state.SetBytesProcessed(state.iterations() * f.size);
}
BENCHMARK(BM_DictionaryGnuPatch)->Unit(benchmark::kMillisecond)->UseRealTime();

// A plain copy through the same file layer, in 1 MiB blocks (the line reader's and writer's
// chunk), and in the 40,000-byte pieces they used to move.
void BM_DictionaryPlainCopy(benchmark::State& state) {
    const Files& f = Fixture();
    std::vector<std::uint8_t> block(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto in = base::File::OpenForReading(f.oldPath, base::ReadShare::kDenyWriters);
        auto out = base::File::CreateOrTruncate(f.folder + "copy.sg");
        if (!in || !out) {
            state.SkipWithError("cannot open");
            break;
        }
        for (;;) {
            auto n = in.value().Read(block);
            if (!n || n.value() == 0) break;
            if (out.value().Write(std::span(block).first(n.value())) != base::FileError::kNone) break;
        }
    }
    state.SetBytesProcessed(state.iterations() * f.size);
}
BENCHMARK(BM_DictionaryPlainCopy)->Arg(1 << 20)->Arg(40'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same 1 MiB-block copy through the safe write the conversion goes through (temporary file,
// flush, move), to set beside BM_DictionaryConvert.
void BM_DictionarySafeCopy(benchmark::State& state) {
    const Files& f = Fixture();
    std::vector<std::uint8_t> block(1 << 20);
    for (auto _ : state) {
        base::SafeWrite how;
        how.produce = [&](base::ByteSink& output) {
            auto in = base::File::OpenForReading(f.oldPath, base::ReadShare::kDenyWriters);
            if (!in) return false;
            for (;;) {
                auto n = in.value().Read(block);
                if (!n) return false;
                if (n.value() == 0) return true;
                if (output.Write(std::span(block).first(n.value())) != base::FileError::kNone) return false;
            }
        };
        if (!base::WriteFileSafely(f.folder + "copy-safe.sg", how).ok()) state.SkipWithError("copy failed");
    }
    state.SetBytesProcessed(state.iterations() * f.size);
}
BENCHMARK(BM_DictionarySafeCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
