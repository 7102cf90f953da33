// An unhandled access violation (volatile: an optimising build would emit a trap or nothing instead).
int main()
{
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}
