// The eight window classes of the main program, registered once at start.
#pragma once
#include <windows.h>

// Window procedures of controls that are registered before their behaviour exists; the
// code that gives a control its behaviour points its variable at its procedure.
extern WNDPROC EditExWindowProc;
extern WNDPROC ListExWindowProc;
extern WNDPROC IconControlWindowProc;
extern WNDPROC ColorControlWindowProc;
extern WNDPROC SampleWindowProc;
extern WNDPROC IconButtonWindowProc;

void RegisterWindowClasses(HINSTANCE instance);
