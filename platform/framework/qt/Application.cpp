// The Qt application object: the process's connection to the window system.
#include <QApplication>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/framework/WindowSystem.h"

namespace {

int g_argc = 0;  // QApplication keeps a reference to its argument count
std::unique_ptr<QApplication> g_pApplication;

bool IsSet(const char* pszName) {
  const char* pszValue = std::getenv(pszName);
  return pszValue != nullptr && *pszValue != '\0';
}

// Without a display Qt would abort inside its constructor; say so instead.
// A platform chosen on the command line or by QT_QPA_PLATFORM is Qt's to
// judge.
bool CanReachWindowSystem(int argc, char** argv) {
  if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM"))
    return true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
      return true;
  }
  return false;
}

}  // namespace

BOOL AfxInitWindowSystem(int& argc, char** argv) {
  if (QCoreApplication::instance() != nullptr)
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
  if (!CanReachWindowSystem(argc, argv))
    return FALSE;
  g_argc = argc;
  g_pApplication = std::make_unique<QApplication>(g_argc, argv);
  argc = g_argc;
  return TRUE;
}

void AfxTermWindowSystem() { g_pApplication.reset(); }
