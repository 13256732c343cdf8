// The catalogue rows, one column per table and one row per line. Row 34 is the program file of
// the release's build; rows 1 to 33 are the files of the family's other products and editions
// (other builds switch them on through their active set). Titles are Windows-1250 bytes.
//
// Sizes and CRC-32 values are listed for known versions 1 to 11; 0 means there is no such
// version. Rows 1 to 23 carry no CRC-32 values: their versions are told apart by the probe tables
// in file_catalogue_probes.cpp. Files 29 and 30 are word-processor templates, which the update run
// also looks for in the word processor's start-up folders.
//
// The values of rows 1 to 33 are test data of the product's shape (its gaps, repeated sizes and
// versions), with sizes of a few kilobytes up to 140,581 bytes so that test builds carry small
// payloads: `patchkit fixture row-INDEX-vVERSION` writes any known version of any row.
#include "patch/file_catalogue_data.h"

namespace updater::patch::catalogue_data {

// clang-format off
const std::array<RowText, kRowCount> kTexts{{
    // Polish title, other title, version text, file name, {part A, part B}
    {"Lexivo Angielskiego 2.0", "Lexivo English 2.0", "2.0.9", "Quorbel.exe", {"PEN209QBA", "PEN209QBB"}},  // 1
    {"Lexivo Angielskiego 2.0", "Lexivo English 2.0", "2.0.9", "Quorbel.hlp", {"PEN209QHA", ""}},  // 2
    {"Lexivo Angielskiego 2.0", "Lexivo English 2.0", "2.0.9", "Quorbel.cnt", {"PEN209QCA", ""}},  // 3
    {"Lexivo Angielskiego 2.0", "Lexivo English 2.0", "2.0.9", "Quorbel.dat", {"PEN209QDA", "PEN209QDB"}},  // 4
    {"Lexivo Niemieckiego 2.0", "Lexivo German 2.0", "2.0.4", "Norvak.exe", {"PDE204NVA", "PDE204NVB"}},  // 5
    {"Lexivo Niemieckiego 2.0", "Lexivo German 2.0", "2.0.4", "Norvak.hlp", {"PDE204NHA", ""}},  // 6
    {"Lexivo Niemieckiego 2.0", "Lexivo German 2.0", "2.0.4", "Norvak.dat", {"PDE204NDA", "PDE204NDB"}},  // 7
    {"Lexivo Francuskiego 1.5", "Lexivo French 1.5", "1.5.3", "Trelmik.exe", {"PFR153TMA", ""}},  // 8
    {"Lexivo Francuskiego 1.5", "Lexivo French 1.5", "1.5.3", "Trelmik.hlp", {"PFR153THA", ""}},  // 9
    {"Lexivo Francuskiego 1.5", "Lexivo French 1.5", "1.5.3", "Trelmik.dat", {"PFR153TDA", "PFR153TDB"}},  // 10
    {"Lexivo W\xB3oskiego 1.2", "Lexivo Italian 1.2", "1.2.2", "Wendura.exe", {"PIT122WEA", ""}},  // 11
    {"Lexivo W\xB3oskiego 1.2", "Lexivo Italian 1.2", "1.2", "Wendura.hlp", {"PIT122WHA", ""}},  // 12
    {"Lexivo W\xB3oskiego 1.2", "Lexivo Italian 1.2", "1.2.2", "Wendura.dat", {"PIT122WDA", "PIT122WDB"}},  // 13
    {"Lexivo Hiszpa\xF1skiego 1.0", "Lexivo Spanish 1.0", "1.0.1", "Ospira.exe", {"PES101OSA", ""}},  // 14
    {"Lexivo Hiszpa\xF1skiego 1.0", "Lexivo Spanish 1.0", "1.0", "Ospira.dat", {"PES101ODA", "PES101ODB"}},  // 15
    {"Lexivo Rosyjskiego 1.1", "Lexivo Russian 1.1", "1.1.2", "Brovnik.exe", {"PRU112BVA", ""}},  // 16
    {"Lexivo Rosyjskiego 1.1", "Lexivo Russian 1.1", "1.1.2", "Brovnik.dat", {"PRU112BDA", "PRU112BDB"}},  // 17
    {"Lexivo - deinstalacja", "Lexivo - uninstall", "1.4", "Lexdel.exe", {"PXX014LDA", ""}},  // 18
    {"Lexivo - konfiguracja", "Lexivo - settings", "1.3", "Lexcfg.exe", {"PXX013LCA", ""}},  // 19
    {"Lexivo", "Lexivo", "1.0", "Lexivo.bmp", {"PXX010LBA", ""}},  // 20
    {"Lexivo Angielskiego 2.0", "Lexivo English 2.0", "2.0.9", "Fonetyk.dat", {"PEN209FNA", ""}},  // 21
    {"Lexivo Niemieckiego 2.0", "Lexivo German 2.0", "2.0.4", "Zwroty.dat", {"PDE204ZWA", "PDE204ZWB"}},  // 22
    {"Lexivo Francuskiego 1.5", "Lexivo French 1.5", "1.5.3", "Idiomy.dat", {"PFR153IDA", ""}},  // 23
    {"Lexivo Angielskiego 2.5", "Lexivo Angielskiego 2.5", "2.5.1", "Quorbel2.hlp", {"PEN251IHA", ""}},  // 24
    {"Lexivo Angielskiego 2.5", "Lexivo Angielskiego 2.5", "2.5.1", "Quorbel2.cnt", {"PEN251ICA", ""}},  // 25
    {"Lexivo Angielskiego 2.5", "Lexivo Angielskiego 2.5", "2.5.1", "Quorbel2.dat", {"PEN251IDA", "PEN251IDB"}},  // 26
    {"Lexivo Niemieckiego 2.5", "Lexivo Niemieckiego 2.5", "2.5.2", "Norvak2.exe", {"PDE252NEA", "PDE252NEB"}},  // 27
    {"Lexivo Niemieckiego 2.5", "Lexivo Niemieckiego 2.5", "2.5.2", "Norvak2.dat", {"PDE252NDA", "PDE252NDB"}},  // 28
    {"Lexivo Angielskiego 2.5", "Lexivo Angielskiego 2.5", "2.5.1", "Quorbel.dot", {"PEN251ITA", ""}},  // 29
    {"Lexivo Niemieckiego 2.5", "Lexivo Niemieckiego 2.5", "2.5", "Norvak.dot", {"PDE252NTA", ""}},  // 30
    {"Lexivo W\xB3oskiego 2.0", "Lexivo W\xB3oskiego 2.0", "2.0.1", "Wendura2.exe", {"PIT201WEA", "PIT201WEB"}},  // 31
    {"Lexivo W\xB3oskiego 2.0", "Lexivo W\xB3oskiego 2.0", "2.0.1", "Wendura2.dat", {"PIT201WDA", ""}},  // 32
    {"Lexivo W\xB3oskiego 2.0", "Lexivo W\xB3oskiego 2.0", "2.0", "Wymowa.dat", {"PIT201WWA", ""}},  // 33
    {"Lexivo Angielskiego 2.5", "Lexivo Angielskiego 2.5", "2.5.1", "Quorbel2.exe", {"PEN251IEA", "PEN251IEB"}},  // 34
}};

// The version a file must be in to need no update: always its highest known version.
const std::array<std::int32_t, kRowCount> kCurrentVersions{{
    11,  // 1 Quorbel.exe
    4,  // 2 Quorbel.hlp
    2,  // 3 Quorbel.cnt
    3,  // 4 Quorbel.dat
    5,  // 5 Norvak.exe
    2,  // 6 Norvak.hlp
    3,  // 7 Norvak.dat
    4,  // 8 Trelmik.exe
    3,  // 9 Trelmik.hlp
    2,  // 10 Trelmik.dat
    3,  // 11 Wendura.exe
    1,  // 12 Wendura.hlp
    4,  // 13 Wendura.dat
    2,  // 14 Ospira.exe
    1,  // 15 Ospira.dat
    3,  // 16 Brovnik.exe
    2,  // 17 Brovnik.dat
    5,  // 18 Lexdel.exe
    3,  // 19 Lexcfg.exe
    1,  // 20 Lexivo.bmp
    2,  // 21 Fonetyk.dat
    3,  // 22 Zwroty.dat
    2,  // 23 Idiomy.dat
    2,  // 24 Quorbel2.hlp
    2,  // 25 Quorbel2.cnt
    3,  // 26 Quorbel2.dat
    4,  // 27 Norvak2.exe
    3,  // 28 Norvak2.dat
    3,  // 29 Quorbel.dot
    1,  // 30 Norvak.dot
    2,  // 31 Wendura2.exe
    2,  // 32 Wendura2.dat
    1,  // 33 Wymowa.dat
    2,  // 34 Quorbel2.exe
}};

const std::array<std::array<std::int32_t, kKnownVersionCount>, kRowCount> kSizes{{
    //  v1        v2        v3        v4        v5        v6        v7        v8        v9       v10       v11
    {    8072,     8160,     8136,     8136,     8120,     8232,     8344,     8384,     8432,     8600,     8584},  //  1 Quorbel.exe
    {    4419,     4672,        0,     4844,        0,        0,        0,        0,        0,        0,        0},  //  2 Quorbel.hlp
    {    2568,     2568,        0,        0,        0,        0,        0,        0,        0,        0,        0},  //  3 Quorbel.cnt
    {  134998,        0,   140581,        0,        0,        0,        0,        0,        0,        0,        0},  //  4 Quorbel.dat
    {   35048,    35184,    35176,    35360,    35536,        0,        0,        0,        0,        0,        0},  //  5 Norvak.exe
    {   14422,    14420,        0,        0,        0,        0,        0,        0,        0,        0,        0},  //  6 Norvak.hlp
    {  116263,   124579,   124579,        0,        0,        0,        0,        0,        0,        0,        0},  //  7 Norvak.dat
    {   28800,    28944,    28952,    29024,        0,        0,        0,        0,        0,        0,        0},  //  8 Trelmik.exe
    {       0,    22873,    22537,        0,        0,        0,        0,        0,        0,        0,        0},  //  9 Trelmik.hlp
    {   67348,    69887,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 10 Trelmik.dat
    {   15392,    15504,    15480,        0,        0,        0,        0,        0,        0,        0,        0},  // 11 Wendura.exe
    {   10115,        0,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 12 Wendura.hlp
    {   13983,        0,        0,    14367,        0,        0,        0,        0,        0,        0,        0},  // 13 Wendura.dat
    {   23544,    23696,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 14 Ospira.exe
    {  114121,        0,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 15 Ospira.dat
    {   31584,    31608,    31584,        0,        0,        0,        0,        0,        0,        0,        0},  // 16 Brovnik.exe
    {   91924,    92124,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 17 Brovnik.dat
    {   11872,    11968,    11968,        0,    11944,        0,        0,        0,        0,        0,        0},  // 18 Lexdel.exe
    {   21176,    21280,    21248,        0,        0,        0,        0,        0,        0,        0,        0},  // 19 Lexcfg.exe
    {    4816,        0,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 20 Lexivo.bmp
    {   88768,    92187,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 21 Fonetyk.dat
    {   92820,    96387,    95996,        0,        0,        0,        0,        0,        0,        0,        0},  // 22 Zwroty.dat
    {  109264,   117325,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 23 Idiomy.dat
    {    4943,     5219,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 24 Quorbel2.hlp
    {    2945,     2945,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 25 Quorbel2.cnt
    {  107727,   109691,   114700,        0,        0,        0,        0,        0,        0,        0,        0},  // 26 Quorbel2.dat
    {   10712,    10776,    10936,    11088,        0,        0,        0,        0,        0,        0,        0},  // 27 Norvak2.exe
    {  120125,        0,   119414,        0,        0,        0,        0,        0,        0,        0,        0},  // 28 Norvak2.dat
    {    2872,     2872,     2896,        0,        0,        0,        0,        0,        0,        0,        0},  // 29 Quorbel.dot
    {    1640,        0,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 30 Norvak.dot
    {   29864,    29936,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 31 Wendura2.exe
    {       0,    43938,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 32 Wendura2.dat
    {   95716,        0,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 33 Wymowa.dat
    { 2713600,  2721280,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 34 Quorbel2.exe
}};

const std::array<std::array<std::uint32_t, kKnownVersionCount>, kRowCount> kCrcs{{
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  //  1 Quorbel.exe
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  //  2 Quorbel.hlp
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  //  3 Quorbel.cnt
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  //  4 Quorbel.dat
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  //  5 Norvak.exe
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  //  6 Norvak.hlp
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  //  7 Norvak.dat
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  //  8 Trelmik.exe
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  //  9 Trelmik.hlp
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 10 Trelmik.dat
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 11 Wendura.exe
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 12 Wendura.hlp
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 13 Wendura.dat
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 14 Ospira.exe
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 15 Ospira.dat
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 16 Brovnik.exe
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 17 Brovnik.dat
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 18 Lexdel.exe
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 19 Lexcfg.exe
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 20 Lexivo.bmp
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 21 Fonetyk.dat
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 22 Zwroty.dat
    {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 23 Idiomy.dat
    {0xDBF52437, 0x854A7B10, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 24 Quorbel2.hlp
    {0x2DE47D36, 0x78436328, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 25 Quorbel2.cnt
    {0x060D8CFB, 0x95ECCDF9, 0x8A4D6670, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 26 Quorbel2.dat
    {0x6F97FCEE, 0x60464A79, 0x56EE4A4D, 0xA3CCDFCA, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 27 Norvak2.exe
    {0xFE50FBB0, 0x00000000, 0x9D6054C4, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 28 Norvak2.dat
    {0xFF633907, 0xE9BD1455, 0xF5B5B5AF, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 29 Quorbel.dot
    {0x51043154, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 30 Norvak.dot
    {0xD698479D, 0x0F7E9D3D, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 31 Wendura2.exe
    {0x00000000, 0x4838D811, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 32 Wendura2.dat
    {0x3F9F35EE, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 33 Wymowa.dat
    {0x9053AAE7, 0xF4F34DB0, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},  // 34 Quorbel2.exe
}};
// clang-format on

}  // namespace updater::patch::catalogue_data
