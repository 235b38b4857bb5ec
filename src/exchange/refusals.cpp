#include "exchange/refusals.h"

int NameIsFree(int error) { return error == SystemFileNotFound || error == SystemPathNotFound; }

AfterRefusedMove NextAfterRefusedMove(int error, int virtualized)
{
    if (virtualized && (error == SystemAccessDenied || error == SystemNotSameDevice))
        return WriteInPlaceInstead;
    if (error == SystemSharingViolation || error == SystemLockViolation ||
        error == SystemAccessDenied)
        return MoveAgain;
    return MoveFailed;
}
