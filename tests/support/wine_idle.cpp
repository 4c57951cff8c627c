// Sleeps until killed; keeps one Wine process alive while the tests run.
#include <windows.h>

int main() {
    Sleep(INFINITE);
    return 0;
}
