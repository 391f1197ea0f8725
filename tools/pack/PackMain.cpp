#include <cstdio>

int main() {
    std::fprintf(stderr, "vantorel-pack: nothing to pack yet\n");
    return 0;
}
