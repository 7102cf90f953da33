// Writes through a null pointer: an unhandled access violation.
int main()
{
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
