# Lexivo Angielskiego 2.5, the English-Polish product, brought to its newest version (the version
# text of catalogue row 34): its program file Quorbel2.exe (file index 34) only. The release's
# declaration. `patchkit next-version` moves it on to a next version: VERSION and PAYLOADS_34.
set(APP_ID 6)
set(VERSION 2 5 1)
set(PATCH_KIND 15)
set(ACTIVE_SET 34)
set(CONFIGURED_ENTRY 34)
set(UPDATE_DICTIONARIES OFF)
set(SPECIAL_VERSION OFF)
set(SPECIAL_VERSION_TEXT "")
set(PREFER_PRODUCT_LANGUAGE OFF)
# Parts A and B of Quorbel2.exe in its newest version. Those of 2.5.1 were made with
#   patchkit fixture quorbel-new new.exe
#   patchkit pack <first 1,500,000 bytes of new.exe> PEN251IEA.bin
#   patchkit pack <the remaining 1,221,280 bytes> PEN251IEB.bin
set(PAYLOADS_34 resources/payloads/PEN251IEA.bin resources/payloads/PEN251IEB.bin)
