/* Toggles P1.0 forever: the smallest program worth debugging. */
#include <reg51.h>

sbit LED = P1 ^ 0;

static void Delay(unsigned int count)
{
    while (count--)
        ;
}

void main(void)
{
    for (;;) {
        LED = !LED;
        Delay(30000);
    }
}
