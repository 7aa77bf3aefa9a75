#include <cstdio>
int main(int argc, char** argv) {
    if (argc < 2) { std::fprintf(stderr, "usage: make_demo_data OUT_DIR\n"); return 2; }
    return 0;
}
