// A program for the runner test: "exit N" ends with code N after printing
// to both output streams; "crash" dies of an access violation.
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "exit") == 0) {
        std::printf("probe stdout\n");
        std::fprintf(stderr, "probe stderr\n");
        return std::atoi(argv[2]);
    }
    if (argc >= 2 && std::strcmp(argv[1], "crash") == 0) {
        volatile int* p = nullptr;
        *p = 1;
        return 0;
    }
    std::fprintf(stderr, "usage: wine_runner_probe exit N | crash\n");
    return 2;
}
