#include <cstdio>

int main()
{
    std::puts("Zupfwerk: the main window is not ready yet.");
    return 0;
}
