// The Qt application object: the process's connection to the window system.
#include <QApplication>

#include <memory>

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/WindowSystem.h"
#include "platform/framework/qt/DisplayCheck.h"

namespace {

int g_argc = 0;  // QApplication keeps a reference to its argument count
std::unique_ptr<QApplication> g_pApplication;

}  // namespace

BOOL AfxInitWindowSystem(int& argc, char** argv) {
  if (QCoreApplication::instance() != nullptr)
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
  // Qt would abort inside its constructor: say why instead, in one line.
  if (const QString strWhy = WhyNoDisplay(argc, argv); !strWhy.isEmpty()) {
    AfxMessageBox(reinterpret_cast<LPCWSTR>(strWhy.utf16()), MB_ICONERROR);
    return FALSE;
  }
  g_argc = argc;
  g_pApplication = std::make_unique<QApplication>(g_argc, argv);
  argc = g_argc;
  return TRUE;
}

void AfxTermWindowSystem() { g_pApplication.reset(); }
