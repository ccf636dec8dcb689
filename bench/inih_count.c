/* The peer of `korvane-ini stats` for whole-process timing: reads one INI
 * file with inih and prints how many sections and keys it holds. A section
 * counts when its first key is read, as inih reports sections only through
 * their keys. */
#include <ini.h>
#include <stdio.h>
#include <string.h>

struct Counts {
    char section[256];
    long sections;
    long keys;
};

static int count(void* user, const char* section, const char* name, const char* value) {
    struct Counts* counts = (struct Counts*)user;
    (void)name;
    (void)value;
    if (strcmp(section, counts->section) != 0) {
        snprintf(counts->section, sizeof counts->section, "%s", section);
        ++counts->sections;
    }
    ++counts->keys;
    return 1;
}

int main(int argc, char** argv) {
    struct Counts counts = {{0}, 0, 0};
    if (argc != 2) {
        fprintf(stderr, "usage: inih_count FILE\n");
        return 2;
    }
    if (ini_parse(argv[1], count, &counts) < 0) {
        fprintf(stderr, "inih_count: cannot read %s\n", argv[1]);
        return 2;
    }
    printf("sections %ld keys %ld\n", counts.sections, counts.keys);
    return 0;
}
