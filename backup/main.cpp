// VorbinBR.exe: backs up and restores the launcher's settings.
// (First cut: the program builds and starts; its dialogs follow.)
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
