#pragma once
// A fresh folder for one test, removed with everything in it afterwards (read-only files too).
// Paths are returned as the engine's 8-bit strings.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace updater::test {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Root() const { return root_; }
    // Root + separator + name.
    std::string Path(std::string_view name) const;
    // Writes a file with the given bytes and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;
    std::string Read(std::string_view name) const;
    void MakeReadOnly(std::string_view name) const;
    // Names of the entries in the folder, sorted.
    std::string Listing() const;

  private:
    std::string root_;
};

// A text's bytes, as a file's content.
inline std::vector<std::uint8_t> Bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

}  // namespace updater::test
