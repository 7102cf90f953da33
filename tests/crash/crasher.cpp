// An unhandled access violation; volatile, or an optimising build would emit
// a trap or nothing instead of the write.
int main()
{
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}
