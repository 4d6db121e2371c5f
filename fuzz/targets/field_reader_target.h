#pragma once
// ReadField over any bytes: it ends, it never reads a field out of nothing, a
// failed read leaves its destination alone, and every value our writer can hold
// comes back unchanged through a written record and through the code page.
#include <variant>
#include <vector>

#include "catalogue/record_file.h"
#include "platform/text_codec.h"
#include "fuzz_support.h"

namespace valmerin::fuzz {

inline std::vector<FieldValue> ReadAllFields(const std::string& text) {
  FieldReader reader(text);
  std::vector<FieldValue> fields;
  FieldValue field;
  while (reader.ReadField(field)) {
    fields.push_back(field);
    Require(fields.size() <= text.size(), "a field was read out of nothing");
  }
  Require(reader.AtEnd(), "reading stopped before the end");
  FieldValue untouched;
  untouched.kind = FieldValue::Kind::Text;
  untouched.text = "untouched";
  Require(!reader.ReadField(untouched), "a read past the end succeeded");
  Require(untouched.kind == FieldValue::Kind::Text && untouched.text == "untouched",
          "a failed read changed its destination");
  return fields;
}

// The value our writer would write for a field, when it can hold it.
inline std::optional<RecordValue> Writable(const FieldValue& field) {
  switch (field.kind) {
    case FieldValue::Kind::Empty:
      return RecordValue(std::monostate{});
    case FieldValue::Kind::Boolean:
      return RecordValue(field.boolean);
    case FieldValue::Kind::Number:
      if (std::optional<int> n = field.AsWholeNumber()) return RecordValue(*n);
      return std::nullopt;
    case FieldValue::Kind::Text:
      if (TextReadsBack(field.text)) return RecordValue(field.text);
      return std::nullopt;
  }
  return std::nullopt;
}

inline bool ReadsAs(const FieldValue& field, const RecordValue& value) {
  if (std::holds_alternative<std::monostate>(value)) return field.kind == FieldValue::Kind::Empty;
  if (const bool* b = std::get_if<bool>(&value)) {
    return field.kind == FieldValue::Kind::Boolean && field.boolean == *b;
  }
  if (const int* n = std::get_if<int>(&value)) {
    return field.kind == FieldValue::Kind::Number && field.AsWholeNumber() == *n;
  }
  return field.kind == FieldValue::Kind::Text && field.text == std::get<std::string>(value);
}

// What a file holding the writer's text gives back: through the code page, as on disk.
inline std::string ThroughDisk(const RecordWriter& writer) {
  std::optional<std::string> bytes = EncodeCp1252(writer.Text());
  Require(bytes.has_value(), "a value read from a file does not encode");
  return DecodeCp1252(*bytes);
}

inline void FieldReaderTarget(const std::uint8_t* data, std::size_t size) {
  const std::vector<FieldValue> fields = ReadAllFields(DecodeCp1252(AsBytes(data, size)));

  std::vector<RecordValue> values;
  RecordWriter plain;
  std::vector<std::string> plainTexts;
  for (const FieldValue& field : fields) {
    if (std::optional<RecordValue> value = Writable(field)) values.push_back(*value);
    if (PlainLineReadsBack(field.AsText())) {
      plain.WritePlainLine(field.AsText());
      plainTexts.push_back(field.AsText());
    }
  }

  if (!values.empty()) {
    RecordWriter record;
    record.WriteRecord(values);
    FieldReader back(ThroughDisk(record));
    for (const RecordValue& value : values) {
      FieldValue field;
      Require(back.ReadField(field), "a written record came back short");
      Require(ReadsAs(field, value), "a written value came back changed");
    }
    FieldValue extra;
    Require(!back.ReadField(extra), "a written record came back with extra fields");
  }

  FieldReader lines(ThroughDisk(plain));
  for (const std::string& text : plainTexts) {
    FieldValue field;
    Require(lines.ReadField(field), "a plain line came back missing");
    Require(field.AsText() == text, "a plain line came back changed");
  }
}

}  // namespace valmerin::fuzz
