#error "portable code must not include Windows headers (shellapi.h)"
