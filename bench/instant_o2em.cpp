// Stands in for the emulator in the launch benchmark: exits at once.
int main()
{
    return 0;
}
