// Numbers of the program's own resources, shared by lorvena_pf.rc and the
// code that loads them.
#pragma once

#define LORVENA_ICON 1
