// The Qt application object: the process's connection to the window system.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/WindowSystem.h"
#include "platform/framework/qt/DisplayCheck.h"
#include "platform/framework/qt/QtHandles.h"

namespace {

int g_argc = 0;  // QApplication keeps a reference to its argument count
std::unique_ptr<QApplication> g_pApplication;
QtMessageHandler g_pfnPreviousHandler = nullptr;

// A platform that passed the checks and still fails (a plugin that loads
// but finds no screen, no EGL display, no DRM device) makes Qt end the
// process with abort(). End it as a failed start-up instead, with one line
// that says why.
void EndOnFatalMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    g_pfnPreviousHandler(type, context, text);
    return;
  }
  const QString strLine = AfxQtString(AfxGetAppName()) +
                          QStringLiteral(": The window system failed: ") +
                          text.section(u'\n', 0, 0);
  std::fprintf(stderr, "%s\n", strLine.toLocal8Bit().constData());
  std::_Exit(255);
}

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
  g_pfnPreviousHandler = qInstallMessageHandler(EndOnFatalMessage);
  g_pApplication = std::make_unique<QApplication>(g_argc, argv);
  argc = g_argc;
  // The desktop entry the windows belong to: the Wayland app_id, and how
  // docks and task bars find the program's name and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(VELKAST_DESKTOP_ID));
  return TRUE;
}

void AfxTermWindowSystem() {
  if (!g_pApplication)
    return;
  g_pApplication.reset();
  qInstallMessageHandler(g_pfnPreviousHandler);
}
