// Runs the built program on real files in a temporary directory and checks its output byte for
// byte, its exit status and the files' bytes afterwards.
//
//   end_to_end_tests [gtest options] --tool=PATH [--fault-shim=PATH] [--sanitized]
//                    [--memcheck="valgrind OPTIONS"]
//   end_to_end_tests [gtest options] --tool=PATH.exe --wine=PATH --wine-prefix=DIRECTORY
//
// With --wine the program is a Windows one run under Wine, in the prefixes that
// wine_fixture.sh made in DIRECTORY: its line feeds leave as CR LF.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "session_files.h"
#include "tool_runner.h"

namespace fs = std::filesystem;

namespace {

struct settings {
    std::string tool;
    std::string wine;
    std::string wine_prefix;
    std::string fault_shim;
    std::vector<std::string> memcheck;  // the command that runs the program under valgrind
    bool sanitized = false;
};

settings &configuration()
{
    static settings values;
    return values;
}

bool on_windows()
{
    return !configuration().wine.empty();
}

const char *const USAGE = "This program sets Orvanta TN3270 session files so that window location "
                          "is 20,20.\nCommand format is 'SETWIN <filename>'\n";
const char *const NO_MATCH = "No files match specification\n";

// The text the program prints for text, whose line feeds the Windows console turns into CR LF.
std::string console(const std::string &text)
{
    if (!on_windows())
        return text;
    std::string converted;
    for (char character : text) {
        if (character == '\n')
            converted += '\r';
        converted += character;
    }
    return converted;
}

class EndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "setwin-e2e-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
        // Open to every user: some cases run the program as an unprivileged one.
        fs::permissions(directory_, fs::perms::all);
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(directory_, error);
        if (error) {
            // Paths longer than PATH_MAX need a remover that walks by descriptors.
            const std::string command = "rm -rf '" + directory_.string() + "'";
            EXPECT_EQ(std::system(command.c_str()), 0);
        }
    }

    fs::path path(const std::string &name) const { return directory_ / name; }

    void write(const std::string &name, const std::string &bytes) const
    {
        write_file(path(name), bytes);
    }
    std::string read(const std::string &name) const { return read_file(path(name)); }

    tool_run run(const std::vector<std::string> &arguments, const run_options &options = {}) const
    {
        std::vector<std::string> command;
        run_options settings = options;
        if (on_windows()) {
            command.push_back(configuration().wine);
            const bool as_nobody = options.unprivileged && geteuid() == 0;
            const std::string prefix =
                configuration().wine_prefix + (as_nobody ? "/nobody" : "/own");
            settings.environment.push_back("WINEPREFIX=" + prefix);
            settings.environment.push_back("WINEDEBUG=-all");
            if (as_nobody)
                settings.environment.push_back("HOME=" + prefix);
        }
        command.insert(command.end(), configuration().memcheck.begin(),
                       configuration().memcheck.end());
        command.push_back(configuration().tool);
        tool_run result = run_in_directory(command, directory_.string(), arguments, settings);
        EXPECT_FALSE(result.timed_out) << "the program did not end";
        EXPECT_EQ(result.standard_error, "") << "every message belongs on standard output";
        return result;
    }

    // Options that preload the fault shim, making operation fail for the file named a.ws.
    static run_options failing_for_a_ws(const std::string &operation)
    {
        run_options faulty;
        faulty.environment = {"LD_PRELOAD=" + configuration().fault_shim,
                              "SETWIN_FAULT_OPERATION=" + operation, "SETWIN_FAULT_FILE=a.ws",
                              "ASAN_OPTIONS=verify_asan_link_order=0"};
        return faulty;
    }

    fs::path directory_;
};

std::string location_line(int x, int y, int width, int height)
{
    return "Window location is " + std::to_string(x) + "," + std::to_string(y)
        + " (changed to 20,20) - size is " + std::to_string(width) + "," + std::to_string(height)
        + "\n";
}

std::string updated_line(const std::string &name)
{
    return "File '" + name + "' updated\n";
}

std::string count_line(int count)
{
    return "Number of files converted = " + std::to_string(count);
}

