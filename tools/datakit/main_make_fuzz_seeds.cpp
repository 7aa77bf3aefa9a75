#include <cstdio>
int main(int argc, char** argv) {
    if (argc < 2) { std::fprintf(stderr, "usage: make_fuzz_seeds OUT_DIR\n"); return 2; }
    return 0;
}
