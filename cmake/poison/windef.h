#error "portable code must not include Windows headers (windef.h)"
