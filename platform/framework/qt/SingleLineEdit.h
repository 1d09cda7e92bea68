// The platform's single-line edit control on Qt. Of text pasted, dropped or
// set into it, it keeps only what comes before the first line break ("\r",
// "\n" or "\r\n"), as the platform's own control does: a field never holds
// a line break it cannot show, and a password copied with its line end
// pastes as the password alone.
#pragma once

#include <QLineEdit>

class SingleLineEdit : public QLineEdit {
 public:
  explicit SingleLineEdit(QWidget* pParent);
};
