#include "exchange/layouts.h"

void TerminatePathBlock(char* text) { text[PathBlockSize - 1] = '\0'; }
