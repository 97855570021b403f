#error "portable code must not include Windows headers (objbase.h)"
