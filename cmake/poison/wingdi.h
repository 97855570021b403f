#error "portable code must not include Windows headers (wingdi.h)"
