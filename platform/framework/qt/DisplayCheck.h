// Whether Qt can reach the display it is about to be given, checked before
// the application object exists: a platform plugin that cannot connect
// makes Qt abort the process, with advice to reinstall the application.
#pragma once

#include <QString>

// Empty when Qt may go ahead (it can open a display, or the platform it is
// told to use needs none); otherwise one sentence for the user saying why
// no window can be shown. argv: the arguments QApplication will get.
QString WhyNoDisplay(int argc, char** argv);
