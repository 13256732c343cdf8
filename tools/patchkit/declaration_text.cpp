#include "patchkit/declaration_text.h"

namespace patchkit {

DeclarationText::DeclarationText(std::string text) : text_(std::move(text)) {}

std::optional<DeclarationText::Statement> DeclarationText::Find(const std::string& name) const {
    std::optional<Statement> last;
    std::size_t at = 0;
    while (at < text_.size()) {
        const std::size_t lineEnd = std::min(text_.find('\n', at), text_.size());
        const std::size_t start = text_.find_first_not_of(" \t", at);
        if (start < lineEnd && text_.compare(start, 4, "set(") == 0) {
            // The statement's words, up to its closing parenthesis, across lines, without comments.
            Statement s{start, text_.size(), {}};
            std::string word;
            bool comment = false;
            for (std::size_t i = start + 4; i < text_.size(); ++i) {
                const char c = text_[i];
                if (comment) {
                    comment = c != '\n';
                    continue;
                }
                if (c == '#' || c == ' ' || c == '\t' || c == '\n' || c == ')') {
                    if (!word.empty()) s.words.push_back(std::move(word));
                    word.clear();
                    comment = c == '#';
                    if (c == ')') {
                        s.end = i + 1;
                        break;
                    }
                    continue;
                }
                word += c;
            }
            if (!s.words.empty() && s.words.front() == name) last = s;
            at = std::min(s.end, text_.size());
            continue;
        }
        at = lineEnd + 1;
    }
    return last;
}

std::optional<std::vector<std::string>> DeclarationText::Values(const std::string& name) const {
    const auto s = Find(name);
    if (!s) return std::nullopt;
    return std::vector<std::string>(s->words.begin() + 1, s->words.end());
}

void DeclarationText::Set(const std::string& name, const std::vector<std::string>& values) {
    std::string statement = "set(" + name;
    for (const auto& v : values)
        statement += " " + v;
    statement += ")";
    if (const auto s = Find(name)) {
        text_.replace(s->begin, s->end - s->begin, statement);
    } else {
        if (!text_.empty() && text_.back() != '\n') text_ += '\n';
        text_ += statement + "\n";
    }
}

}  // namespace patchkit
