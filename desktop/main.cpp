// The program's entry.
#include "desktop/Entry.h"

int main(int argc, char** argv) { return desktop::WinMain(argc, argv); }
