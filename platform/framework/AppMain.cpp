// The program's entry point belongs to the framework: the program supplies
// only its application object.
#include "platform/core/ProcessHardening.h"
#include "platform/framework/CWinApp.h"

int main(int argc, char** argv) {
  HardenProcess();  // before the first password reaches memory
  return AfxWinMain(argc, argv);
}
