#include "setwin.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "file_search.h"
#include "session_file.h"

namespace {

struct free_deleter {
    void operator()(unsigned char *block) const { std::free(block); }
};

}  // namespace

int run_setwin(int argument_count, char **arguments)
{
    if (argument_count < 2) {
        std::printf("This program sets Orvanta TN3270 session files so that window location is "
                    "20,20.\nCommand format is 'SETWIN <filename>'\n");
        return EXIT_STATUS_USAGE;
    }

    // Never cleared: pages that no file reaches cost neither time nor memory.
    const std::unique_ptr<unsigned char, free_deleter> work_buffer(
        static_cast<unsigned char *>(std::malloc(WORK_BUFFER_SIZE)));
    if (!work_buffer) {
        std::printf("Not enough memory for the work buffer of %d bytes\n",
                    static_cast<int>(WORK_BUFFER_SIZE));
        return EXIT_STATUS_NO_MEMORY;
    }

    const int last_specification = SHELL_EXPANDS_WILDCARDS ? argument_count - 1 : 1;
    int converted_count = 0;
    for (int index = 1; index <= last_specification; ++index) {
        for_each_match(arguments[index], [&](const search_entry &entry) {
            if (entry.is_file_to_fix
                && fix_session_file(entry.path.c_str(), work_buffer.get()) == fix_outcome::updated)
                ++converted_count;
        });
    }

    if (converted_count != 0)
        std::printf("Number of files converted = %d", converted_count);
    else
        std::printf("No files match specification\n");
    return 0;
}