TEST_F(EndToEnd, WithoutArgumentPrintsUsageAndExitsWithEight)
{
    const std::string session = session_bytes(200, WORKED_EXAMPLE_FIELDS);
    write("a.ws", session);
    const tool_run result = run({});
    EXPECT_EQ(result.standard_output, console(USAGE));
    EXPECT_EQ(result.exit_status, 8);
    EXPECT_TRUE(same_bytes(read("a.ws"), session));
}

TEST_F(EndToEnd, FixesOneFileAndKeepsEveryOtherByte)
{
    const std::string session = session_bytes(1000, WORKED_EXAMPLE_FIELDS);
    write("one.ws", session);
    const tool_run result = run({"one.ws"});
    EXPECT_EQ(result.standard_output,
              console(location_line(-100, -200, 800, 600) + updated_line("one.ws")) + count_line(1));
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_TRUE(same_bytes(read("one.ws"), fixed(session)));
}

TEST_F(EndToEnd, FixesEveryMatchingFileInOrderAndSkipsDirectories)
{
    const std::string first = session_bytes(300, {0x10, 0x00, 0x20, 0x00, 0x30, 0x00, 0x40, 0x00}, 1);
    const std::string second = session_bytes(98, {0x14, 0x00, 0x14, 0x00, 0xFF, 0xFF, 0x00, 0x80}, 2);
    const std::string other = session_bytes(300, WORKED_EXAMPLE_FIELDS, 3);
    write("b.ws", second);
    write("a.WS", first);
    write("c.txt", other);
    fs::create_directory(path("sub.ws"));
    write("sub.ws/inner.ws", other);

    const tool_run result = run({"*.ws"});
    EXPECT_EQ(result.standard_output,
              console(location_line(16, 32, 48, 64) + updated_line("a.WS")
                      + location_line(20, 20, -1, -32768) + updated_line("b.ws"))
                  + count_line(2));
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_TRUE(same_bytes(read("a.WS"), fixed(first)));
    EXPECT_TRUE(same_bytes(read("b.ws"), fixed(second)));
    EXPECT_TRUE(same_bytes(read("c.txt"), other));
    EXPECT_TRUE(same_bytes(read("sub.ws/inner.ws"), other));
}

TEST_F(EndToEnd, ReportsNoMatchWhenNothingIsConverted)
{
    const std::string session = session_bytes(200, WORKED_EXAMPLE_FIELDS);
    write("a.ws", session);
    fs::create_directory(path("sub"));
    for (const char *specification : {"*.xyz", "sub", "sub/", "missing/*.ws", "missing.ws", ""}) {
        SCOPED_TRACE(specification);
        const tool_run result = run({specification});
        EXPECT_EQ(result.standard_output, console(NO_MATCH));
        EXPECT_EQ(result.exit_status, 0);
    }
    EXPECT_TRUE(same_bytes(read("a.ws"), session));
}

TEST_F(EndToEnd, DirectoryPartIsKeptAndSameNameElsewhereIsLeftAlone)
{
    const std::string inner = session_bytes(500, WORKED_EXAMPLE_FIELDS, 4);
    const std::string decoy = session_bytes(500, {1, 0, 2, 0, 3, 0, 4, 0}, 5);
    fs::create_directory(path("sessions"));
    write("sessions/x.ws", inner);
    write("x.ws", decoy);

    const tool_run result = run({"sessions/*.ws"});
    EXPECT_EQ(result.standard_output,
              console(location_line(-100, -200, 800, 600) + updated_line("sessions/x.ws"))
                  + count_line(1));
    EXPECT_TRUE(same_bytes(read("sessions/x.ws"), fixed(inner)));
    EXPECT_TRUE(same_bytes(read("x.ws"), decoy));
}

struct size_case {
    const char *name;
    std::size_t size;
    bool fixed;
    const char *refusal;  // the line printed instead of the location line, if any
};

void PrintTo(const size_case &value, std::ostream *stream)
{
    *stream << value.name << " of " << value.size << " bytes";
}

class FileSizes : public EndToEnd, public testing::WithParamInterface<size_case> {};

