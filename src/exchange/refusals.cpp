#include "exchange/refusals.h"

int NameIsFree(int error) { return error == SystemFileNotFound || error == SystemPathNotFound; }

int WriteInPlaceAfter(int moveError, int virtualized)
{
    return virtualized && moveError == SystemAccessDenied;
}
