// The doctor's report: a line a check, or one JSON object.
#ifndef FILEPICK_DOCTOR_REPORT_H
#define FILEPICK_DOCTOR_REPORT_H

#include "check.h"

void PrintChecks(int json, const wchar_t* version, const Check* checks, int count,
                 CheckStatus status);

#endif
