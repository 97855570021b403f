#error "portable code must not include Windows headers (winbase.h)"
