// The catalogue rows, one column per table and one row per line. Row 34 is the file this build
// updates; rows 1 to 33 are the files of the family's other products and editions (other builds
// switch them on through their active set). Titles are Windows-1250 bytes.
//
// Sizes and CRC-32 values are listed for known versions 1 to 11; 0 means there is no such
// version. Rows 1 to 23 carry no CRC-32 values: their versions are told apart by the probe tables
// in file_catalogue_probes.cpp. Files 29 and 30 are word-processor templates, which the update run
// also looks for in the word processor's start-up folders.
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
    {  516608,   522240,   520704,   520704,   519680,   526848,   534016,   536576,   539648,   550400,   549376},  //  1 Quorbel.exe
    {  282863,   299013,        0,   310043,        0,        0,        0,        0,        0,        0,        0},  //  2 Quorbel.hlp
    {    2568,     2568,        0,        0,        0,        0,        0,        0,        0,        0,        0},  //  3 Quorbel.cnt
    { 8639886,        0,  8997236,        0,        0,        0,        0,        0,        0,        0,        0},  //  4 Quorbel.dat
    { 2243072,  2251776,  2251264,  2263040,  2274304,        0,        0,        0,        0,        0,        0},  //  5 Norvak.exe
    {  923060,   922896,        0,        0,        0,        0,        0,        0,        0,        0,        0},  //  6 Norvak.hlp
    { 7440837,  7973067,  7973067,        0,        0,        0,        0,        0,        0,        0,        0},  //  7 Norvak.dat
    { 1843200,  1852416,  1852928,  1857536,        0,        0,        0,        0,        0,        0,        0},  //  8 Trelmik.exe
    {       0,  1463924,  1442414,        0,        0,        0,        0,        0,        0,        0,        0},  //  9 Trelmik.hlp
    { 4310331,  4472810,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 10 Trelmik.dat
    {  985088,   992256,   990720,        0,        0,        0,        0,        0,        0,        0,        0},  // 11 Wendura.exe
    {  647373,        0,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 12 Wendura.hlp
    {  894927,        0,        0,   919517,        0,        0,        0,        0,        0,        0,        0},  // 13 Wendura.dat
    { 1506816,  1516544,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 14 Ospira.exe
    { 7303765,        0,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 15 Ospira.dat
    { 2021376,  2022912,  2021376,        0,        0,        0,        0,        0,        0,        0,        0},  // 16 Brovnik.exe
    { 5883159,  5895976,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 17 Brovnik.dat
    {  759808,   765952,   765952,        0,   764416,        0,        0,        0,        0,        0,        0},  // 18 Lexdel.exe
    { 1355264,  1361920,  1359872,        0,        0,        0,        0,        0,        0,        0,        0},  // 19 Lexcfg.exe
    {  308278,        0,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 20 Lexivo.bmp
    { 5681154,  5899996,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 21 Fonetyk.dat
    { 5940527,  6168769,  6143792,        0,        0,        0,        0,        0,        0,        0,        0},  // 22 Zwroty.dat
    { 6992900,  7508861,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 23 Idiomy.dat
    {  316363,   334049,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 24 Quorbel2.hlp
    {    2945,     2945,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 25 Quorbel2.cnt
    { 6894557,  7020229,  7340824,        0,        0,        0,        0,        0,        0,        0,        0},  // 26 Quorbel2.dat
    {  685568,   689664,   699904,   709632,        0,        0,        0,        0,        0,        0,        0},  // 27 Norvak2.exe
    { 7688000,        0,  7642551,        0,        0,        0,        0,        0,        0,        0,        0},  // 28 Norvak2.dat
    {  183808,   183808,   185344,        0,        0,        0,        0,        0,        0,        0,        0},  // 29 Quorbel.dot
    {  104960,        0,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 30 Norvak.dot
    { 1911296,  1915904,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 31 Wendura2.exe
    {       0,  2812052,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 32 Wendura2.dat
    { 6125862,        0,        0,        0,        0,        0,        0,        0,        0,        0,        0},  // 33 Wymowa.dat
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
