#include "platform/framework/qt/QtHandles.h"

#include <QVariant>

#include <unordered_set>

namespace {

constexpr char kHandleProperty[] = "velkastHwnd";

std::unordered_set<HWND>& LiveHandles() {
  static std::unordered_set<HWND> handles;
  return handles;
}

}  // namespace

HWND__* AfxQtWindowFromHandle(HWND hWnd) {
  if (hWnd == nullptr || LiveHandles().count(hWnd) == 0 || hWnd->widget.isNull())
    return nullptr;
  return hWnd;
}

QWidget* AfxQtWidgetFromHandle(HWND hWnd) {
  HWND__* pWindow = AfxQtWindowFromHandle(hWnd);
  return pWindow != nullptr ? pWindow->widget.data() : nullptr;
}

HWND AfxQtHandleFromWidget(const QWidget* pWidget) {
  if (pWidget == nullptr)
    return nullptr;
  const QVariant value = pWidget->property(kHandleProperty);
  if (!value.isValid())
    return nullptr;
  return AfxQtWindowFromHandle(reinterpret_cast<HWND>(value.value<quintptr>()));
}

void AfxQtRegisterHandle(HWND hWnd) {
  LiveHandles().insert(hWnd);
  hWnd->widget->setProperty(kHandleProperty, QVariant::fromValue(reinterpret_cast<quintptr>(hWnd)));
}

void AfxQtUnregisterHandle(HWND hWnd) { LiveHandles().erase(hWnd); }
