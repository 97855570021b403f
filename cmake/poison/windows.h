// Portable code is compiled with this folder first on the include path, so that
// pulling in the Windows headers by mistake stops the build here.
#error "portable code must not include <windows.h>: move the Windows call into the Win32 layer"
