#pragma once
// The record conventions every file of the program uses: delimited records written
// by WriteRecord, free lines written by WritePlainLine, and ReadField, which gives
// the next value whatever line it stands on.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "platform/file_error.h"

namespace valmerin {

struct FieldValue {
  enum class Kind { Empty, Number, Boolean, Text };
  Kind kind = Kind::Empty;
  std::string text;      // the field's characters as read (a Number keeps its digits)
  double number = 0;     // Number only
  bool boolean = false;  // Boolean only

  // What a caller that wants text gets: the characters as read; Empty gives "".
  const std::string& AsText() const { return text; }
  // What a caller that wants a whole number gets: a Number or a Text that reads as
  // a number gives its value, Empty gives 0, a Boolean gives -1 / 0; nullopt when
  // the field is no number or does not fit 16 bits.
  std::optional<int> AsWholeNumber() const;
  // A Number, or a Text that reads as one (a hand-quoted "0.4"), at full precision.
  std::optional<double> AsNumber() const;
};

// Reads fields from the UTF-8 text of a whole file.
class FieldReader {
 public:
  FieldReader() = default;  // a file that failed to open: every read fails
  explicit FieldReader(std::string utf8Text);
  // Opens a current-folder file (name matched without regard to case) and decodes it.
  static FieldReader OpenCurrentFolderFile(std::string_view name);

  // false when nothing is left; `destination` is then left as it was.
  bool ReadField(FieldValue& destination);
  // The same read for a caller that only wants the field as text: the characters as
  // read, pointing into the reader (valid while it lives), with no copy made.
  bool ReadFieldText(std::string_view& destination);
  bool AtEnd() const { return position_ >= text_.size(); }
  // The text read so far leaves memory, a megabyte at a time: for a large file read
  // once, whose fields the caller has copied (views from earlier reads go bad).
  void ForgetWhatWasRead();
  // Characters not read yet: an upper bound for what the fields still hold.
  std::size_t Remaining() const { return AtEnd() ? 0 : text_.size() - position_; }

 private:
  struct RawField {
    std::string_view characters;
    bool quoted = false;
  };
  std::optional<RawField> NextField();

  std::string text_;
  std::size_t position_ = 0;
  std::size_t forgotten_ = 0;  // text_ before this has left memory
};

// The values WriteRecord writes: the empty value, a 16-bit integer, a Boolean, a text.
using RecordValue = std::variant<std::monostate, int, bool, std::string>;

// Builds a file's text line by line (UTF-8, CR LF after every line).
class RecordWriter {
 public:
  void WriteRecord(std::span<const RecordValue> values);
  void WriteRecord(std::initializer_list<RecordValue> values) {
    WriteRecord(std::span<const RecordValue>(values.begin(), values.size()));
  }
  void WritePlainLine(std::string_view text);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// Whether a text written as a WriteRecord text (between quotes) comes back
// unchanged from ReadField: no double quote, no line break, inside the code page.
bool TextReadsBack(std::string_view text);
// Whether a text written by WritePlainLine comes back unchanged from ReadField.
bool PlainLineReadsBack(std::string_view text);

enum class SaveResult { Saved, Unencodable, WriteFailed };

// A save's result and, when the write failed, what the system said; it reads as
// the plain result wherever only that matters.
struct SaveOutcome {
  SaveResult result = SaveResult::Saved;
  FileError error = FileError::None;
  operator SaveResult() const { return result; }
};

// Encodes the writer's text to Windows-1252 and replaces the current-folder file
// atomically (an existing file of the same name in another letter case is the one
// replaced). Nothing is written when the text does not encode.
SaveOutcome SaveCurrentFolderFile(std::string_view name, const RecordWriter& writer);
// The same, appending (the file is created when missing).
SaveOutcome AppendCurrentFolderFile(std::string_view name, const RecordWriter& writer);

}  // namespace valmerin
