#include "app/caption_format.h"

namespace updater::app {

std::u16string FormatCaption(std::u16string_view format, std::span<const std::u16string_view> args) {
    std::u16string out;
    out.reserve(format.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char16_t c = format[i];
        if (c != u'%' || i + 1 == format.size()) {
            out.push_back(c);
            continue;
        }
        const char16_t kind = format[i + 1];
        if (kind == u's') {
            if (next < args.size()) out.append(args[next]);
            ++next;
            ++i;
        } else if (kind == u'%') {
            out.push_back(u'%');
            ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::u16string FormatCaption(std::u16string_view format, std::initializer_list<std::u16string_view> args) {
    return FormatCaption(format, std::span<const std::u16string_view>(args.begin(), args.size()));
}

}  // namespace updater::app
