#include "catalogue/record_file.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/file_io.h"
#include "platform/freed_memory.h"
#include "platform/host_path.h"
#include "platform/text_codec.h"

namespace valmerin {
namespace {

// Choices the file format leaves open, taken once here:
// - Blanks are the space and the tab; they are skipped before a field only.
// - Blanks at the end of an unquoted field belong to it, so a plain line keeps them.
//   The kind of such a field is decided without them ("12 " is a Number).
// - A field cut off by the end of the file reads as if a line end followed; an
//   unclosed quote runs to the end of the file.
// - A number is spelt: optional sign, digits, optional point and digits, with at
//   least one digit somewhere. Nothing else (no exponent, no "&H", no blanks inside).
// - #TRUE# and #FALSE# are Booleans only in exactly that spelling.
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The comma or a line end, tested as one bit of a mask: every other byte of a
// field costs a single compare.
bool IsDelimiter(char c) {
  constexpr std::uint64_t kMask = (1ull << ',') | (1ull << '\r') | (1ull << '\n');
  const auto u = static_cast<unsigned char>(c);
  return u <= ',' && ((kMask >> u) & 1) != 0;
}

// The first delimiter in [at, size), or size. Fields are long runs of plain bytes,
// so eight are tested at once: a byte equal to a delimiter becomes a zero byte of
// the word, and the lowest flagged byte is exact (only bytes above a real zero can
// be flagged wrongly, and those come later in the text on a little-endian machine).
std::size_t FindDelimiter(const char* data, std::size_t at, std::size_t size) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    auto zeroBytes = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
    for (; at + 8 <= size; at += 8) {
      std::uint64_t word;
      std::memcpy(&word, data + at, 8);
      const std::uint64_t hits = zeroBytes(word ^ (kOnes * ',')) |
                                 zeroBytes(word ^ (kOnes * '\r')) |
                                 zeroBytes(word ^ (kOnes * '\n'));
      if (hits != 0) return at + static_cast<std::size_t>(std::countr_zero(hits) / 8);
    }
  }
  while (at < size && !IsDelimiter(data[at])) ++at;
  return at;
}

bool AllAscii(std::string_view bytes) {
  unsigned char seen = 0;  // one pass the compiler can widen, no early exit
  for (const char c : bytes) seen |= static_cast<unsigned char>(c);
  return seen < 0x80;
}

std::string_view TrimTrailingBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::optional<double> ParseNumber(std::string_view s) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  const std::size_t digitsStart = i;
  int digits = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (s[i] >= '0' && s[i] <= '9') {
      ++digits;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0) return std::nullopt;
  std::string_view body = s.substr(digitsStart);
  double value = 0;
  std::string padded;
  if (body.front() == '.') {  // from_chars wants a digit before the point
    padded = "0";
    padded += body;
    body = padded;
  }
  auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ec == std::errc::result_out_of_range) {
    value = std::numeric_limits<double>::infinity();
  } else if (ec != std::errc() || end != body.data() + body.size()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

}  // namespace

std::optional<int> FieldValue::AsWholeNumber() const {
  double value = 0;
  switch (kind) {
    case Kind::Empty:
      return 0;
    case Kind::Boolean:
      return boolean ? -1 : 0;
    case Kind::Number:
      value = number;
      break;
    case Kind::Text: {
      // Blanks around a hand-typed number do not make it a word.
      std::string_view body = TrimTrailingBlanks(text);
      while (!body.empty() && IsBlank(body.front())) body.remove_prefix(1);
      auto parsed = ParseNumber(body);
      if (!parsed) return std::nullopt;
      value = *parsed;
      break;
    }
  }
  // A fraction rounds half away from zero (2.5 -> 3, -2.5 -> -3).
  const double rounded = std::round(value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) return std::nullopt;
  return static_cast<int>(rounded);
}

std::optional<double> FieldValue::AsNumber() const {
  if (kind == Kind::Number) return number;
  if (kind != Kind::Text) return std::nullopt;
  std::string_view body = TrimTrailingBlanks(text);
  while (!body.empty() && IsBlank(body.front())) body.remove_prefix(1);
  return ParseNumber(body);
}

FieldReader::FieldReader(std::string utf8Text) : text_(std::move(utf8Text)) {}

void FieldReader::ForgetWhatWasRead() {
  constexpr std::size_t kStep = std::size_t{1} << 20;
  if (position_ - forgotten_ < kStep || position_ > text_.size()) return;
  const char* start = text_.data() + forgotten_;
  forgotten_ += static_cast<std::size_t>(ForgetReadPages(start, text_.data() + position_) - start);
}

FieldReader FieldReader::OpenCurrentFolderFile(std::string_view name) {
  auto path = FindInCurrentFolder(name);
  if (!path) return FieldReader();
  auto bytes = ReadWholeFile(*path);
  if (!bytes) return FieldReader();
  // Plain ASCII reads the same in both encodings: the bytes are the text, with no
  // second copy of a large file.
  if (AllAscii(*bytes)) return FieldReader(std::move(*bytes));
  std::string text = DecodeCp1252(*bytes);
  // The decoder reserves room for accented letters; a large file mostly has few,
  // and the reader holds its text while the caller builds from it.
  bytes.reset();
  text.shrink_to_fit();
  return FieldReader(std::move(text));
}

