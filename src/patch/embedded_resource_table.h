#pragma once
// The table of payloads assembled into a native program (see updater_embed_payloads in the build).

#include <cstddef>

namespace updater::patch {

struct EmbeddedResourceEntry {
    const char* name;  // nullptr in the placeholder row of a program without payloads
    const unsigned char* begin;
    const unsigned char* end;
};

extern const EmbeddedResourceEntry kEmbeddedResourceTable[];
extern const std::size_t kEmbeddedResourceCount;

}  // namespace updater::patch
