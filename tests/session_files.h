// Session files made by the tests, and the files and programs around them.
#ifndef SETWIN_TESTS_SESSION_FILES_H
#define SETWIN_TESTS_SESSION_FILES_H

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

// Bytes 90 to 97 of the worked example: location -100,-200 and size 800,600.
constexpr std::array<unsigned char, 8> WORKED_EXAMPLE_FIELDS = {0x9C, 0xFF, 0x38, 0xFF,
                                                                 0x20, 0x03, 0x58, 0x02};

// A session file of size bytes: varied filler that differs with seed, and fields at byte 90
// where the file is long enough to hold them.
std::string session_bytes(std::size_t size, const std::array<unsigned char, 8> &fields,
                          unsigned seed = 0);

// content with its location set to 20,20, as a fixed file should read.
std::string fixed(std::string content);

// Compares file contents, naming the first byte that differs rather than printing them whole.
testing::AssertionResult same_bytes(const std::string &actual, const std::string &expected);

void write_file(const std::filesystem::path &path, const std::string &bytes);
std::string read_file(const std::filesystem::path &path);

// A copy of a program in a directory that every user may enter, removed after the tests.
class tool_copy : public testing::Environment {
public:
    explicit tool_copy(const std::filesystem::path &original);
    void TearDown() override;
    std::string path() const { return program_.string(); }

private:
    std::filesystem::path directory_;
    std::filesystem::path program_;
};

#endif
