# updater_fuzz_target(<name> <libraries...>) for each tests/fuzz/<name>_fuzz.cpp.
updater_fuzz_target(kod updater_environment)
updater_fuzz_target(dictionary_script updater_patch)
updater_fuzz_target(payload_decoder updater_patch)
updater_fuzz_target(pe_reader patchkit_pe_reader)
