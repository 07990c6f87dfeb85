// Fixes a file of random content and length, and checks that afterwards it differs from before
// at most in bytes 90 to 93, only when it was fixed, and then holds the new location there.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "session_file.h"

namespace {

std::string file_path;
unsigned char *work_buffer = nullptr;

std::string read_whole(const char *path)
{
    std::string content;
    std::FILE *stream = std::fopen(path, "rb");
    if (stream == nullptr)
        std::abort();
    char block[4096];
    std::size_t count = 0;
    while ((count = std::fread(block, 1, sizeof block, stream)) > 0)
        content.append(block, count);
    std::fclose(stream);
    return content;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The fix prints two lines for every input.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        std::abort();
    file_path = "/tmp/setwin-fuzz-" + std::to_string(getpid()) + ".ws";
    work_buffer = static_cast<unsigned char *>(std::malloc(WORK_BUFFER_SIZE));
    return work_buffer == nullptr ? 1 : 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string before(reinterpret_cast<const char *>(data), size);
    std::FILE *stream = std::fopen(file_path.c_str(), "wb");
    if (stream == nullptr || std::fwrite(before.data(), 1, before.size(), stream) != before.size()
        || std::fclose(stream) != 0)
        std::abort();

    const fix_outcome outcome = fix_session_file(file_path.c_str(), work_buffer);
    const std::string after = read_whole(file_path.c_str());
    std::remove(file_path.c_str());

    const bool holds_fields = size >= MINIMUM_SESSION_FILE_SIZE;
    if ((outcome == fix_outcome::updated) != holds_fields)
        std::abort();
    std::string expected = before;
    if (holds_fields)
        expected.replace(LOCATION_X_OFFSET, 4, std::string("\x14\x00\x14\x00", 4));
    if (after != expected)
        std::abort();
    return 0;
}
