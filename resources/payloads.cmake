# The payload resources the updater carries: resources/payloads/<NAME>.bin, one piece each.
# PEN251IEA and PEN251IEB are parts A and B of Quorbel2.exe (file index 34), made with
#   patchkit fixture quorbel-new new.exe
#   patchkit pack <first 1,500,000 bytes of new.exe> PEN251IEA.bin
#   patchkit pack <the remaining 1,221,280 bytes> PEN251IEB.bin
set(UPDATER_PAYLOADS PEN251IEA PEN251IEB)
# The dictionary build also carries the synthetic dictionary update script, as PSLDRAVIN2.
if(UPDATER_DICTIONARY_BUILD)
    list(APPEND UPDATER_PAYLOADS PSLDRAVIN2)
    set(UPDATER_PAYLOAD_FILE_PSLDRAVIN2 ${PROJECT_SOURCE_DIR}/resources/dictionary/PSLDRAVIN2.txt)
endif()
