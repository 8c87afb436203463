#pragma once

#include <QPlainTextEdit>

namespace plumwit {

// The length of a memo's text as the service counts a status: Unicode code
// points, each line break (CR LF) counting as two.
int MemoLength(const QString& text);

// A multi-line memo with a maximum length. Its text is its lines joined by
// CR LF. The limit holds for every way text gets in (typing, paste, drop,
// input methods): what does not fit is cut from the end of what was
// inserted, so a key that would overflow the memo does nothing.
class LimitedMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  LimitedMemo(const char* name, int max_length, QWidget* parent);

  int MaxLength() const { return max_length_; }
  QString Text() const;
  int Length() const { return MemoLength(Text()); }
  // Sets the text whole, even beyond the maximum length.
  void SetText(const QString& text);

  // The selection stays painted while another control has the focus.
  void KeepSelectionVisible();

 signals:
  // Once per change of the text, after the limit has been applied.
  void Changed();

 private:
  void NoteChange(int position, int chars_removed, int chars_added);
  void ApplyLimit();
  void CutInsertedTail(int overflow);

  int max_length_;
  int inserted_from_ = -1;
  int inserted_to_ = -1;
  bool cutting_ = false;
  bool taking_whole_ = false;
  // The length after the last change, limit applied.
  int settled_length_ = 0;
};

}  // namespace plumwit
