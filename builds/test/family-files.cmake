# Test build: the English product with several files in one run and patch kind 9 (the web-page
# translator's link): Quorbel.hlp (2, recognised by probes), Wendura.hlp (12, probes, added when
# missing), the two word-processor templates (29; 30, added when missing) and Quorbel2.exe (34).
include(${CMAKE_CURRENT_LIST_DIR}/../lexivo-en-2.5.cmake)
set(PATCH_KIND 9)
set(ACTIVE_SET 2 12 29 30 34)
set(PAYLOADS_2 resources/payloads/test/PEN209QHA.bin)
set(PAYLOADS_12 resources/payloads/test/PIT122WHA.bin)
set(PAYLOADS_29 resources/payloads/test/PEN251ITA.bin)
set(PAYLOADS_30 resources/payloads/test/PDE252NTA.bin)
