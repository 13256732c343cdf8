// The state check and the replacement of file index 34 beside a plain copy of the same 2,721,280
// bytes into the same folder. Files live in the system's temporary folder and stay in the page
// cache; the flushed variants include the cost of pushing the data to the disk.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/safe_file_write.h"
#include "fixtures/quorbel_fixture.h"
#include "patch/file_replacement.h"
#include "patch/file_state.h"
#include "payload_encoder/payload_encoder.h"

namespace {

using namespace updater;

const std::vector<std::uint8_t>& Current() {
    static const std::vector<std::uint8_t> bytes = fixtures::MakeQuorbelNew();
    return bytes;
}

// The payloads this program carries, or the same ones encoded here when it carries none.
const patch::ResourceSource& Payloads() {
    static const patch::MemoryResources encoded = [] {
        patch::MemoryResources r;
        if (!patch::ProgramResources().Find("PEN251IEA")) {
            const std::span<const std::uint8_t> all(Current());
            r.Add("PEN251IEA", tools::EncodePayload(all.first(1'500'000)));
            r.Add("PEN251IEB", tools::EncodePayload(all.subspan(1'500'000)));
        }
        return r;
    }();
    return patch::ProgramResources().Find("PEN251IEA") ? patch::ProgramResources() : encoded;
}

class Folder {
  public:
    Folder()
        : root_(std::filesystem::temp_directory_path() / ("state-bench-" + std::to_string(std::random_device()()))) {
        std::filesystem::create_directories(root_);
    }
    ~Folder() { std::filesystem::remove_all(root_); }
    std::string Path(const char* name) const { return (root_ / name).string(); }

  private:
    std::filesystem::path root_;
};

bool WriteFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    auto file = base::File::CreateOrTruncate(path);
    return file && file.value().Write(bytes) == base::FileError::kNone &&
           file.value().Close() == base::FileError::kNone;
}

void BM_StateCheck(benchmark::State& state) {
    Folder folder;
    const std::string path = folder.Path("Quorbel2.exe");
    WriteFile(path, Current());
    for (auto _ : state) {
        if (patch::CheckFileState(34, path) != patch::FileState::kCurrent) state.SkipWithError("not current");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Current().size()));
}
BENCHMARK(BM_StateCheck)->Unit(benchmark::kMillisecond);

// Reads the source in 64 KiB blocks and writes a new file beside it, as a copy command does.
void CopyFile(const std::string& from, const std::string& to, bool flush) {
    auto in = base::File::OpenForReading(from, base::ReadShare::kDenyWriters);
    auto out = base::File::CreateOrTruncate(to);
    std::vector<std::uint8_t> block(65536);
    for (;;) {
        auto n = in.value().Read(block);
        if (!n || n.value() == 0) break;
        out.value().Write(std::span(block).first(n.value()));
    }
    if (flush) out.value().Flush();
    out.value().Close();
}

void BM_PlainCopy(benchmark::State& state) {
    Folder folder;
    const std::string source = folder.Path("source.exe");
    WriteFile(source, Current());
    const bool flush = state.range(0) != 0;
    for (auto _ : state)
        CopyFile(source, folder.Path("Quorbel2.exe"), flush);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Current().size()));
}
BENCHMARK(BM_PlainCopy)->ArgName("flushed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same bytes written the way every file of the updater is written: a new file beside the
// target, flushed, read back, moved over the target, the folder flushed. What the replacement adds
// to this is the decoding and the version check.
void BM_SafeWrite(benchmark::State& state) {
    Folder folder;
    const std::string path = folder.Path("Quorbel2.exe");
    WriteFile(path, fixtures::MakeQuorbelOld());
    for (auto _ : state) {
        if (!base::WriteFileSafely(path, Current()).ok()) state.SkipWithError("failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Current().size()));
}
BENCHMARK(BM_SafeWrite)->Unit(benchmark::kMillisecond);

// The whole replacement: decode both payloads, check, write beside the target, flush, read back,
// rename. The unflushed variant leaves out only the flush, through the writer seam.
class NoFlushWriter : public base::FileSteps {
  public:
    base::FileError Flush(base::NewFile&) override { return base::FileError::kNone; }
};

void BM_Replace34(benchmark::State& state) {
    Folder folder;
    const std::string path = folder.Path("Quorbel2.exe");
    WriteFile(path, fixtures::MakeQuorbelOld());
    const patch::ResourceSource& payloads = Payloads();
    NoFlushWriter noFlush;
    base::FileSteps& writer = state.range(0) != 0 ? base::SystemFileSteps() : noFlush;
    for (auto _ : state) {
        if (!patch::ReplaceTargetFile(patch::CatalogueRow(34), path, payloads, writer).ok())
            state.SkipWithError("failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Current().size()));
}
BENCHMARK(BM_Replace34)->ArgName("flushed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
