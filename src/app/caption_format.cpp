#include "app/caption_format.h"

#include <cstddef>

namespace updater::app {

std::u16string FormatCaption(std::u16string_view format, std::initializer_list<std::u16string_view> args) {
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
            if (next < args.size()) out.append(args.begin()[next]);
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

namespace {

char16_t FoldedKey(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
    if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) return c;
    return 0;  // not a key every layout has
}

}  // namespace

std::u16string WithAccessKey(std::u16string_view caption, char16_t taken) {
    std::u16string marked;
    bool placed = false;
    for (const char16_t c : caption) {
        if (c == u'&') {
            marked += u"&&";
            continue;
        }
        const char16_t key = FoldedKey(c);
        if (!placed && key != 0 && key != FoldedKey(taken)) {
            marked += u'&';
            placed = true;
        }
        marked += c;
    }
    return marked;
}

char16_t AccessKeyOf(std::u16string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (caption[i + 1] != u'&') return FoldedKey(caption[i + 1]);
        ++i;  // "&&" is a plain "&"
    }
    return 0;
}

}  // namespace updater::app
