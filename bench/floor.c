/* The floor for the benchmark: only what fixing session files needs, with raw system calls.
 * It lists one directory, sorts the names, and for each name that ends in ".ws" reads the file
 * whole, prints the same two lines as setwin, writes the bytes back without truncating and
 * closes it; then prints the count. No wildcards, no error handling.
 *
 *   floor DIRECTORY
 */
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#define BUFFER_SIZE 10000000

static int compare_names(const void *left, const void *right)
{
    return strcmp(*(char *const *)left, *(char *const *)right);
}

static int field(const unsigned char *bytes)
{
    int value = bytes[0] | (bytes[1] << 8);
    return value >= 0x8000 ? value - 0x10000 : value;
}

int main(int argc, char **argv)
{
    const char *directory = argc > 1 ? argv[1] : ".";
    size_t count = 0, capacity = 1024;
    char **names = malloc(capacity * sizeof *names);
    DIR *listing = opendir(directory);
    struct dirent *entry;
    while ((entry = readdir(listing)) != NULL) {
        size_t length = strlen(entry->d_name);
        if (entry->d_type != DT_REG || length < 3 || strcmp(entry->d_name + length - 3, ".ws") != 0)
            continue;
        if (count == capacity)
            names = realloc(names, (capacity *= 2) * sizeof *names);
        names[count++] = strdup(entry->d_name);
    }
    closedir(listing);
    qsort(names, count, sizeof *names, compare_names);

    unsigned char *buffer = malloc(BUFFER_SIZE);
    char path[4096];
    int converted = 0;
    for (size_t index = 0; index < count; ++index) {
        snprintf(path, sizeof path, "%s/%s", directory, names[index]);
        int descriptor = open(path, O_RDWR);
        size_t length = 0;
        ssize_t got;
        while ((got = read(descriptor, buffer + length, BUFFER_SIZE - length)) > 0)
            length += (size_t)got;
        printf("Window location is %d,%d (changed to 20,20) - size is %d,%d\n", field(buffer + 90),
               field(buffer + 92), field(buffer + 94), field(buffer + 96));
        buffer[90] = 20, buffer[91] = 0, buffer[92] = 20, buffer[93] = 0;
        pwrite(descriptor, buffer, length, 0);
        close(descriptor);
        printf("File '%s' updated\n", path);
        ++converted;
    }
    printf("Number of files converted = %d", converted);
    return 0;
}
