#pragma once
// Resource ids of the updater's own module, shared by updater.rc and the window code.

#define UPDATER_IDI_APPLICATION 1

#define UPDATER_IDB_FLAG_POLAND 101
#define UPDATER_IDB_FLAG_UNITED_KINGDOM 102
#define UPDATER_IDB_FLAG_GERMANY 103
#define UPDATER_IDB_FLAG_FRANCE 104
#define UPDATER_IDB_FLAG_ITALY 105
// The same flags drawn for 120, 144 and 192 DPI follow at this step each: 111 is Poland at 120 DPI.
#define UPDATER_IDB_FLAG_SIZE_STEP 10