TEST_P(FileSizes, FixesOnlyFilesThatHoldTheFieldsAndFitTheBuffer)
{
    const size_case &parameters = GetParam();
    const std::string session = session_bytes(parameters.size, WORKED_EXAMPLE_FIELDS, 6);
    write(parameters.name, session);

    const tool_run result = run({parameters.name});
    const std::string name(parameters.name);
    if (parameters.fixed) {
        EXPECT_EQ(result.standard_output,
                  console(location_line(-100, -200, 800, 600) + updated_line(name)) + count_line(1));
        EXPECT_TRUE(same_bytes(read(name), fixed(session)));
    } else {
        EXPECT_EQ(result.standard_output,
                  console("File '" + name + "' " + parameters.refusal + "\n" + NO_MATCH));
        EXPECT_TRUE(same_bytes(read(name), session));
    }
    EXPECT_EQ(result.exit_status, 0);
}

const char *const TOO_SHORT = "is too short to be a session file - not changed";
const char *const TOO_LARGE = "is too large to be a session file - not changed";

INSTANTIATE_TEST_SUITE_P(
    Boundaries, FileSizes,
    testing::Values(size_case{"empty.ws", 0, false, TOO_SHORT},
                    size_case{"short.ws", 97, false, TOO_SHORT},
                    size_case{"smallest.ws", 98, true, nullptr},
                    size_case{"largest.ws", 10000000, true, nullptr},
                    size_case{"oversized.ws", 10000001, false, TOO_LARGE}),
    [](const testing::TestParamInfo<size_case> &info) {
        return std::string(info.param.name).substr(0, std::string(info.param.name).find('.'));
    });

TEST_F(EndToEnd, NamesWithSpacesAndPercentSignsArePrintedAsTheyAre)
{
    const std::string session = session_bytes(200, WORKED_EXAMPLE_FIELDS);
    const std::string name = "my session %d %s 100%.ws";
    write(name, session);
    const tool_run result = run({"my*.ws"});
    EXPECT_EQ(result.standard_output,
              console(location_line(-100, -200, 800, 600) + updated_line(name)) + count_line(1));
    EXPECT_TRUE(same_bytes(read(name), fixed(session)));
}

// A name outside the Windows ANSI code page: the Windows program handles it because its manifest
// makes UTF-8 the process code page; without that the search would hand over question marks.
TEST_F(EndToEnd, NamesOutsideTheAnsiCodePageAreFixed)
{
    const std::string session = session_bytes(200, WORKED_EXAMPLE_FIELDS);
    const std::string name = "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB \xE6\x97\xA5.ws";
    write(name, session);
    const tool_run result = run({"*.ws"});
    EXPECT_EQ(result.standard_output,
              console(location_line(-100, -200, 800, 600) + updated_line(name)) + count_line(1));
    EXPECT_TRUE(same_bytes(read(name), fixed(session)));
}

struct name_case {
    const char *label;
    std::string name;
    bool posix_only;  // a name that Windows does not allow
};

void PrintTo(const name_case &value, std::ostream *stream)
{
    *stream << value.label;
}

class Names : public EndToEnd, public testing::WithParamInterface<name_case> {};

