// Entry point. The game itself is still being built: until it is, this says
// so plainly instead of pretending to run.
#include <cstdio>

int main() {
  std::fprintf(stderr,
               "Duskmatch is not playable yet: the engine services are being built.\n"
               "Run `make check` to build and run the tests.\n");
  return 1;
}
