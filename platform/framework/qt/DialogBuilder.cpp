#include "platform/framework/qt/DialogBuilder.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

#include "platform/framework/DialogUnits.h"
#include "platform/framework/qt/DialogWidget.h"
#include "platform/framework/qt/SingleLineEdit.h"

namespace {

// The shell dialog font names stand for the system's dialog font: the
// desktop's general font, family and size, so that a person's font setting
// scales the whole layout through the dialog units. The dialog's font is
// every control's, as the dialog manager gives it to each.
QFont DialogFont(const DIALOG_TEMPLATE& tmpl) {
  if ((tmpl.style & DS_SETFONT) == 0)
    return QApplication::font();
  const QString face = AfxQtString(tmpl.strTypeface.c_str());
  QFont font;
  if (face.compare(u"MS Shell Dlg", Qt::CaseInsensitive) == 0 ||
      face.compare(u"MS Shell Dlg 2", Qt::CaseInsensitive) == 0) {
    font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  } else {
    font = QApplication::font();
    font.setFamilies({face});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(tmpl.wPointSize);
  }
  font.setResolveMask(QFont::AllPropertiesResolved);
  return font;
}

void ComputeBaseUnits(HWND__& dlg) {
  const QFontMetrics metrics(dlg.widget->font(), dlg.widget.data());
  const int nAlphabet = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  dlg.nBaseUnitX = AverageCharWidthFromAlphabet(nAlphabet);
  dlg.nBaseUnitY = metrics.height();
}

QRect PixelRect(const HWND__& dlg, short x, short y, short cx, short cy) {
  const RECT rc = DialogItemToPixels(x, y, cx, cy, dlg.nBaseUnitX, dlg.nBaseUnitY);
  return QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

Qt::WindowFlags WindowFlagsFor(const DIALOG_TEMPLATE& tmpl) {
  Qt::WindowFlags flags = (tmpl.dwExtendedStyle & WS_EX_APPWINDOW) ? Qt::Window : Qt::Dialog;
  flags |= Qt::CustomizeWindowHint;
  if ((tmpl.style & WS_CAPTION) == WS_CAPTION)
    flags |= Qt::WindowTitleHint;
  else
    flags |= Qt::FramelessWindowHint;
  if ((tmpl.style & WS_SYSMENU) || (tmpl.dwExtendedStyle & WS_EX_CAPTIONOKBTN))
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (tmpl.style & WS_MINIMIZEBOX)
    flags |= Qt::WindowMinimizeButtonHint;
  if (tmpl.style & WS_MAXIMIZEBOX)
    flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

Qt::Alignment HorizontalAlignment(DWORD style) {
  switch (style & 0x3) {
    case 1: return Qt::AlignHCenter;  // ES_CENTER, SS_CENTER
    case 2: return Qt::AlignRight;    // ES_RIGHT, SS_RIGHT
    default: return Qt::AlignLeft;
  }
}

QWidget* CreateButton(const DIALOG_ITEM_TEMPLATE& item, HWND hDlg, HWND hCtl, QWidget* pParent) {
  auto* pButton = new QPushButton(AfxQtString(item.strText.c_str()), pParent);
  // Enter is the dialog's business (see DialogWidget), which presses a
  // focused button as the dialog manager does.
  pButton->setAutoDefault(false);
  const int nID = item.id;
  QObject::connect(pButton, &QPushButton::clicked, pButton, [hDlg, hCtl, nID] {
    SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nID), BN_CLICKED),
                reinterpret_cast<LPARAM>(hCtl));
  });
  return pButton;
}

// Edit controls are single-line fields that scroll horizontally. Text set
// by the program is never cut short, so a field has no length limit.
QWidget* CreateEdit(const DIALOG_ITEM_TEMPLATE& item, QWidget* pParent) {
  auto* pEdit = new SingleLineEdit(pParent);
  pEdit->setMaxLength(std::numeric_limits<int>::max());
  pEdit->setFrame((item.style & WS_BORDER) != 0);
  pEdit->setReadOnly((item.style & ES_READONLY) != 0);
  pEdit->setAlignment(HorizontalAlignment(item.style) | Qt::AlignVCenter);
  if (item.style & ES_PASSWORD)
    pEdit->setEchoMode(QLineEdit::Password);
  pEdit->setText(AfxQtString(item.strText.c_str()));
  return pEdit;
}

