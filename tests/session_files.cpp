#include "session_files.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

std::string session_bytes(std::size_t size, const std::array<unsigned char, 8> &fields,
                          unsigned seed)
{
    std::string bytes(size, '\0');
    unsigned state = 2463534242U + seed;
    for (char &byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state & 0xFF);
    }
    for (std::size_t index = 0; index < fields.size() && 90 + index < size; ++index)
        bytes[90 + index] = static_cast<char>(fields[index]);
    return bytes;
}

std::string fixed(std::string content)
{
    content.replace(90, 4, std::string("\x14\x00\x14\x00", 4));
    return content;
}

testing::AssertionResult same_bytes(const std::string &actual, const std::string &expected)
{
    if (actual == expected)
        return testing::AssertionSuccess();
    std::size_t index = 0;
    while (index < actual.size() && index < expected.size() && actual[index] == expected[index])
        ++index;
    return testing::AssertionFailure() << "lengths " << actual.size() << " and " << expected.size()
                                       << ", first difference at byte " << index;
}

void write_file(const fs::path &path, const std::string &bytes)
{
    std::ofstream stream(path, std::ios::binary);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!stream.flush())
        throw std::runtime_error("cannot write " + path.string());
}

std::string read_file(const fs::path &path)
{
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        return "<cannot read " + path.string() + ">";
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

tool_copy::tool_copy(const fs::path &original)
{
    std::string pattern = (fs::temp_directory_path() / "setwin-program-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a directory for the program");
    directory_ = pattern;
    program_ = directory_ / original.filename();
    fs::copy_file(original, program_);
    const auto readable_by_all = fs::perms::all & ~(fs::perms::owner_write | fs::perms::group_write
                                                    | fs::perms::others_write);
    fs::permissions(directory_, readable_by_all);
    fs::permissions(program_, readable_by_all);
}

void tool_copy::TearDown()
{
    fs::remove_all(directory_);
}
