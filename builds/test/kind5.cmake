# The release's update as patch kind 5: the same run, with no English flag on the window.
include(${CMAKE_CURRENT_LIST_DIR}/../lexivo-en-2.5.cmake)
set(PATCH_KIND 5)
