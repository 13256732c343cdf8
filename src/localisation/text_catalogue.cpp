#include "localisation/text_catalogue.h"

#include <array>
#include <cstddef>
#include <numeric>
#include <utility>

#include "localisation/catalogue_source.h"
#include "localisation/conversion_maps.h"
#include "localisation/transliteration.h"

namespace updater::localisation {
namespace {

using namespace catalogue;

inline constexpr SourceRow kSourceRows[] = {
#include "localisation/interface_texts.inc"
};
inline constexpr std::size_t kRowCount = std::size(kSourceRows);

consteval bool IdsAscendInRange() {
    std::int32_t previous = 0;
    for (const SourceRow& row : kSourceRows) {
        if (row.id <= previous || row.id > kLastId) return false;
        previous = row.id;
    }
    return true;
}
static_assert(IdsAscendInRange(), "interface text ids must be 1 to 320, each once, in ascending order");

constexpr std::size_t RowIndex(std::int32_t id) {
    for (std::size_t i = 0; i < kRowCount; ++i) {
        if (kSourceRows[i].id == id) return i;
    }
    return kRowCount;
}

// Writes (or, with a null out, measures) the seven cells of a row; returns their lengths.
constexpr std::array<std::size_t, kColumnCount> EncodeRow(const SourceRow& row, char* out) {
    std::array<std::size_t, kColumnCount> lengths{};
    std::size_t offset = 0;
    const auto next = [&]() { return out == nullptr ? nullptr : out + offset; };
    const auto polish = [&]() { return EncodeText(row.pl, CodePage::kWindows1250, false, next()); };
    const auto western = [&](const SourceCell& cell) {
        return cell.asPolish ? polish() : EncodeText(cell.text, CodePage::kWindows1252, false, next());
    };
    lengths[0] = polish();
    offset += lengths[0];
    const SourceCell* westernCells[] = {&row.en, &row.fr, &row.de, &row.it, &row.es};
    for (std::size_t column = 1; column <= 5; ++column) {
        lengths[column] = western(*westernCells[column - 1]);
        offset += lengths[column];
    }
    std::size_t russian = 0;
    switch (row.ru.kind) {
        case RussianKind::kAsPolish:
            russian = polish();
            break;
        case RussianKind::kEmpty:
            break;
        case RussianKind::kMarkedPolish:
            if (out != nullptr) out[offset] = kMarker;
            ++offset;
            russian = 1 + polish();
            break;
        case RussianKind::kOwnText:
            russian = EncodeText(row.ru.text, CodePage::kWindows1251, true, next());
            break;
    }
    lengths[kRussianColumn] = russian;
    return lengths;
}

// The stored bytes of one id, converted from its source row in a constant evaluation of its own.
template <std::int32_t Id>
struct EncodedRow {
    static constexpr std::size_t kIndex = RowIndex(Id);
    static constexpr std::array<std::size_t, kColumnCount> kLengths = EncodeRow(kSourceRows[kIndex], nullptr);
    static constexpr std::size_t kTotal = std::accumulate(kLengths.begin(), kLengths.end(), std::size_t{0});
    static constexpr std::array<char, kTotal> kBytes = []() {
        std::array<char, kTotal> bytes{};
        EncodeRow(kSourceRows[kIndex], bytes.data());
        return bytes;
    }();
};

using RowCells = std::array<std::string_view, kColumnCount>;

template <std::int32_t Id>
consteval RowCells CellsOf() {
    using Row = EncodedRow<Id>;
    RowCells cells{};
    std::size_t offset = 0;
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        cells[column] = std::string_view(Row::kBytes.data() + offset, Row::kLengths[column]);
        offset += Row::kLengths[column];
    }
    return cells;
}

template <std::size_t... Row>
consteval std::array<RowCells, kLastId + 1> BuildTable(std::index_sequence<Row...>) {
    std::array<RowCells, kLastId + 1> table{};
    ((table[kSourceRows[Row].id] = CellsOf<kSourceRows[Row].id>()), ...);
    return table;
}

constexpr std::array<RowCells, kLastId + 1> kTable = BuildTable(std::make_index_sequence<kRowCount>{});

std::uint8_t ColumnOf(std::uint8_t language) {
    const std::uint8_t c = language & 0x7F;
    return (c >= 1 && c <= 6) ? c : 0;
}

}  // namespace

std::string_view StoredText(std::int32_t id, std::uint8_t column) {
    if (id < kFirstTextId || id > kLastTextId || column >= kColumnCount) return {};
    return kTable[static_cast<std::size_t>(id)][column];
}

std::u16string GetText(std::uint8_t language, std::int32_t id, bool forceTextCodePage, const Platform& platform) {
    std::string_view stored = StoredText(id, ColumnOf(language));
    std::string transliterated;
    if (language == kRussian) {
        transliterated = ApplyRussianStep(stored);
        stored = transliterated;
    }
    const std::uint8_t code = (forceTextCodePage || platform.isNT) ? language : platform.systemLanguage;
    return ConvertText(stored, MapForConversionCode(code));
}

std::u16string GetText(std::uint8_t language, std::int32_t id, bool forceTextCodePage) {
    return GetText(language, id, forceTextCodePage, CurrentPlatform());
}

}  // namespace updater::localisation