std::optional<FieldReader::RawField> FieldReader::NextField() {
  const std::size_t size = text_.size();
  std::size_t p = position_;
  if (p >= size) return std::nullopt;
  while (p < size && IsBlank(text_[p])) ++p;

  // Consumes one line end (CR LF, lone CR or lone LF) at p, if there is one.
  auto consumeLineEnd = [&](std::size_t at) {
    if (at < size && text_[at] == '\r') {
      ++at;
      if (at < size && text_[at] == '\n') ++at;
    } else if (at < size && text_[at] == '\n') {
      ++at;
    }
    return at;
  };

  // The comma or line end that closes the field, or the end of the text.
  auto nextDelimiter = [&](std::size_t at) { return FindDelimiter(text_.data(), at, size); };

  RawField field;
  if (p < size && text_[p] == '"') {
    const std::size_t start = p + 1;
    std::size_t close = text_.find('"', start);
    if (close == std::string::npos) close = size;
    field = {std::string_view(text_).substr(start, close - start), true};
    p = close < size ? nextDelimiter(close + 1) : size;
  } else {
    const std::size_t start = p;
    p = nextDelimiter(p);
    field = {std::string_view(text_).substr(start, p - start), false};
  }
  position_ = (p < size && text_[p] == ',') ? p + 1 : consumeLineEnd(p);
  return field;
}

bool FieldReader::ReadField(FieldValue& destination) {
  // Once the last field is read the text is dead weight: a large file's memory goes
  // back before the caller builds its own structures from the fields.
  auto release = [&] {
    std::string().swap(text_);
    position_ = 0;
  };
  const std::optional<RawField> raw = NextField();
  if (!raw) {
    release();
    return false;
  }
  FieldValue field;
  field.text.assign(raw->characters);
  if (raw->quoted) {
    field.kind = FieldValue::Kind::Text;
  } else {
    const std::string_view core = TrimTrailingBlanks(field.text);
    if (field.text.empty()) {
      field.kind = FieldValue::Kind::Empty;
    } else if (core == "#TRUE#" || core == "#FALSE#") {
      field.kind = FieldValue::Kind::Boolean;
      field.boolean = core == "#TRUE#";
    } else if (auto number = ParseNumber(core)) {
      field.kind = FieldValue::Kind::Number;
      field.number = *number;
    } else {
      field.kind = FieldValue::Kind::Text;
    }
  }
  destination = std::move(field);
  if (AtEnd()) release();
  return true;
}

bool FieldReader::ReadFieldText(std::string_view& destination) {
  const std::optional<RawField> raw = NextField();
  if (!raw) return false;
  destination = raw->characters;
  return true;
}

void RecordWriter::WriteRecord(std::span<const RecordValue> values) {
  bool first = true;
  for (const RecordValue& value : values) {
    if (!first) text_ += ',';
    first = false;
    if (const int* n = std::get_if<int>(&value)) {
      text_ += std::to_string(*n);
    } else if (const bool* b = std::get_if<bool>(&value)) {
      text_ += *b ? "#TRUE#" : "#FALSE#";
    } else if (const std::string* s = std::get_if<std::string>(&value)) {
      text_ += '"';
      text_ += *s;
      text_ += '"';
    }
  }
  text_ += "\r\n";
}

void RecordWriter::WritePlainLine(std::string_view text) {
  text_ += text;
  text_ += "\r\n";
}

bool TextReadsBack(std::string_view text) {
  if (text.find_first_of("\"\r\n") != std::string_view::npos) return false;
  return FitsCp1252(text);
}

bool PlainLineReadsBack(std::string_view text) {
  if (text.find_first_of(",\r\n") != std::string_view::npos) return false;
  if (!text.empty() && (IsBlank(text.front()) || text.front() == '"')) return false;
  return FitsCp1252(text);
}

namespace {

SaveOutcome FromFileResult(FileResult written) {
  if (written) return {};
  return {SaveResult::WriteFailed, written.error};
}

}  // namespace

SaveOutcome SaveCurrentFolderFile(std::string_view name, const RecordWriter& writer) {
  auto bytes = EncodeCp1252(writer.Text());
  if (!bytes) return {SaveResult::Unencodable, FileError::None};
  return FromFileResult(ReplaceFileAtomically(CurrentFolderFileForWriting(name), *bytes));
}

SaveOutcome AppendCurrentFolderFile(std::string_view name, const RecordWriter& writer) {
  auto bytes = EncodeCp1252(writer.Text());
  if (!bytes) return {SaveResult::Unencodable, FileError::None};
  return FromFileResult(AppendToFile(CurrentFolderFileForWriting(name), *bytes));
}

}  // namespace valmerin
