// One check of the doctor: its name, its status, what it found and what to
// do, and the helpers the checks share.
#ifndef FILEPICK_DOCTOR_CHECK_H
#define FILEPICK_DOCTOR_CHECK_H

#include <windows.h>

#include "dialog_support/warning.h"

// In rising weight: the whole report takes the worst of warn and fail;
// unknown (the platform cannot tell) and skipped leave it ok.
enum CheckStatus { StatusOk, StatusUnknown, StatusSkipped, StatusWarn, StatusFail, StatusCount };
extern const char* const StatusNames[StatusCount];

enum {
    TextCapacity = 4096,  // ten paths of the deepest the dialogs take, and more
    PathCapacity = MAX_PATH + 16,
};

struct Check {
    const char* name;
    CheckStatus status;
    wchar_t found[TextCapacity];
    wchar_t advice[TextCapacity];
};

// What the checks are given, and what one tells those after it.
struct DoctorRun {
    const wchar_t* folder;  // the project folder's full path
    int pickerStarts;       // filepick.exe started and ended (the picker check)
    int exchangeInUse;      // a file stood at an exchange path (the exchange check)
};

// The checks, in the order they run (doctor.cpp lists them).
void CheckPicker(Check* check, DoctorRun* run);
void CheckExchange(Check* check, DoctorRun* run);
void CheckVirtualization(Check* check, DoctorRun* run);
void CheckShortNames(Check* check, DoctorRun* run);
void CheckFolderNames(Check* check, DoctorRun* run);
void CheckCodePages(Check* check, DoctorRun* run);
void CheckDialogs(Check* check, DoctorRun* run);

// Adds to text (TextCapacity characters), as _snwprintf formats.
void Append(wchar_t* text, const wchar_t* format, ...);

// The worse of two statuses.
CheckStatus Worse(CheckStatus a, CheckStatus b);

// The system's text for an error (ReasonCapacity characters).
void Reason(DWORD error, wchar_t* why);

// The exchange paths.
extern const wchar_t ExchangeNames[3][12];

// "PATH (N bytes, AGE old)" for a file there, into text (TextCapacity);
// 0 when there is none.
int DescribeFile(const wchar_t* path, wchar_t* text);

#endif
