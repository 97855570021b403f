#error "portable code must not include Windows headers (commctrl.h)"
