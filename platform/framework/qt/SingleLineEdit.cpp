#include "platform/framework/qt/SingleLineEdit.h"

#include <QValidator>

#include <algorithm>

namespace {

bool IsLineBreak(QChar ch) { return ch == u'\r' || ch == u'\n'; }

// Every change of a line edit's text passes its validator, which may
// rewrite it: typing, a paste from any menu or key, a drop, an input
// method's text, and setText. Only an insertion can bring a line break, and
// the inserted text then ends at the cursor: of it, what comes before its
// first line break stays.
class FirstLineValidator : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& text, int& pos) const override {
    const auto first = std::find_if(text.cbegin(), text.cend(), IsLineBreak);
    if (first == text.cend())
      return Acceptable;
    const auto last = std::find_if(text.crbegin(), text.crend(), IsLineBreak);
    const qsizetype nFirst = first - text.cbegin();
    const qsizetype nAfterLast = text.crend() - last;
    // The text after the insertion, which stays; past the last break in
    // any case.
    const qsizetype nTail = std::max<qsizetype>(pos, nAfterLast);
    text.remove(nFirst, nTail - nFirst);
    pos = static_cast<int>(std::min<qsizetype>(pos, nFirst));
    return Acceptable;
  }
};

}  // namespace

SingleLineEdit::SingleLineEdit(QWidget* pParent) : QLineEdit(pParent) {
  setValidator(new FirstLineValidator(this));
}
