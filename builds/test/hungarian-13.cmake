# Test build: AppId 13, whose interface starts in language 7 on a system of another language.
include(${CMAKE_CURRENT_LIST_DIR}/../lexivo-en-2.5.cmake)
set(APP_ID 13)
