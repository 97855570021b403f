#error "portable code must not include Windows headers (winuser.h)"
