#include <cstdio>
int main() { std::fprintf(stderr, "usage: lorvane-cli [--home DIR] VERB ...\n"); return 2; }
