// k4r set --from-json: the objects 'k4r dump' prints, read back.

#include <QByteArrayView>
#include <QString>
#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/RecordCells.h"
#include "cli/SetBatch.h"
#include "core/FieldTable.h"

namespace k4r::cli {
namespace {

using InputJson = nlohmann::json;

// A JSON value as the text a NAME=VALUE would give; nullopt for null.
Result<std::optional<std::string>> TextOf(const InputJson& value, const std::string& label) {
  if (value.is_null()) {
    return std::optional<std::string>{};
  }
  if (value.is_string()) {
    return std::optional<std::string>{value.get<std::string>()};
  }
  if (value.is_number_integer()) {
    return std::optional<std::string>{value.is_number_unsigned() ? std::to_string(value.get<std::uint64_t>())
                                                                 : std::to_string(value.get<std::int64_t>())};
  }
  // Many programs write every number with a fraction: 77.0 is 77.
  if (value.is_number_float()) {
    const double number = value.get<double>();
    if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 9.0e15) {
      return std::optional<std::string>{std::to_string(static_cast<std::int64_t>(number))};
    }
  }
  return Failure{label + ": " + value.dump(-1, ' ', false, InputJson::error_handler_t::replace) +
                 " is neither a text nor a whole number"};
}

Status AddValue(RecordInput& input, std::string_view key, std::string label, const InputJson& value) {
  Result<std::optional<std::string>> text = TextOf(value, label);
  if (!text) {
    return text.failure();
  }
  return input.Add(key, std::move(label), std::move(text.value()));
}

// The skills come as two arrays of three.
Status AddSkills(RecordInput& input, const std::string& key, const InputJson& value) {
  constexpr FieldId kSkills[] = {FieldId::tokugi1, FieldId::tokugi2, FieldId::tokugi3};
  if (!value.is_array() || value.size() != std::size(kSkills)) {
    return Failure{"key " + key + ": not an array of three"};
  }
  for (std::size_t i = 0; i < std::size(kSkills); ++i) {
    const RecordField& skill = Field(kSkills[i]);
    const std::string label = "key " + key + "[" + std::to_string(i) + "]";
    const std::string_view skillKey = key == kSkillsKey ? skill.key : NameKey(skill);
    if (Status added = AddValue(input, skillKey, label, value[i]); !added) {
      return added;
    }
  }
  return Success();
}

Result<RecordInput> InputFromObject(const InputJson& object) {
  if (!object.is_object()) {
    return Failure{"not a JSON object"};
  }
  RecordInput input;
  for (const auto& [key, value] : object.items()) {
    Status added = key == kSkillsKey || key == kSkillNamesKey ? AddSkills(input, key, value)
                                                              : AddValue(input, key, "key " + key, value);
    if (!added) {
      return added.failure();
    }
  }
  return input;
}

struct RepeatedKey {
  std::string key;
};

Result<InputJson> Parse(std::string_view text) {
  // The parser keeps the last of two equal keys; a table that says two
  // things about one field must be refused, not half read.
  std::vector<std::set<std::string>> keysOfOpenObjects;
  const InputJson::parser_callback_t watchKeys = [&](int, InputJson::parse_event_t event, InputJson& parsed) {
    if (event == InputJson::parse_event_t::object_start) {
      keysOfOpenObjects.emplace_back();
    } else if (event == InputJson::parse_event_t::object_end && !keysOfOpenObjects.empty()) {
      keysOfOpenObjects.pop_back();
    } else if (event == InputJson::parse_event_t::key && !keysOfOpenObjects.empty() &&
               !keysOfOpenObjects.back().insert(parsed.get<std::string>()).second) {
      throw RepeatedKey{parsed.get<std::string>()};
    }
    return true;
  };
  try {
    return InputJson::parse(text.begin(), text.end(), watchKeys);
  } catch (const InputJson::parse_error& error) {
    return Failure{std::string("not JSON (") + error.what() + ")"};
  } catch (const RepeatedKey& repeated) {
    return Failure{"key " + repeated.key + ": given twice in one object"};
  }
}

// JSON is UTF-8; say so rather than let the parser name a byte.
std::optional<std::size_t> FirstLineNotUtf8(std::string_view text) {
  const QString decoded = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (decoded.toUtf8() == QByteArrayView(text.data(), static_cast<qsizetype>(text.size()))) {
    return std::nullopt;
  }
  std::size_t line = 1;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view part = text.substr(start, end - start);
    if (QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())).toUtf8() !=
        QByteArrayView(part.data(), static_cast<qsizetype>(part.size()))) {
      return line;
    }
    ++line;
    start = end + 1;
  }
  return line;
}

constexpr const char* kOneObjectPerLine =
    "; JSON Lines hold one whole object per line ('jq -c' writes a file of objects that way)";

}  // namespace

Result<std::vector<BatchItem>> ItemsFromJson(std::string_view content, std::string_view source,
                                             const std::optional<std::filesystem::path>& file,
                                             const std::filesystem::path& folder) {
  const std::string name(source);
  std::vector<BatchItem> items;
  if (content.starts_with("\xEF\xBB\xBF")) {
    content.remove_prefix(3);
  }
  if (const std::optional<std::size_t> line = FirstLineNotUtf8(content)) {
    return Failure{name + ": line " + std::to_string(*line) + ": not UTF-8, which JSON always is"};
  }
  if (file) {
    const Result<InputJson> object = Parse(content);
    if (!object) {
      return Failure{name + ": " + object.failure().message};
    }
    Result<RecordInput> input = InputFromObject(object.value());
    if (!input) {
      return Failure{name + ": " + input.failure().message};
    }
    items.push_back({name, *file, std::move(input.value())});
    return items;
  }

  std::size_t lineNumber = 0;
  while (!content.empty()) {
    const std::size_t end = content.find('\n');
    std::string_view line = content.substr(0, end);
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    ++lineNumber;
    if (line.find_first_not_of(" \t\r") == std::string_view::npos) {
      continue;
    }
    const std::string where = name + ": line " + std::to_string(lineNumber);
    const Result<InputJson> object = Parse(line);
    if (!object) {
      const bool partOfObject = !object.failure().message.starts_with("key ");
      return Failure{where + ": " + object.failure().message + (partOfObject ? kOneObjectPerLine : "")};
    }
    if (!object.value().is_object()) {
      return Failure{where + ": not a JSON object" + std::string(kOneObjectPerLine)};
    }
    Result<RecordInput> input = InputFromObject(object.value());
    if (!input) {
      return Failure{where + ": " + input.failure().message};
    }
    if (!input.value().file()) {
      return Failure{where + ": no \"file\" names the officer file (or give FILE for a single object)"};
    }
    std::filesystem::path path = ResolvedFile(*input.value().file(), folder);
    items.push_back({where, std::move(path), std::move(input.value())});
  }
  if (items.empty()) {
    return Failure{name + ": no JSON object"};
  }
  return items;
}

}  // namespace k4r::cli
