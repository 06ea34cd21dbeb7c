#include <cstdio>
int main() {
  std::puts("{}");
  return 0;
}
