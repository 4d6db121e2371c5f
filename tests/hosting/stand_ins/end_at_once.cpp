// Stand-in for an emulator that fails at once (a missing DLL, a bad switch):
// ends with exit code 3.
int main() { return 3; }
