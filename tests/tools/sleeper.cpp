// A program that does nothing for up to two minutes: copies of it under chosen names stand
// for running programs in the process tests.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ::Sleep(120000);
    return 0;
}
