// quenzar-cli: the designer's work without its window (see README.md for usage).
#include <cstdio>
#include <string>

static int Usage() {
  std::fputs("usage: quenzar-cli info WORK\n", stderr);
  return 2;
}

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string command = argv[1];
  return Usage();
}
