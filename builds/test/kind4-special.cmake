# Test build: the English product's update with patch kind 4 (the open dialog when no install
# folder is recorded; no English flag) and the special-version label.
include(${CMAKE_CURRENT_LIST_DIR}/../lexivo-en-2.5.cmake)
set(PATCH_KIND 4)
set(SPECIAL_VERSION ON)
# "Wersja specjalna dla szkół"
set(SPECIAL_VERSION_TEXT 5aa19aa584235a32324e686eae89ba80235a3225526c2db792bd235dc834)
