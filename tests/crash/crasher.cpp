// Writes through a null pointer: an unhandled access violation. The pointer
// and the place it points at are volatile: an optimising build would otherwise
// see the constant null and emit a trap or nothing instead of the write.
int main()
{
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
