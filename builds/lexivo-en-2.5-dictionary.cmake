# The same update with the dictionary step: it also carries the synthetic dictionary update script
# (resource PSLDRAVIN2) and converts the installed dictionary with it. A test configuration.
include(${CMAKE_CURRENT_LIST_DIR}/lexivo-en-2.5.cmake)
set(UPDATE_DICTIONARIES ON)
set(EXTRA_RESOURCES PSLDRAVIN2=resources/dictionary/PSLDRAVIN2.txt)
