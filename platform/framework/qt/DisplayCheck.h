// Whether Qt can show windows with what it is about to be given, checked
// before the application object exists: a platform plugin that is missing
// or cannot connect makes Qt abort the process, with advice to reinstall
// the application.
#pragma once

#include <QString>

// Empty when Qt may go ahead (the platform it will use is installed and
// can open its display, or needs none); otherwise one sentence for the
// user saying why no window can be shown and, where a package is missing,
// which. argv: the arguments QApplication will get.
QString WhyNoDisplay(int argc, char** argv);
