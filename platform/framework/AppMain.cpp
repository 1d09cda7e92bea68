// The program's entry point belongs to the framework: the program supplies
// only its application object.
#include "platform/framework/CWinApp.h"

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
