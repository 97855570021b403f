#error "portable code must not include Windows headers (shlobj.h)"
