#include "scenario/ScenarioScript.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <variant>
#include <vector>

#include "common/HookSettingNames.h"
#include "common/HookSettings.h"
#include "common/KeyNameTable.h"
#include "common/TextCase.h"

namespace {

struct ParsedLine {
  std::string text;                // comment removed, trimmed
  std::vector<std::string> words;  // split at blanks
};

ParsedLine ParseLine(const std::string& raw) {
  ParsedLine line;
  line.text = std::string(TrimBlanks(std::string_view(raw).substr(0, raw.find('#'))));
  std::istringstream words(line.text);
  for (std::string word; words >> word;) line.words.push_back(word);
  return line;
}

std::string Echo(const ParsedLine& line) {
  std::string echo = ">";
  for (const std::string& word : line.words) echo += " " + word;
  return echo;
}

// The text after the first `count` words, as written (inner blanks kept).
std::string RestAfterWords(const std::string& text, std::size_t count) {
  std::size_t position = 0;
  for (std::size_t i = 0; i < count; ++i) {
    position = text.find_first_not_of(" \t", position);
    position = text.find_first_of(" \t", position);
    if (position == std::string::npos) return {};
  }
  return std::string(TrimBlanks(std::string_view(text).substr(position)));
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
  std::int64_t value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || first == last) return std::nullopt;
  return value;
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
  const auto value = ParseInteger(text);
  if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
      *value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*value);
}

std::optional<KeyCodePair> ParseKey(const std::string& word) {
  if (const auto named = KeyByName(word)) return named;
  return ParseKeyCodePair(word);
}

std::string Quoted(const std::string& word) {
  return "\"" + word + "\"";
}

using Input = ScenarioDesktop::Input;

bool IsInputCommand(const std::string& command) {
  return command == "down" || command == "up" || command == "mouse" || command == "wheel";
}

// A `down`, `up`, `mouse` or `wheel` line, from its word `first` on; the reason when it is none.
std::variant<Input, std::string> ParseInput(const std::vector<std::string>& w, std::size_t first) {
  const std::size_t count = w.size() - first;
  auto is = [&](std::size_t i, std::string_view word) {
    return i < count && EqualsIgnoringCase(w[first + i], word);
  };
  const std::string command = ToAsciiLower(w[first]);
  Input parsed;
  if (command == "down" || command == "up") {
    if (count < 2 || count > 3 || (count == 3 && !is(2, "ext"))) {
      return "expected " + command + " KEY [ext]";
    }
    const auto key = ParseKey(w[first + 1]);
    if (!key) return "unknown key " + Quoted(w[first + 1]);
    parsed.kind = Input::Kind::Key;
    parsed.key = *key;
    parsed.extended = count == 3;
    parsed.down = command == "down";
    return parsed;
  }
  if (command == "mouse") {
    std::optional<ScenarioDesktop::Button> button;
    if (is(1, "left")) button = ScenarioDesktop::Button::Left;
    if (is(1, "middle")) button = ScenarioDesktop::Button::Middle;
    if (is(1, "right")) button = ScenarioDesktop::Button::Right;
    if (count != 3 || !button || !(is(2, "down") || is(2, "up"))) {
      return std::string("expected mouse left|middle|right down|up");
    }
    parsed.kind = Input::Kind::Button;
    parsed.button = *button;
    parsed.down = is(2, "down");
    return parsed;
  }
  const auto delta = count == 2 ? ParseInteger(w[first + 1]) : std::nullopt;
  if (!delta || *delta < -32768 || *delta > 32767) {
    return std::string("expected wheel N with N from -32768 to 32767");
  }
  parsed.kind = Input::Kind::Wheel;
  parsed.delta = static_cast<std::int16_t>(*delta);
  return parsed;
}

}  // namespace

std::string ScenarioScript::FolderOf(const std::string& scriptPath) {
  const std::size_t separator = scriptPath.find_last_of("/\\");
  return separator == std::string::npos ? std::string() : scriptPath.substr(0, separator + 1);
}

std::optional<std::string> ScenarioScript::Run(std::istream& script) {
  std::size_t number = 0;
  for (std::string raw; std::getline(script, raw);) {
    ++number;
    if (auto error = RunLine(raw)) return "line " + std::to_string(number) + ": " + *error;
  }
  desktop_.Finish();
  return std::nullopt;
}

