#include "ui/limited_memo.h"

#include <algorithm>

#include <QPalette>
#include <QTextCursor>
#include <QTextDocument>

namespace plumwit {
namespace {

constexpr int kLineBreakLength = 2;

bool IsLineBreak(QChar c) {
  return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QLatin1Char('\n');
}

// What the document position `index` adds to the length: a line break two,
// the second half of a surrogate pair nothing.
int CharacterLength(const QString& text, int index) {
  if (IsLineBreak(text.at(index))) return kLineBreakLength;
  return text.at(index).isLowSurrogate() && index > 0 && text.at(index - 1).isHighSurrogate() ? 0
                                                                                              : 1;
}

}  // namespace

int MemoLength(const QString& text) {
  int length = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
      length += kLineBreakLength;
      ++i;
    } else if (IsLineBreak(c) || c == QLatin1Char('\r')) {
      length += kLineBreakLength;
    } else if (!(c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate())) {
      ++length;
    }
  }
  return length;
}

LimitedMemo::LimitedMemo(const char* name, int max_length, QWidget* parent)
    : QPlainTextEdit(parent), max_length_(max_length) {
  setObjectName(QString::fromLatin1(name));
  setTabChangesFocus(true);
  connect(document(), &QTextDocument::contentsChange, this, &LimitedMemo::NoteChange);
  connect(this, &QPlainTextEdit::textChanged, this, &LimitedMemo::ApplyLimit);
}

// The raw text keeps what the user typed (no-break spaces included); only
// the document's line separators become CR LF.
QString LimitedMemo::Text() const {
  QString text = document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return text;
}

// Text the program puts in is taken whole, as the service sent it: the limit
// holds for what the user adds, so filling a field never shortens it.
void LimitedMemo::SetText(const QString& text) {
  taking_whole_ = true;
  setPlainText(text);
  taking_whole_ = false;
}

void LimitedMemo::KeepSelectionVisible() {
  QPalette colours = palette();
  colours.setColor(QPalette::Inactive, QPalette::Highlight,
                   colours.color(QPalette::Active, QPalette::Highlight));
  colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   colours.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(colours);
}

void LimitedMemo::NoteChange(int position, int /*chars_removed*/, int chars_added) {
  if (cutting_ || chars_added <= 0) return;
  inserted_from_ = position;
  inserted_to_ = position + chars_added;
}

void LimitedMemo::ApplyLimit() {
  if (cutting_) return;
  const bool fitted_before = settled_length_ <= max_length_;
  if (!taking_whole_ && (fitted_before || inserted_from_ >= 0)) {
    // A second pass, over the whole text, only when the text fitted before
    // the insertion; a longer text the program put in keeps all it had.
    for (int overflow = Length() - max_length_; overflow > 0; overflow = Length() - max_length_) {
      CutInsertedTail(overflow);
      inserted_from_ = inserted_to_ = -1;
      if (!fitted_before) break;
    }
  }
  inserted_from_ = inserted_to_ = -1;
  settled_length_ = Length();
  emit Changed();
}

// Removes characters from the end of the last insertion until the text fits;
// the removal joins the insertion's undo step, so undo never brings back an
// over-long text.
void LimitedMemo::CutInsertedTail(int overflow) {
  const QString raw = document()->toRawText();
  const int document_end = static_cast<int>(raw.size());
  // The document counts its closing block separator in some insertions.
  int to = std::min(inserted_to_, document_end);
  int from = inserted_from_;
  if (from < 0 || from >= to) {
    from = 0;
    to = document_end;
  }
  int cut_from = to;
  int removed = 0;
  while (cut_from > from && removed < overflow) {
    --cut_from;
    removed += CharacterLength(raw, cut_from);
  }
  // Never leave half of a surrogate pair behind.
  if (cut_from > 0 && raw.at(cut_from).isLowSurrogate() && raw.at(cut_from - 1).isHighSurrogate()) {
    --cut_from;
  }
  cutting_ = true;
  QTextCursor cursor(document());
  cursor.joinPreviousEditBlock();
  cursor.setPosition(cut_from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  cursor.endEditBlock();
  cutting_ = false;
}

}  // namespace plumwit
