#pragma once
// A build declaration (builds/*.cmake) as text: its set(NAME VALUE...) statements read and
// rewritten in place, everything else (comments, includes, layout) kept as it stands.

#include <optional>
#include <string>
#include <vector>

namespace patchkit {

class DeclarationText {
  public:
    explicit DeclarationText(std::string text);

    // The values of the last set(NAME ...) in this file itself, or nullopt if it sets none.
    std::optional<std::vector<std::string>> Values(const std::string& name) const;
    // Rewrites the last set(NAME ...) as set(NAME VALUES) on one line; appends one if there is none.
    void Set(const std::string& name, const std::vector<std::string>& values);
    const std::string& Text() const { return text_; }

  private:
    struct Statement {
        std::size_t begin, end;          // the whole set(...) in text_
        std::vector<std::string> words;  // NAME, then the values
    };
    std::optional<Statement> Find(const std::string& name) const;

    std::string text_;
};

}  // namespace patchkit
