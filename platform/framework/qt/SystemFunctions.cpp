// Message boxes and the executable's own path.
#include <QApplication>
#include <QFile>
#include <QMessageBox>

#include <algorithm>
#include <cstdio>

#include "platform/framework/qt/QtHandles.h"

int MessageBox(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    // No window system to show it on: the text goes to stderr instead.
    std::fprintf(stderr, "%s: %s\n", AfxQtString(lpCaption).toLocal8Bit().constData(),
                 AfxQtString(lpText).toLocal8Bit().constData());
    return IDOK;
  }
  QWidget* pParent = AfxQtWidgetFromHandle(hWnd);
  if (pParent == nullptr)
    pParent = QApplication::activeModalWidget();
  QMessageBox box(pParent);
  box.setWindowTitle(AfxQtString(lpCaption));
  box.setText(AfxQtString(lpText));
  box.setTextFormat(Qt::PlainText);
  switch (uType & 0xF0) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return IDOK;
}

DWORD GetModuleFileName(HINSTANCE hModule, LPWSTR lpFilename, DWORD nSize) {
  if (hModule != nullptr || lpFilename == nullptr || nSize == 0)
    return 0;
  const QString path = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
  const DWORD nCopy = std::min<DWORD>(static_cast<DWORD>(path.size()), nSize - 1);
  std::copy_n(reinterpret_cast<const WCHAR*>(path.utf16()), nCopy, lpFilename);
  lpFilename[nCopy] = u'\0';
  return nCopy;
}