QWidget* CreateStatic(const DIALOG_ITEM_TEMPLATE& item, QWidget* pParent) {
  auto* pLabel = new QLabel(AfxQtString(item.strText.c_str()), pParent);
  pLabel->setTextFormat(Qt::PlainText);
  pLabel->setWordWrap(true);
  pLabel->setAlignment(HorizontalAlignment(item.style) | Qt::AlignTop);
  return pLabel;
}

QWidget* CreateControl(const DIALOG_ITEM_TEMPLATE& item, HWND hDlg, HWND hCtl, QWidget* pParent) {
  const QString cls = AfxQtString(item.strClass.c_str());
  if (cls.compare(AfxQtString(WC_BUTTON), Qt::CaseInsensitive) == 0)
    return CreateButton(item, hDlg, hCtl, pParent);
  if (cls.compare(AfxQtString(WC_EDIT), Qt::CaseInsensitive) == 0)
    return CreateEdit(item, pParent);
  if (cls.compare(AfxQtString(WC_STATIC), Qt::CaseInsensitive) == 0)
    return CreateStatic(item, pParent);
  return nullptr;
}

Qt::FocusPolicy FocusPolicyFor(const DIALOG_ITEM_TEMPLATE& item, const QWidget& widget) {
  if (qobject_cast<const QLabel*>(&widget) != nullptr)
    return Qt::NoFocus;
  return (item.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus;
}

bool AddControls(HWND__& dlg, const DIALOG_TEMPLATE& tmpl) {
  QWidget* pPreviousTabStop = nullptr;
  for (const DIALOG_ITEM_TEMPLATE& item : tmpl.items) {
    auto pCtl = std::make_unique<HWND__>();
    QWidget* pWidget = CreateControl(item, &dlg, pCtl.get(), dlg.widget.data());
    if (pWidget == nullptr)
      return false;
    pCtl->widget = pWidget;
    pCtl->hParent = &dlg;
    pCtl->id = item.id;
    pCtl->style = item.style;
    pWidget->setGeometry(PixelRect(dlg, item.x, item.y, item.cx, item.cy));
    pWidget->setFocusPolicy(FocusPolicyFor(item, *pWidget));
    pWidget->setEnabled((item.style & WS_DISABLED) == 0);
    pWidget->setVisible((item.style & WS_VISIBLE) != 0);
    if (item.style & WS_TABSTOP) {
      if (pPreviousTabStop != nullptr)
        QWidget::setTabOrder(pPreviousTabStop, pWidget);
      pPreviousTabStop = pWidget;
    }
    AfxQtRegisterHandle(pCtl.get());
    dlg.children.push_back(std::move(pCtl));
  }
  return true;
}

void PlaceDialog(HWND__& dlg, const DIALOG_TEMPLATE& tmpl, QWidget* pParentWidget) {
  const QRect rc = PixelRect(dlg, tmpl.x, tmpl.y, tmpl.cx, tmpl.cy);
  QPoint origin = pParentWidget != nullptr ? pParentWidget->mapToGlobal(QPoint(0, 0)) : QPoint();
  if (tmpl.style & WS_THICKFRAME)
    dlg.widget->resize(rc.size());
  else
    dlg.widget->setFixedSize(rc.size());
  dlg.widget->move(origin + rc.topLeft());
}

}  // namespace

std::unique_ptr<HWND__> BuildDialog(const DIALOG_TEMPLATE& tmpl, HWND hWndParent,
                                    DLGPROC pfnDlgProc) {
  auto pDlg = std::make_unique<HWND__>();
  QWidget* pParentWidget = AfxQtWidgetFromHandle(hWndParent);
  auto* pWidget = new DialogWidget(pDlg.get(), pParentWidget, WindowFlagsFor(tmpl));
  pDlg->widget = pWidget;
  pDlg->bDialog = true;
  pDlg->hParent = hWndParent;
  pDlg->style = tmpl.style;
  pDlg->pfnWndProc = DefDlgProc;
  pDlg->pfnDlgProc = pfnDlgProc;

  pWidget->setFont(DialogFont(tmpl));
  pWidget->setWindowTitle(AfxQtString(tmpl.strCaption.c_str()));
  ComputeBaseUnits(*pDlg);
  AfxQtRegisterHandle(pDlg.get());
  if (!AddControls(*pDlg, tmpl)) {
    DestroyDialog(std::move(pDlg));
    return nullptr;
  }
  PlaceDialog(*pDlg, tmpl, pParentWidget);
  return pDlg;
}

void DestroyDialog(std::unique_ptr<HWND__> pDlg) {
  for (const auto& pChild : pDlg->children)
    AfxQtUnregisterHandle(pChild.get());
  AfxQtUnregisterHandle(pDlg.get());
  delete pDlg->widget.data();
}
