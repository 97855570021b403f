// Compiled as if it were portable code: must fail on the include below.
#include <windows.h>
int main() { return 0; }
