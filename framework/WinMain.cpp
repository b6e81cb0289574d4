#include "CWinApp.h"

// The program's entry: hands over to the framework, which finds the application object.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR cmdLine, int showCmd)
{
    return AfxWinMain(hInstance, hPrevInstance, cmdLine, showCmd);
}
