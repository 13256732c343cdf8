#include "localisation/transliteration.h"

namespace updater::localisation {

std::string ApplyRussianStep(std::string_view text) {
    std::string result(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        result[i] = static_cast<char>(kTransliteration[static_cast<std::uint8_t>(text[i])]);
    }
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && (text[i + 1] == 'd' || text[i + 1] == 's')) result[i + 1] = text[i + 1];
    }
    return result;
}

}  // namespace updater::localisation
