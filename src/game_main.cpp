#include <SDL.h>

int main(int, char**) {
    return 0;
}
