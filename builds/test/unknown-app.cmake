# Test build: AppId 15, which no product has; the program says "Unknown AppId !" and goes on in
# Polish. A release refuses this declaration.
include(${CMAKE_CURRENT_LIST_DIR}/../lexivo-en-2.5.cmake)
set(APP_ID 15)
set(ALLOW_UNKNOWN_APP_ID ON)
