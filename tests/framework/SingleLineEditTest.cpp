// The edit controls of the program's dialog take text as the platform's
// single-line edit control does: of text pasted (a real Ctrl+V from the
// clipboard), dropped, or set through the framework, only what comes before
// the first line break.
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

namespace {

using namespace Qt::StringLiterals;

enum class How { Paste, Drop, SetWindowText };

QString FieldText(HWND hDlg, int nID) {
  WCHAR sz[64] = {};
  GetWindowText(GetDlgItem(hDlg, nID), sz, 64);
  return QString::fromUtf16(sz);
}

TEST(SingleLineEdit, KeepsTheFirstLineOfPastedDroppedAndSetText) {
  const struct {
    How how;
    int nID;
    QString before;  // the field's text, the cursor after its first nCursor characters
    int nCursor;
    QString given;
    QString after;
  } cases[] = {
      {How::Paste, IDC_INPUT, u""_s, 0, u"hunter2\n"_s, u"hunter2"_s},
      {How::Paste, IDC_INPUT, u"xyz"_s, 2, u"abc\r\ndef"_s, u"xyabcz"_s},
      {How::Paste, IDC_INPUT, u"xyz"_s, 3, u"\rabc"_s, u"xyz"_s},
      {How::Paste, IDC_INPUT, u"xyz"_s, 0, u"a\tb c"_s, u"a\tb cxyz"_s},
      {How::Drop, IDC_INPUT, u"xyz"_s, 0, u"abc\r\ndef"_s, u"xyzabc"_s},  // dropped at the end
      {How::SetWindowText, IDC_INPUT, u""_s, 0, u"x\ry"_s, u"x"_s},
      {How::SetWindowText, IDC_INPUT, u""_s, 0, u"x\n\ny"_s, u"x"_s},
      {How::SetWindowText, IDC_OUTPUT, u""_s, 0, u"line 1\r\nline 2"_s, u"line 1"_s},
  };
  CDialog dlg(IDD_MAIN_DIALOG);
  RunModal(dlg, [&cases](HWND hDlg) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::PrintToString(c.given));
      auto* pEdit = static_cast<QLineEdit*>(ControlWidget(hDlg, c.nID));
      pEdit->setText(c.before);
      pEdit->setCursorPosition(c.nCursor);
      pEdit->setFocus();
      if (c.how == How::Paste) {
        QGuiApplication::clipboard()->setText(c.given);
        QTest::keyClick(pEdit, Qt::Key_V, Qt::ControlModifier);
      } else if (c.how == How::Drop) {
        // Dragged in, moved to the field's end and dropped there.
        QMimeData data;
        data.setText(c.given);
        const QPointF end(pEdit->width() - 2, pEdit->height() / 2);
        QDragEnterEvent enter(end.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDragMoveEvent move(end.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        for (QEvent* pEvent : std::initializer_list<QEvent*>{&enter, &move, &drop})
          QApplication::sendEvent(pEdit, pEvent);
      } else {
        SetWindowText(GetDlgItem(hDlg, c.nID), reinterpret_cast<LPCWSTR>(c.given.utf16()));
      }
      EXPECT_EQ(FieldText(hDlg, c.nID), c.after);
    }
  });
}

}  // namespace
