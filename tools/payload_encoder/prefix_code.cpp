#include "payload_encoder/prefix_code.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace updater::tools {
namespace {

// One entry of a package-merge list: a leaf (symbol) or a package of two neighbouring entries of
// the next deeper list.
struct Item {
    std::uint64_t weight;
    int symbol;  // -1 for a package
    int child;   // a package: index of its first entry in the deeper list
};

void CountLeaves(const std::vector<std::vector<Item>>& lists, std::size_t level, const Item& item,
                 CodeLengths& lengths) {
    if (item.symbol >= 0) {
        ++lengths[static_cast<std::size_t>(item.symbol)];
        return;
    }
    const std::vector<Item>& deeper = lists[level + 1];
    CountLeaves(lists, level + 1, deeper[static_cast<std::size_t>(item.child)], lengths);
    CountLeaves(lists, level + 1, deeper[static_cast<std::size_t>(item.child) + 1], lengths);
}

}  // namespace

CodeLengths LimitedCodeLengths(const SymbolCounts& counts, int maxLength) {
    assert(maxLength >= 8 && maxLength <= kMaxCodeLength);
    std::vector<Item> leaves;
    for (int s = 0; s < 256; ++s) {
        if (counts[static_cast<std::size_t>(s)] != 0) leaves.push_back({counts[static_cast<std::size_t>(s)], s, 0});
    }
    for (int s = 0; s < 256 && leaves.size() < 2; ++s) {
        if (counts[static_cast<std::size_t>(s)] == 0) leaves.push_back({0, s, 0});
    }
    // Ties by symbol value, so the result never depends on the sort's stability.
    std::sort(leaves.begin(), leaves.end(), [](const Item& a, const Item& b) {
        return a.weight != b.weight ? a.weight < b.weight : a.symbol < b.symbol;
    });

    // lists[0] is the shallowest level (length 1), lists[maxLength - 1] the deepest.
    const auto levels = static_cast<std::size_t>(maxLength);
    std::vector<std::vector<Item>> lists(levels);
    lists[levels - 1] = leaves;
    for (std::size_t level = levels - 1; level-- > 0;) {
        const std::vector<Item>& deeper = lists[level + 1];
        std::vector<Item>& merged = lists[level];
        merged.reserve(leaves.size() + deeper.size() / 2);
        std::size_t leaf = 0;
        std::size_t pair = 0;
        while (leaf < leaves.size() || pair + 1 < deeper.size()) {
            const bool havePackage = pair + 1 < deeper.size();
            const std::uint64_t packageWeight = havePackage ? deeper[pair].weight + deeper[pair + 1].weight : 0;
            if (leaf < leaves.size() && (!havePackage || leaves[leaf].weight <= packageWeight)) {
                merged.push_back(leaves[leaf++]);
            } else {
                merged.push_back({packageWeight, -1, static_cast<int>(pair)});
                pair += 2;
            }
        }
    }

    CodeLengths lengths{};
    const std::size_t selected = 2 * leaves.size() - 2;
    for (std::size_t i = 0; i < selected; ++i)
        CountLeaves(lists, 0, lists[0][i], lengths);
    return lengths;
}

std::array<std::uint16_t, 256> CanonicalCodes(const CodeLengths& lengths) {
    std::array<std::uint16_t, 256> codes{};
    std::uint32_t code = 0;
    int previousLength = 0;
    for (int length = 1; length <= kMaxCodeLength; ++length) {
        for (std::size_t s = 0; s < 256; ++s) {
            if (lengths[s] != length) continue;
            code <<= (length - previousLength);
            previousLength = length;
            codes[s] = static_cast<std::uint16_t>(code);
            ++code;
        }
    }
    return codes;
}

}  // namespace updater::tools
