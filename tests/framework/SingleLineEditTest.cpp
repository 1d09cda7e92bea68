// The edit controls of the program's dialog take text as the system's
// single-line edit control does (the cases the Windows backend's tests run
// on the system itself): of text pasted with a real Ctrl+V or dropped, what
// comes before its first line feed; text set through the framework as it is.
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>

#include "platform/framework/AfxWin.h"
#include "res/resource.h"
#include "tests/framework/GuiTestSupport.h"
#include "tests/support/SingleLineEditCases.h"

namespace {

QString FieldText(HWND hDlg, int nID) {
  WCHAR sz[64] = {};
  GetWindowText(GetDlgItem(hDlg, nID), sz, 64);
  return QString::fromUtf16(sz);
}

// Dragged in, moved to the field's end and dropped there.
void DropAtEnd(QLineEdit* pEdit, const QString& text) {
  QMimeData data;
  data.setText(text);
  const QPointF end(pEdit->width() - 2, pEdit->height() / 2);
  QDragEnterEvent enter(end.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QDragMoveEvent move(end.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  for (QEvent* pEvent : std::initializer_list<QEvent*>{&enter, &move, &drop})
    QApplication::sendEvent(pEdit, pEvent);
}

TEST(SingleLineEdit, KeepsTheFirstLineOfPastedAndDroppedTextAndSetTextWhole) {
  CDialog dlg(IDD_MAIN_DIALOG);
  RunModal(dlg, [](HWND hDlg) {
    auto* pEdit = static_cast<QLineEdit*>(ControlWidget(hDlg, IDC_INPUT));
    pEdit->setFocus();
    for (const PasteCase& c : kPasteCases) {
      SCOPED_TRACE(testing::PrintToString(c.pszPasted));
      pEdit->setText(QString::fromLatin1(c.pszBefore));
      pEdit->setCursorPosition(c.nCaret);
      QGuiApplication::clipboard()->setText(QString::fromLatin1(c.pszPasted));
      QTest::keyClick(pEdit, Qt::Key_V, Qt::ControlModifier);
      EXPECT_EQ(FieldText(hDlg, IDC_INPUT), QString::fromLatin1(c.pszAfter));
    }
    pEdit->setText(QStringLiteral("xyz"));
    DropAtEnd(pEdit, QStringLiteral("abc\r\ndef"));
    EXPECT_EQ(FieldText(hDlg, IDC_INPUT), QStringLiteral("xyzabc"));

    for (const char* pszSet : kSetTexts) {
      for (int nID : {IDC_INPUT, IDC_OUTPUT}) {
        SetWindowText(GetDlgItem(hDlg, nID), reinterpret_cast<LPCWSTR>(QString::fromLatin1(pszSet).utf16()));
        EXPECT_EQ(FieldText(hDlg, nID), QString::fromLatin1(pszSet));
      }
    }
  });
}

}  // namespace
