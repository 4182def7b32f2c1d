// The editor's entry point.
#include "app/mMain.h"

int main(int argc, char** argv) { return lumora::mMain::Main(argc, argv); }
