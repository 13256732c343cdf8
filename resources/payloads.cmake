# The payload resources the updater carries: resources/payloads/<NAME>.bin, one piece each.
set(UPDATER_PAYLOADS)
