// patchkit's command line, run as the real program: bad arguments are refused before anything is
// touched, and replace writes only where the updater itself would.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "fixtures/quorbel_fixture.h"
#include "patch/file_state.h"
#include "test_support/temp_folder.h"
#include "tools/patchkit_runner.h"

namespace updater::test {
namespace {

using testing::HasSubstr;

struct BadCall {
    std::vector<std::string> args;  // {in}: an existing file, {out}: a file not there, {dir}: the folder
    std::string_view message;       // on stderr, besides the usage line
};

#ifndef _WIN32
const BadCall kBadCalls[] = {
    {{}, "usage: patchkit COMMAND"},
    {{"frobnicate"}, "unknown command 'frobnicate'"},
    {{"catalogue"}, "usage: patchkit catalogue INDEX"},
    {{"catalogue", "0"}, "INDEX must be a number from 1 to 34"},
    {{"catalogue", "35"}, "INDEX must be a number from 1 to 34"},
    {{"catalogue", "7x"}, "INDEX must be a number from 1 to 34"},
    {{"catalogue", "99999999999"}, "INDEX must be a number from 1 to 34"},
    {{"crc32"}, "usage: patchkit crc32"},
    {{"decode", "{in}"}, "usage: patchkit decode"},
    {{"decode", "{in}", "{out}", "{out}"}, "usage: patchkit decode"},
    {{"dict", "convert", "{in}", "{in}"}, "usage: patchkit dict"},
    {{"dict", "merge", "{in}", "{in}", "{out}"}, "usage: patchkit dict"},
    {{"dict", "update", "{dir}"}, "usage: patchkit dict"},
    {{"fixture", "quorbel-old"}, "usage: patchkit fixture"},
    {{"fixture", "no-such", "{out}"}, "unknown fixture 'no-such'"},
    {{"imports"}, "usage: patchkit imports"},
    {{"imports", "--list"}, "usage: patchkit imports"},
    {{"kod", "decode", "99", "5", "0", ""}, "APPID must be a number from 1 to 13"},
    {{"kod", "decode", "0", "5", "0", "00"}, "APPID must be a number from 1 to 13"},
    {{"kod", "encode", "6", "7", "0", "00"}, "MODE must be a number from 1 to 6"},
    {{"kod", "encode", "6", "5", "2", "00"}, "FLAG must be a number from 0 to 1"},
    {{"kod", "encode", "6", "5", "0", "abc"}, "HEX must be pairs of hexadecimal digits"},
    {{"kod", "encode", "6", "5", "0", "zz"}, "HEX must be pairs of hexadecimal digits"},
    {{"kod", "scramble", "6", "5", "0", "00"}, "encode or decode"},
    {{"kod", "encode", "6", "5", "0"}, "usage: patchkit kod"},
    {{"lower"}, "usage: patchkit lower"},
    {{"lower", "4"}, "HEX must be pairs of hexadecimal digits"},
    {{"lower", "g0"}, "HEX must be pairs of hexadecimal digits"},
    {{"pack", "{in}"}, "usage: patchkit pack"},
    {{"replace", "34"}, "usage: patchkit replace"},
    {{"replace", "35", "{out}"}, "INDEX must be a number from 1 to 34"},
    {{"replace", "34", "{out}", "--frobnicate"}, "unknown option '--frobnicate'"},
    {{"state", "0", "{in}"}, "INDEX must be a number from 1 to 34"},
    {{"state", "34"}, "usage: patchkit state"},
    {{"text", "9", "6"}, "LANG must be a number from 0 to 7"},
    {{"text", "-1", "6"}, "LANG must be a number from 0 to 7"},
    {{"text", "0", "99999"}, "ID must be a number from 1 to 320"},
    {{"text", "0", "0"}, "ID must be a number from 1 to 320"},
    {{"text", "0", "1", "--nt", "2"}, "--nt must be a number from 0 to 1"},
    {{"text", "0", "1", "--system-language", "8"}, "--system-language must be a number from 0 to 7"},
    {{"text", "0", "1", "--nt"}, "--nt needs a value"},
    {{"text", "0", "1", "2"}, "unexpected argument '2'"},
    {{"text", "0"}, "usage: patchkit text"},
};
#else
// Under Wine every start takes about a second, so the commands shared with the native build are
// left to it and only those of Windows alone run here.
const BadCall kBadCalls[] = {
    {{"install-folder"}, "usage: patchkit install-folder"},
    {{"install-folder", "0"}, "APPID must be -1 or a number from 1 to 13"},
    {{"install-folder", "14"}, "APPID must be -1 or a number from 1 to 13"},
    {{"register-install", "6"}, "usage: patchkit register-install"},
    {{"register-install", "14", "{dir}"}, "APPID must be a number from 1 to 13"},
    {{"register-install", "6", ""}, "FOLDER must not be empty"},
    {{"register-install", "6", "{dir}", "--everyone"}, "unknown option '--everyone'"},
    {{"shortcuts", "6"}, "usage: patchkit shortcuts"},
    {{"shortcuts", "8", "{dir}"}, "KIND must be 6 or 9"},
    {{"shortcuts", "6", "{dir}", "14"}, "APPID must be a number from 1 to 13"},
    {{"word-folders", "x"}, "usage: patchkit word-folders"},
    {{"text", "9", "6"}, "LANG must be a number from 0 to 7"},  // through the Windows entry point
};
#endif

std::string Joined(const std::vector<std::string>& args) {
    std::string text = "patchkit";
    for (const std::string& arg : args)
        text += " '" + arg + "'";
    return text;
}

TEST(PatchkitArguments, BadArgumentsAreRefusedWithTheUsageAndTouchNothing) {
    const TempFolder folder;
    const std::string input = folder.Write("input.bin", "some bytes");
    const std::string listing = folder.Listing();
    for (const BadCall& call : kBadCalls) {
        std::vector<std::string> args = call.args;
        for (std::string& arg : args) {
            if (arg == "{in}") arg = input;
            if (arg == "{out}") arg = folder.Path("output.bin");
            if (arg == "{dir}") arg = folder.Root();
        }
        SCOPED_TRACE(Joined(call.args));
        const ToolRun run = RunPatchkit(args, folder.Root());
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_THAT(run.err, HasSubstr(call.message));
        EXPECT_THAT(run.err, HasSubstr("usage: patchkit"));
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(folder.Listing(), listing) << "no output and no temporary file left";
        EXPECT_EQ(folder.Read("input.bin"), "some bytes");
    }
}

// Like the updater, replace writes over a known old version or where there is no file; another
// file of that name (the current version, or something else) is left alone unless forced.
TEST(PatchkitReplace, WritesOnlyOverAKnownOldVersionOrAMissingFile) {
    using patch::CheckFileState;
    using patch::FileState;
    const TempFolder folder;
    const std::string file = folder.Write("Quorbel2.exe", "not the program");

    ToolRun run = RunPatchkit({"replace", "34", file}, folder.Root());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("not a known version of file index 34"));
    EXPECT_EQ(folder.Read("Quorbel2.exe"), "not the program");
    EXPECT_EQ(folder.Listing(), "Quorbel2.exe\n") << "no temporary left";

    run = RunPatchkit({"replace", "34", file, "--force"}, folder.Root());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(CheckFileState(34, file), FileState::kCurrent);

    run = RunPatchkit({"replace", "34", file}, folder.Root());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("already the current version"));
    EXPECT_EQ(CheckFileState(34, file), FileState::kCurrent);

    const std::vector<std::uint8_t> old = fixtures::MakeQuorbelOld();
    folder.Write("Quorbel2.exe", std::string_view(reinterpret_cast<const char*>(old.data()), old.size()));
    ASSERT_EQ(CheckFileState(34, file), FileState::kOld);
    run = RunPatchkit({"replace", "34", file}, folder.Root());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(CheckFileState(34, file), FileState::kCurrent);

    const std::string missing = folder.Path("New.exe");
    run = RunPatchkit({"replace", "34", missing}, folder.Root());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(CheckFileState(34, missing), FileState::kCurrent);
    EXPECT_EQ(folder.Listing(), "New.exe\nQuorbel2.exe\n") << "no temporary left";
}

}  // namespace
}  // namespace updater::test
