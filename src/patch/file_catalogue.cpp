#include "patch/file_catalogue.h"

#include "patch/file_catalogue_data.h"

namespace updater::patch {
namespace {

using namespace catalogue_data;

std::size_t Slot(int index) {
    return static_cast<std::size_t>(index - kFirstFileIndex);
}

}  // namespace

FileRow CatalogueRow(int index) {
    FileRow row;
    if (!IsFileIndex(index)) return row;
    const RowText& text = kTexts[Slot(index)];
    row.index = index;
    row.titles = {text.polishTitle, text.otherTitle};
    row.versionText = text.versionText;
    row.fileName = text.fileName;
    row.resourceNames = text.resourceNames;
    row.currentVersion = kCurrentVersions[Slot(index)];
    row.sizes = kSizes[Slot(index)];
    row.crcs = kCrcs[Slot(index)];
    if (row.UsesProbes()) {
        row.probedCurrentCrc = kCurrentCrcs[Slot(index)];
        for (int v = 1; v <= kKnownVersionCount; ++v)
            row.probes[static_cast<std::size_t>(v - 1)] = ProbeTable(index, v);
    }
    return row;
}

std::string_view Title(int index, int which) {
    if (!IsFileIndex(index) || (which != 1 && which != 2)) return {};
    const RowText& text = kTexts[Slot(index)];
    return which == 1 ? text.polishTitle : text.otherTitle;
}

std::string_view VersionText(int index) {
    return IsFileIndex(index) ? kTexts[Slot(index)].versionText : "";
}

std::string_view FileName(int index) {
    return IsFileIndex(index) ? kTexts[Slot(index)].fileName : "";
}

int CurrentVersion(int index) {
    return IsFileIndex(index) ? kCurrentVersions[Slot(index)] : 0;
}

bool IsActive(const base::ByteSet& activeSet, int index) {
    return IsFileIndex(index) && activeSet.Contains(index);
}

}  // namespace updater::patch
