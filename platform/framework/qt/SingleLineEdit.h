// The platform's single-line edit control on Qt. Of text inserted into it
// (typed, pasted, dropped, from an input method) it keeps what comes before
// the first line feed, without a carriage return right before it, as the
// system's control pastes: a password copied with its line end pastes as
// the password alone. Text the program sets is kept as it is, as the
// system's control keeps it.
// A read-only one is drawn as the system draws a read-only edit control, on
// the window's colours, so it reads as a result and not as a place to type.
#pragma once

#include <QLineEdit>

class SingleLineEdit : public QLineEdit {
 public:
  explicit SingleLineEdit(QWidget* pParent);

  // Sets the text without cutting it (WM_SETTEXT).
  void SetTextAsIs(const QString& text);

  // The text before the change being validated: QLineEdit's own text() is
  // already the changed one then.
  const QString& TextBeforeChange() const { return m_textBefore; }

 protected:
  void changeEvent(QEvent* pEvent) override;

 private:
  // Sets the field's own colours: the window's for a read-only field, none
  // (the palette's) for another.
  void ApplyReadOnlyColours();

  QString m_textBefore;
};
