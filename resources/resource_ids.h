// Resource identifiers shared by the resource scripts and the C++ code.
#pragma once

#define IDI_PROGRAM 1             // the program icon of every deliverable