std::optional<std::string> ScenarioScript::RunLine(const std::string& raw) {
  auto error = Execute(raw);
  desktop_.Settle();
  return error;
}

std::optional<std::string> ScenarioScript::Execute(const std::string& raw) {
  const ParsedLine line = ParseLine(raw);
  if (line.words.empty()) return std::nullopt;
  const std::vector<std::string>& w = line.words;
  const std::string command = ToAsciiLower(w[0]);
  const std::size_t count = w.size();
  auto is = [&](std::size_t i, std::string_view word) {
    return i < count && EqualsIgnoringCase(w[i], word);
  };

  if (command == "set") {
    if (count < 2) return "set needs NAME=VALUE";
    std::vector<std::pair<const HookSettingField*, std::int32_t>> changes;
    for (std::size_t i = 1; i < count; ++i) {
      const std::size_t equals = w[i].find('=');
      if (equals == std::string::npos) return "expected NAME=VALUE, got " + Quoted(w[i]);
      const HookSettingField* field = FindHookSetting(w[i].substr(0, equals));
      if (field == nullptr) return "unknown setting " + Quoted(w[i].substr(0, equals));
      const auto value = ParseInt32(std::string_view(w[i]).substr(equals + 1));
      if (!value) return "the value of " + std::string(field->name) + " is not a 32-bit number";
      changes.emplace_back(field, *value);
    }
    trace_ << Echo(line) << '\n';
    for (const auto& [field, value] : changes) desktop_.HostSettings().*(field->member) = value;
    desktop_.PushSettings();
    return std::nullopt;
  }
  if (command == "enable") {
    const auto value = count == 2 ? ParseInt32(w[1]) : std::nullopt;
    if (!value) return "expected enable 0 or enable 1";
    trace_ << Echo(line) << '\n';
    desktop_.Enable(*value);
    return std::nullopt;
  }
  if (command == "rule") {
    const std::string entry = RestAfterWords(line.text, 2);
    const std::size_t equals = entry.find('=');
    if (count < 3 || equals == std::string::npos || equals == 0) {
      return "expected rule SECTION KEY=VALUE";
    }
    trace_ << Echo(line) << '\n';
    desktop_.SetRule(w[1], entry.substr(0, equals), entry.substr(equals + 1));
    return std::nullopt;
  }
  if (command == "unrule") {
    if (count != 2 && count != 3) return "expected unrule SECTION [KEY]";
    trace_ << Echo(line) << '\n';
    if (count == 3) {
      desktop_.RemoveRule(w[1], w[2]);
    } else {
      desktop_.RemoveRuleSection(w[1]);
    }
    return std::nullopt;
  }
  if (command == "load") {
    // A path relative to the script's folder; it may hold blanks: it is the rest of the line.
    if (count < 2) return "expected load FILE";
    const std::string name = RestAfterWords(line.text, 1);
    std::ifstream file(folder_ + name, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file.is_open() || file.bad()) return "cannot read " + Quoted(name);
    trace_ << Echo(line) << '\n';
    desktop_.LoadRuleFile(bytes);
    return std::nullopt;
  }
  if (IsInputCommand(command)) {
    auto input = ParseInput(w, 0);
    if (auto* error = std::get_if<std::string>(&input)) return *error;
    trace_ << Echo(line) << '\n';
    desktop_.Play(std::get<Input>(input));
    return std::nullopt;
  }
  if (command == "during-injection") {
    if (count < 2 || !IsInputCommand(ToAsciiLower(w[1]))) {
      return "expected during-injection followed by a down, up, mouse or wheel line";
    }
    auto input = ParseInput(w, 1);
    if (auto* error = std::get_if<std::string>(&input)) return *error;
    trace_ << Echo(line) << '\n';
    desktop_.DuringInjection(std::get<Input>(input));
    return std::nullopt;
  }
  if (command == "move") {
    // move [DX DY]: a movement by that many pixels; without them, one that goes nowhere.
    const auto dx = count == 3 ? ParseInt32(w[1]) : std::optional<std::int32_t>(0);
    const auto dy = count == 3 ? ParseInt32(w[2]) : std::optional<std::int32_t>(0);
    if ((count != 1 && count != 3) || !dx || !dy || *dx < -10000 || *dx > 10000 || *dy < -10000 ||
        *dy > 10000) {
      return "expected move, or move DX DY with DX and DY from -10000 to 10000";
    }
    trace_ << Echo(line) << '\n';
    desktop_.Move(*dx, *dy);
    return std::nullopt;
  }
  if (command == "window") {
    // window NAME CLASS [hidden] [in PARENT] [program EXE]
    std::size_t i = 3;
    const bool hidden = is(i, "hidden");
    if (hidden) ++i;
    const std::string* parent = nullptr;
    if (is(i, "in") && i + 1 < count) {
      parent = &w[i + 1];
      i += 2;
    }
    const std::string* program = nullptr;
    if (is(i, "program") && i + 1 < count) {
      program = &w[i + 1];
      i += 2;
    }
    if (count < 3 || i != count) {
      return "expected window NAME CLASS [hidden] [in PARENT] [program EXE]";
    }
    if (is(1, "none") || desktop_.HasWindow(w[1]))
      return "window name " + Quoted(w[1]) + " is taken";
    if (parent != nullptr && !desktop_.HasWindow(*parent)) {
      return "unknown window " + Quoted(*parent);
    }
    // A child belongs to its parent's program.
    if (parent != nullptr && program != nullptr) return "a child window has no program of its own";
    trace_ << Echo(line) << '\n';
    desktop_.DeclareWindow(w[1], w[2], hidden, parent, program);
    return std::nullopt;
  }
  if (command == "foreground") {
    if (count != 2) return "expected foreground NAME|none";
    const std::string name = is(1, "none") ? "" : w[1];
    if (!name.empty() && !desktop_.HasWindow(name)) return "unknown window " + Quoted(w[1]);
    trace_ << Echo(line) << '\n';
    desktop_.Foreground(name);
    return std::nullopt;
  }
  if (command == "focus" || command == "cursor") {
    if (count != 2) return "expected " + command + " NAME|none";
    const std::string name = is(1, "none") ? "" : w[1];
    if (!name.empty() && !desktop_.HasWindow(name)) return "unknown window " + Quoted(w[1]);
    trace_ << Echo(line) << '\n';
    if (command == "focus") {
      desktop_.Focus(name);
    } else {
      desktop_.Cursor(name);
    }
    return std::nullopt;
  }
  if (command == "screensaver") {
    if (count != 2 || !(is(1, "active") || is(1, "inactive"))) {
      return "expected screensaver active|inactive";
    }
    trace_ << Echo(line) << '\n';
    desktop_.ScreenSaver(is(1, "active"));
    return std::nullopt;
  }
  if (command == "host") {
    if (count != 2 || !is(1, "gone")) return "expected host gone";
    trace_ << Echo(line) << '\n';
    desktop_.HostGone();
    return std::nullopt;
  }
  if (command == "wait") {
    const auto milliseconds = count == 2 ? ParseInteger(w[1]) : std::nullopt;
    if (!milliseconds || *milliseconds < 1 || *milliseconds > 60000) {
      return "expected wait MS with MS from 1 to 60000";
    }
    trace_ << Echo(line) << '\n';
    desktop_.Wait(std::chrono::milliseconds{*milliseconds});
    return std::nullopt;
  }
  if (command == "hooks") {
    const bool keyboard = is(2, "keyboard");
    const bool mouse = is(2, "mouse");
    if (!is(1, "removed") || count > 3 || (count == 3 && !keyboard && !mouse)) {
      return "expected hooks removed [keyboard|mouse]";
    }
    trace_ << Echo(line) << '\n';
    desktop_.HooksRemoved(keyboard ? ScenarioDesktop::HookSet::Keyboard
                          : mouse  ? ScenarioDesktop::HookSet::Mouse
                                   : ScenarioDesktop::HookSet::Both);
    return std::nullopt;
  }
  if (command == "session") {
    if (count != 2 || !(is(1, "lock") || is(1, "unlock"))) return "expected session lock|unlock";
    trace_ << Echo(line) << '\n';
    if (is(1, "lock")) {
      desktop_.SessionLock();
    } else {
      desktop_.SessionUnlock();
    }
    return std::nullopt;
  }
  return "unknown command " + Quoted(w[0]);
}