// Whatever bytes a name holds, it is found, opened, printed unchanged and fixed.
TEST_P(Names, AreFoundOpenedAndPrintedAsTheyAre)
{
    if (on_windows() && GetParam().posix_only)
        GTEST_SKIP() << "not a valid name on Windows";
    const std::string &name = GetParam().name;
    const std::string session = session_bytes(200, WORKED_EXAMPLE_FIELDS, 17);
    write(name, session);
    for (const std::string &specification : {std::string("*"), name}) {
        SCOPED_TRACE(specification);
        const tool_run result = run({specification});
        EXPECT_EQ(result.standard_output,
                  console(location_line(specification == "*" ? -100 : 20,
                                        specification == "*" ? -200 : 20, 800, 600)
                          + updated_line(name))
                      + count_line(1));
        EXPECT_EQ(result.exit_status, 0);
        EXPECT_TRUE(same_bytes(read(name), fixed(session)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Odd, Names,
    testing::Values(name_case{"percent_and_spaces", "100% %s %d %n.ws", false},
                    name_case{"quotes", "it's \"quoted\".ws", true},
                    name_case{"newline", "new\nline.ws", true},
                    name_case{"not_utf8", "\xFF\xFE\x80 bytes.ws", true},
                    name_case{"leading_dash", "-n --help.ws", false},
                    name_case{"longest", std::string(252, 'n') + ".ws", false}),
    [](const testing::TestParamInfo<name_case> &info) { return info.param.label; });

// Opens (making them where missing) directories nested levels deep below base, each named with
// 250 letters, and returns the descriptor of the deepest; the path to it is put in *path.
int open_deep_directory(const fs::path &base, int levels, std::string *path)
{
    int descriptor = open(base.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < levels; ++level) {
        const std::string name = std::string(249, 'd') + static_cast<char>('a' + level);
        mkdirat(descriptor, name.c_str(), 0777);
        const int deeper = openat(descriptor, name.c_str(), O_RDONLY | O_DIRECTORY);
        close(descriptor);
        descriptor = deeper;
        *path += name + "/";
    }
    return descriptor;
}

std::string read_at(int directory, const char *name)
{
    const int descriptor = openat(directory, name, O_RDONLY);
    std::string content;
    char block[4096];
    ssize_t count = 0;
    while (descriptor >= 0 && (count = ::read(descriptor, block, sizeof block)) > 0)
        content.append(block, static_cast<std::size_t>(count));
    close(descriptor);
    return content;
}

// Up to the system's longest path the file is fixed; beyond it, nothing can be opened.
TEST_F(EndToEnd, VeryLongPathsAreFixedUpToTheLimitAndLeftAloneBeyondIt)
{
    if (on_windows())
        GTEST_SKIP() << "Windows paths are limited to 260 characters";
    const std::string session = session_bytes(200, WORKED_EXAMPLE_FIELDS, 18);
    struct depth_case {
        int levels;
        bool reachable;
    };
    for (const depth_case depth : {depth_case{16, true}, depth_case{17, false}}) {
        std::string directory;
        const int descriptor = open_deep_directory(directory_, depth.levels, &directory);
        ASSERT_GE(descriptor, 0);
        const int file = openat(descriptor, "deep.ws", O_CREAT | O_WRONLY | O_TRUNC, 0666);
        ASSERT_EQ(::write(file, session.data(), session.size()),
                  static_cast<ssize_t>(session.size()));
        close(file);
        SCOPED_TRACE(directory.size());

        const tool_run result = run({directory + "*.ws"});
        if (depth.reachable) {
            EXPECT_EQ(result.standard_output, location_line(-100, -200, 800, 600)
                                                  + updated_line(directory + "deep.ws")
                                                  + count_line(1));
            EXPECT_TRUE(same_bytes(read_at(descriptor, "deep.ws"), fixed(session)));
        } else {
            EXPECT_EQ(result.standard_output, NO_MATCH);
            EXPECT_TRUE(same_bytes(read_at(descriptor, "deep.ws"), session));
        }
        EXPECT_EQ(result.exit_status, 0);
        close(descriptor);
    }
}

TEST_F(EndToEnd, EveryArgumentIsASpecificationOnLinux)
{
    if (on_windows())
        GTEST_SKIP() << "Windows uses the first argument only";
    const std::string first = session_bytes(200, WORKED_EXAMPLE_FIELDS, 7);
    const std::string second = session_bytes(200, {5, 0, 6, 0, 7, 0, 8, 0}, 8);
    write("z.ws", first);
    write("a.ws", second);
    const tool_run result = run({"z.ws", "nothing*", "a.ws"});
    EXPECT_EQ(result.standard_output, location_line(-100, -200, 800, 600) + updated_line("z.ws")
                                          + location_line(5, 6, 7, 8) + updated_line("a.ws")
                                          + count_line(2));
    EXPECT_TRUE(same_bytes(read("z.ws"), fixed(first)));
    EXPECT_TRUE(same_bytes(read("a.ws"), fixed(second)));
}

TEST_F(EndToEnd, OnlyTheFirstArgumentIsUsedOnWindows)
{
    if (!on_windows())
        GTEST_SKIP() << "on Linux every argument is a specification";
    const std::string first = session_bytes(200, WORKED_EXAMPLE_FIELDS, 7);
    const std::string second = session_bytes(200, {5, 0, 6, 0, 7, 0, 8, 0}, 8);
    write("z.ws", first);
    write("a.ws", second);
    const tool_run result = run({"z.ws", "a.ws"});
    EXPECT_EQ(result.standard_output,
              console(location_line(-100, -200, 800, 600) + updated_line("z.ws")) + count_line(1));
    EXPECT_TRUE(same_bytes(read("z.ws"), fixed(first)));
    EXPECT_TRUE(same_bytes(read("a.ws"), second));
}

TEST_F(EndToEnd, BackslashDirectoryPartIsKeptOnWindows)
{
    if (!on_windows())
        GTEST_SKIP() << "a backslash is part of a name on Linux";
    const std::string session = session_bytes(200, WORKED_EXAMPLE_FIELDS);
    fs::create_directory(path("sub"));
    write("sub/q.ws", session);
    write("q.ws", session);
    const tool_run result = run({"sub\\*.WS"});
    EXPECT_EQ(result.standard_output,
              console(location_line(-100, -200, 800, 600) + updated_line("sub\\q.ws"))
                  + count_line(1));
    EXPECT_TRUE(same_bytes(read("sub/q.ws"), fixed(session)));
    EXPECT_TRUE(same_bytes(read("q.ws"), session));
}

// "*" matches the entries "." and ".." too: they are directories and never reach the fix.
TEST_F(EndToEnd, DotEntriesNeverReachTheFix)
{
    const std::string session = session_bytes(200, WORKED_EXAMPLE_FIELDS);
    fs::create_directory(path("sub"));
    write("sub/only.ws", session);
    for (const char *specification : {"sub/*", "sub/.*", "sub/.", "sub/.."}) {
        SCOPED_TRACE(specification);
        const bool matches_file = std::string(specification) == "sub/*";
        const tool_run result = run({specification});
        if (matches_file) {
            EXPECT_EQ(result.standard_output,
                      console(location_line(-100, -200, 800, 600) + updated_line("sub/only.ws"))
                          + count_line(1));
        } else {
            EXPECT_EQ(result.standard_output, console(NO_MATCH));
        }
        EXPECT_EQ(result.exit_status, 0);
    }
}

TEST_F(EndToEnd, FifosAreSkippedWithoutBlocking)
{
    if (on_windows())
        GTEST_SKIP() << "no FIFOs on Windows";
    const std::string session = session_bytes(200, WORKED_EXAMPLE_FIELDS);
    write("a.ws", session);
    ASSERT_EQ(mkfifo(path("b.ws").c_str(), 0666), 0);
    const tool_run result = run({"*.ws"});
    EXPECT_EQ(result.standard_output,
              location_line(-100, -200, 800, 600) + updated_line("a.ws") + count_line(1));
    EXPECT_TRUE(same_bytes(read("a.ws"), fixed(session)));

    const tool_run named = run({"b.ws"});
    EXPECT_EQ(named.standard_output, NO_MATCH);
}

// Root ignores file modes, so these run the program as an unprivileged user.
TEST_F(EndToEnd, FilesThatCannotBeOpenedAreReportedAndTheRunGoesOn)
{
    const std::string unreadable = session_bytes(200, {1, 0, 1, 0, 1, 0, 1, 0}, 9);
    const std::string read_only = session_bytes(200, WORKED_EXAMPLE_FIELDS, 10);
    const std::string writable = session_bytes(200, {2, 0, 3, 0, 4, 0, 5, 0}, 11);
    write("a.ws", unreadable);
    write("b.ws", read_only);
    write("writable.ws", writable);
    fs::permissions(path("a.ws"), fs::perms::owner_write | fs::perms::group_write);
    fs::permissions(path("b.ws"), fs::perms::owner_read | fs::perms::group_read
                                      | fs::perms::others_read);
    fs::permissions(path("writable.ws"), fs::perms::all);

    run_options as_nobody;
    as_nobody.unprivileged = true;
    const tool_run result = run({"*.ws"}, as_nobody);
    EXPECT_EQ(result.standard_output,
              console("Error opening file a.ws\n" + location_line(-100, -200, 800, 600)
                      + "Error opening file b.ws\n" + location_line(2, 3, 4, 5)
                      + updated_line("writable.ws"))
                  + count_line(1));
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_TRUE(same_bytes(read("a.ws"), unreadable));
    EXPECT_TRUE(same_bytes(read("b.ws"), read_only));
    EXPECT_TRUE(same_bytes(read("writable.ws"), fixed(writable)));

    const tool_run none_converted = run({"?.ws"}, as_nobody);
    EXPECT_EQ(none_converted.standard_output,
              console("Error opening file a.ws\n" + location_line(-100, -200, 800, 600)
                      + "Error opening file b.ws\n" + NO_MATCH));
    EXPECT_EQ(none_converted.exit_status, 0);
}

struct fault_case {
    const char *operation;
    const char *report;     // what the program prints for the failing file
    bool written_through;   // whether the new location reached the file before the failure
};

void PrintTo(const fault_case &value, std::ostream *stream)
{
    *stream << "failing " << value.operation;
}

class Faults : public EndToEnd, public testing::WithParamInterface<fault_case> {};

// A failure on one file is reported, that file is not counted and the run goes on.
TEST_P(Faults, FailedFileIsReportedNotCountedAndTheRunGoesOn)
{
    if (on_windows() || configuration().fault_shim.empty())
        GTEST_SKIP() << "needs the native program and the fault shim";
    const std::string failing = session_bytes(5000, WORKED_EXAMPLE_FIELDS, 12);
    const std::string healthy = session_bytes(5000, {7, 0, 7, 0, 7, 0, 7, 0}, 13);
    write("a.ws", failing);
    write("b.ws", healthy);

    const tool_run result = run({"*.ws"}, failing_for_a_ws(GetParam().operation));
    EXPECT_EQ(result.standard_output, std::string(GetParam().report)
                                          + location_line(7, 7, 7, 7) + updated_line("b.ws")
                                          + count_line(1));
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_TRUE(same_bytes(read("a.ws"), GetParam().written_through ? fixed(failing) : failing));
    EXPECT_TRUE(same_bytes(read("b.ws"), fixed(healthy)));
}

const char *const WRITE_FAILED_REPORT =
    "Window location is -100,-200 (changed to 20,20) - size is 800,600\n"
    "Error writing file a.ws\n";

INSTANTIATE_TEST_SUITE_P(
    Operations, Faults,
    testing::Values(fault_case{"read", "Error reading file a.ws\n", false},
                    fault_case{"write", WRITE_FAILED_REPORT, false},
                    fault_case{"short-write", WRITE_FAILED_REPORT, true},
                    fault_case{"close", WRITE_FAILED_REPORT, true}),
    [](const testing::TestParamInfo<fault_case> &info) {
        std::string name = info.param.operation;
        name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
        return name;
    });

// A file system may return less than asked before the end of a file: the file must still be
// read to its end, not taken for a short one.
TEST_F(EndToEnd, ShortReadsAreReadToTheEnd)
{
    if (on_windows() || configuration().fault_shim.empty())
        GTEST_SKIP() << "needs the native program and the fault shim";
    const std::string session = session_bytes(5000, WORKED_EXAMPLE_FIELDS, 19);
    write("a.ws", session);
    const tool_run result = run({"a.ws"}, failing_for_a_ws("short-read"));
    EXPECT_EQ(result.standard_output,
              location_line(-100, -200, 800, 600) + updated_line("a.ws") + count_line(1));
    EXPECT_TRUE(same_bytes(read("a.ws"), fixed(session)));
}

struct swap_case {
    const char *operation;
    const char *report;  // what the program prints for the swapped name
};

void PrintTo(const swap_case &value, std::ostream *stream)
{
    *stream << "swapped: " << value.operation;
}

class SwappedBeforeOpen : public EndToEnd, public testing::WithParamInterface<swap_case> {};

// The name the search found is given to something else before the program opens it: the
// program must not block, must not write to what it finds, and must go on with the next file.
TEST_P(SwappedBeforeOpen, NothingButRegularFilesIsReadOrWritten)
{
    if (on_windows() || configuration().fault_shim.empty())
        GTEST_SKIP() << "needs the native program and the fault shim";
    const std::string healthy = session_bytes(300, {7, 0, 7, 0, 7, 0, 7, 0}, 15);
    write("a.ws", session_bytes(300, WORKED_EXAMPLE_FIELDS, 16));
    write("b.ws", healthy);

    const tool_run result = run({"*.ws"}, failing_for_a_ws(GetParam().operation));
    EXPECT_EQ(result.standard_output, std::string(GetParam().report) + location_line(7, 7, 7, 7)
                                          + updated_line("b.ws") + count_line(1));
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_TRUE(same_bytes(read("b.ws"), fixed(healthy)));
    EXPECT_FALSE(fs::is_regular_file(path("a.ws")));
}

INSTANTIATE_TEST_SUITE_P(Swaps, SwappedBeforeOpen,
                         testing::Values(swap_case{"vanish", "Error opening file a.ws\n"},
                                         swap_case{"directory", ""}, swap_case{"fifo", ""},
                                         swap_case{"device", ""}),
                         [](const testing::TestParamInfo<swap_case> &info) {
                             return info.param.operation;
                         });

// A file with holes needs new blocks where it is rewritten: on a full file system that write
// fails for real, and the file must come out of it as it was or fixed, never cut short.
TEST_F(EndToEnd, FullFileSystemFailsTheWriteWithoutLosingTheFile)
{
    const fs::path mount_point = path("full");
    fs::create_directory(mount_point);
    if (mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "size=256k,mode=0777") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
    struct unmount_at_end {
        fs::path where;
        ~unmount_at_end() { umount(where.c_str()); }
    } unmount{mount_point};

    const std::size_t size = 1 << 20;
    const std::string start = session_bytes(4096, WORKED_EXAMPLE_FIELDS, 14);
    write("full/holes.ws", start);
    fs::resize_file(path("full/holes.ws"), size);
    const std::string before = read("full/holes.ws");
    {
        std::ofstream filler(path("full/filler"), std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))
               && filler.flush()) {
        }
    }

    const tool_run result = run({"full/*.ws"});
    EXPECT_EQ(result.standard_output,
              console(location_line(-100, -200, 800, 600) + "Error writing file full/holes.ws\n"
                      + NO_MATCH));
    const std::string after = read("full/holes.ws");
    EXPECT_EQ(after.size(), size);
    EXPECT_TRUE(after == before || after == fixed(before)) << "the file changed beyond its location";
}

TEST_F(EndToEnd, WithoutMemoryForTheWorkBufferSaysSoAndExitsWithOne)
{
    if (on_windows() || configuration().sanitized || !configuration().memcheck.empty())
        GTEST_SKIP() << "needs a native program without sanitizers or valgrind";
    write("a.ws", session_bytes(200, WORKED_EXAMPLE_FIELDS));
    run_options small_memory;
    small_memory.address_space_limit = 9000000;
    const tool_run result = run({"a.ws"}, small_memory);
    EXPECT_EQ(result.standard_output, "Not enough memory for the work buffer of 10000000 bytes\n");
    EXPECT_EQ(result.exit_status, 1);
}

}  // namespace

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        const auto value = [&](const std::string &option) {
            return argument.rfind(option, 0) == 0 ? argument.substr(option.size()) : std::string();
        };
        if (!value("--tool=").empty())
            configuration().tool = value("--tool=");
        else if (!value("--wine=").empty())
            configuration().wine = value("--wine=");
        else if (!value("--wine-prefix=").empty())
            configuration().wine_prefix = value("--wine-prefix=");
        else if (!value("--fault-shim=").empty())
            configuration().fault_shim = value("--fault-shim=");
        else if (!value("--memcheck=").empty()) {
            std::istringstream words(value("--memcheck="));
            for (std::string word; words >> word;)
                configuration().memcheck.push_back(word);
        } else if (argument == "--sanitized")
            configuration().sanitized = true;
    }
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    if (configuration().tool.empty()) {
        std::fprintf(stderr, "usage: %s [gtest options] --tool=PATH [--wine=PATH]\n", argv[0]);
        return 2;
    }
    // The program runs from a copy that an unprivileged user can reach, wherever the build is.
    auto *copy = new tool_copy(configuration().tool);
    testing::AddGlobalTestEnvironment(copy);
    configuration().tool = copy->path();
    return RUN_ALL_TESTS();
}
