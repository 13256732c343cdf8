// No GDI fonts here: every face offers nothing, so the interface face stays "Arial".
#include "environment/font_charsets.h"

namespace updater::environment {

void ListFontCharsets(std::string_view, std::vector<std::string>&) {}

}  // namespace updater::environment
