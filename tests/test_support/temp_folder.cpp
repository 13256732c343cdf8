#include "test_support/temp_folder.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <vector>

#include "base/file_system.h"

namespace updater::test {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    fs::path dir = fs::temp_directory_path() /
                   ("updater-test-" + std::to_string(rd()) + "-" + std::to_string(counter.fetch_add(1)));
    fs::create_directories(dir);
    root_ = dir.string();
}

TempFolder::~TempFolder() {
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(root_, ec))
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
}

std::string TempFolder::Path(std::string_view name) const {
    return root_ + base::PathSeparator() + std::string(name);
}

std::string TempFolder::Write(std::string_view name, std::string_view bytes) const {
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write test file " + path);
    return path;
}

std::string TempFolder::Read(std::string_view name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void TempFolder::MakeReadOnly(std::string_view name) const {
    fs::permissions(Path(name), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

std::string TempFolder::Listing() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(root_))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& n : names)
        out += n + "\n";
    return out;
}

}  // namespace updater::test
