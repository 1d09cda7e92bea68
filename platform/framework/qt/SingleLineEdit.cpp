#include "platform/framework/qt/SingleLineEdit.h"

#include <QEvent>
#include <QValidator>

#include <algorithm>

namespace {

// Every change a person makes to a line edit's text passes its validator,
// which may rewrite it. The insertion is what the new text has between the
// part it shares with the start of the old text and the part it shares with
// its end; of it, what comes before its first line feed stays.
class FirstLineValidator : public QValidator {
 public:
  explicit FirstLineValidator(SingleLineEdit* pEdit) : QValidator(pEdit), m_pEdit(pEdit) {}

  State validate(QString& text, int& pos) const override {
    const QString& old = m_pEdit->TextBeforeChange();
    const qsizetype nShared = std::min(old.size(), text.size());
    qsizetype nPrefix = 0;
    while (nPrefix < nShared && old[nPrefix] == text[nPrefix])
      ++nPrefix;
    qsizetype nSuffix = 0;
    while (nSuffix < nShared - nPrefix &&
           old[old.size() - 1 - nSuffix] == text[text.size() - 1 - nSuffix])
      ++nSuffix;
    const qsizetype nInsertEnd = text.size() - nSuffix;
    const qsizetype nFeed = text.indexOf(u'\n', nPrefix);
    if (nFeed < 0 || nFeed >= nInsertEnd)
      return Acceptable;
    const qsizetype nCut = nFeed > nPrefix && text[nFeed - 1] == u'\r' ? nFeed - 1 : nFeed;
    text.remove(nCut, nInsertEnd - nCut);
    pos = static_cast<int>(std::min<qsizetype>(pos, nCut));
    return Acceptable;
  }

 private:
  const SingleLineEdit* m_pEdit;
};

}  // namespace

SingleLineEdit::SingleLineEdit(QWidget* pParent) : QLineEdit(pParent) {
  setValidator(new FirstLineValidator(this));
  connect(this, &QLineEdit::textChanged, this,
          [this](const QString& text) { m_textBefore = text; });
}

void SingleLineEdit::SetTextAsIs(const QString& text) {
  const QValidator* pValidator = validator();
  setValidator(nullptr);
  setText(text);
  setValidator(pValidator);
}

void SingleLineEdit::changeEvent(QEvent* pEvent) {
  QLineEdit::changeEvent(pEvent);
  // A new palette (the desktop's light or dark one) has new window colours.
  if (pEvent->type() == QEvent::ReadOnlyChange || pEvent->type() == QEvent::PaletteChange)
    ApplyReadOnlyColours();
}

void SingleLineEdit::ApplyReadOnlyColours() {
  QPalette own;  // no role of its own: every role follows the window's palette
  if (isReadOnly()) {
    const QPalette& current = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      own.setBrush(group, QPalette::Base, current.brush(group, QPalette::Window));
      own.setBrush(group, QPalette::Text, current.brush(group, QPalette::WindowText));
    }
  }
  setPalette(own);
}
