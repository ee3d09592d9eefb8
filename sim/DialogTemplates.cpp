#include "sim/DialogTemplates.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

#include "common/TextCase.h"

namespace {

struct Token {
  std::string text;
  bool quoted = false;
  int line = 0;
  bool startsLine = false;
};

[[noreturn]] void Fail(int line, const std::string& what) {
  throw std::runtime_error("resource script line " + std::to_string(line) + ": " + what);
}

std::optional<int> NumberIn(std::string_view text) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == 'L' || text.back() == 'l' || text.back() == 'U')) {
    text.remove_suffix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return static_cast<int>(negative ? -value : value);
}

// The dialog ids that the Windows headers define.
const std::map<std::string, int, std::less<>> kWindowsIds = {
    {"IDOK", 1},  {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4}, {"IDIGNORE", 5},
    {"IDYES", 6}, {"IDNO", 7},     {"IDCLOSE", 8}, {"IDHELP", 9},  {"IDC_STATIC", -1},
};

// Words, quoted strings and the separators "," and "|"; comments go, and each #define of a
// number names it. Other preprocessor lines (the Windows headers' #include) are passed over.
class Scanner {
 public:
  explicit Scanner(std::string_view script) : script_(script) {}

  std::vector<Token> Tokens() {
    std::vector<Token> tokens;
    bool lineStart = true;
    while (at_ < script_.size()) {
      const char c = script_[at_];
      if (c == '\n') {
        ++line_;
        ++at_;
        lineStart = true;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++at_;
      } else if (script_.substr(at_, 2) == "//") {
        at_ = std::min(script_.find('\n', at_), script_.size());
      } else if (script_.substr(at_, 2) == "/*") {
        const std::size_t end = script_.find("*/", at_ + 2);
        if (end == std::string_view::npos) Fail(line_, "unterminated comment");
        line_ +=
            static_cast<int>(std::count(script_.begin() + static_cast<std::ptrdiff_t>(at_),
                                        script_.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
        at_ = end + 2;
      } else if (c == '#' && lineStart) {
        Directive();
      } else {
        Token token{{}, c == '"', line_, lineStart};
        token.text = token.quoted             ? Quoted()
                     : (c == ',' || c == '|') ? std::string(1, script_[at_++])
                                              : Word();
        tokens.push_back(std::move(token));
        lineStart = false;
      }
    }
    return tokens;
  }

  const std::map<std::string, int, std::less<>>& Names() const { return names_; }

 private:
  std::string Word() {
    const std::size_t start = at_;
    while (at_ < script_.size() && !std::isspace(static_cast<unsigned char>(script_[at_])) &&
           std::string_view(",|\"").find(script_[at_]) == std::string_view::npos) {
      ++at_;
    }
    return std::string(script_.substr(start, at_ - start));
  }

  // A string in quotes: "" stands for one quote, a backslash keeps the character after it.
  std::string Quoted() {
    std::string text;
    for (++at_; at_ < script_.size(); ++at_) {
      const char c = script_[at_];
      if (c == '\n') break;
      if (c == '\\' && at_ + 1 < script_.size()) {
        text += script_[++at_];
      } else if (c == '"' && at_ + 1 < script_.size() && script_[at_ + 1] == '"') {
        text += script_[++at_];
      } else if (c == '"') {
        ++at_;
        return text;
      } else {
        text += c;
      }
    }
    Fail(line_, "unterminated string");
  }

  void Directive() {
    const std::size_t end = std::min(script_.find('\n', at_), script_.size());
    std::istringstream words{std::string(script_.substr(at_, end - at_))};
    at_ = end;
    std::string directive, name, value;
    words >> directive >> name >> value;
    if (directive != "#define" || value.empty()) return;  // a name for #ifdef only
    const std::optional<int> number = NumberIn(value);
    if (!number) Fail(line_, "#define " + name + " is no number");
    names_[name] = *number;
  }

  std::string_view script_;
  std::size_t at_ = 0;
  int line_ = 1;
  std::map<std::string, int, std::less<>> names_;
};

// The statements of a dialog's body: where the id stands among their arguments, and the kind
// of control each makes (CONTROL's kind comes from its class).
struct ControlStatement {
  std::size_t idArgument;
  ControlKind kind;
};
const std::map<std::string, ControlStatement, std::less<>> kControlStatements = {
    {"EDITTEXT", {0, ControlKind::Edit}},          {"COMBOBOX", {0, ControlKind::ComboBox}},
    {"LISTBOX", {0, ControlKind::Other}},          {"SCROLLBAR", {0, ControlKind::Other}},
    {"LTEXT", {1, ControlKind::Static}},           {"RTEXT", {1, ControlKind::Static}},
    {"CTEXT", {1, ControlKind::Static}},           {"GROUPBOX", {1, ControlKind::Other}},
    {"PUSHBUTTON", {1, ControlKind::Button}},      {"DEFPUSHBUTTON", {1, ControlKind::Button}},
    {"PUSHBOX", {1, ControlKind::Button}},         {"CHECKBOX", {1, ControlKind::Button}},
    {"AUTOCHECKBOX", {1, ControlKind::Button}},    {"RADIOBUTTON", {1, ControlKind::Button}},
    {"AUTORADIOBUTTON", {1, ControlKind::Button}}, {"STATE3", {1, ControlKind::Button}},
    {"AUTO3STATE", {1, ControlKind::Button}},      {"ICON", {1, ControlKind::Static}},
    {"CONTROL", {1, ControlKind::Other}},
};

ControlKind KindOfClass(std::string_view lowerClass) {
  static const std::map<std::string_view, ControlKind> kClasses = {
      {"edit", ControlKind::Edit},         {"button", ControlKind::Button},
      {"combobox", ControlKind::ComboBox}, {"syslistview32", ControlKind::ListView},
      {"static", ControlKind::Static},
  };
  const auto found = kClasses.find(lowerClass);
  return found == kClasses.end() ? ControlKind::Other : found->second;
}

class TemplateReader {
 public:
  explicit TemplateReader(std::string_view script) : scanner_(script), tokens_(scanner_.Tokens()) {}

  std::map<int, DialogTemplate> Dialogs() {
    std::map<int, DialogTemplate> dialogs;
    std::map<int, std::vector<int>> menus;
    std::map<int, std::pair<int, int>> menuOf;  // a dialog's menu and the line naming it
    for (std::size_t i = 1; i < tokens_.size(); ++i) {
      const Token& keyword = tokens_[i];
      const bool dialog = IsWord(keyword, "DIALOGEX") || IsWord(keyword, "DIALOG");
      if (!dialog && !IsWord(keyword, "MENUEX") && !IsWord(keyword, "MENU")) continue;
      const int id = Value(tokens_[i - 1]);
      if ((dialog ? dialogs.count(id) : menus.count(id)) != 0) {
        Fail(keyword.line, keyword.text + " " + std::to_string(id) + " twice");
      }
      for (++i; i < tokens_.size() && !IsBegin(tokens_[i]); ++i) {
        if (dialog && IsWord(tokens_[i], "MENU") && i + 1 < tokens_.size()) {
          ++i;
          menuOf[id] = {Value(tokens_[i]), tokens_[i].line};
        }
      }
      if (i == tokens_.size()) Fail(keyword.line, keyword.text + " without BEGIN");
      if (dialog) {
        dialogs[id] = Body(id, ++i);
      } else {
        menus[id] = MenuItems(++i);
      }
    }
    for (const auto& [dialog, menu] : menuOf) {
      const auto items = menus.find(menu.first);
      if (items == menus.end()) Fail(menu.second, "no menu " + std::to_string(menu.first));
      dialogs[dialog].menuItems = items->second;
    }
    return dialogs;
  }

 private:
  static bool IsWord(const Token& token, std::string_view word) {
    return !token.quoted && token.text == word;
  }
  static bool IsBegin(const Token& token) { return IsWord(token, "BEGIN") || IsWord(token, "{"); }
  static bool IsEnd(const Token& token) { return IsWord(token, "END") || IsWord(token, "}"); }

  // The command ids of a menu's items, its pop-ups' too, from the token after BEGIN to END.
  std::vector<int> MenuItems(std::size_t& at) {
    std::vector<int> items;
    for (int depth = 1; at < tokens_.size(); ++at) {
      const Token& token = tokens_[at];
      if (IsBegin(token)) ++depth;
      if (IsEnd(token) && --depth == 0) return items;
      if (IsWord(token, "MENUITEM") && at + 3 < tokens_.size() && tokens_[at + 1].quoted &&
          IsWord(tokens_[at + 2], ",")) {
        items.push_back(Value(tokens_[at + 3]));
      }
    }
    Fail(tokens_.back().line, "menu without END");
  }

  int Value(const Token& token) const {
    if (const std::optional<int> number = NumberIn(token.text); number && !token.quoted) {
      return *number;
    }
    for (const auto* names : {&scanner_.Names(), &kWindowsIds}) {
      if (const auto found = names->find(token.text); found != names->end()) return found->second;
    }
    Fail(token.line, "unknown id " + token.text);
  }

  // From the token after BEGIN to END; `at` ends after END.
  DialogTemplate Body(int templateId, std::size_t& at) {
    DialogTemplate dialog;
    while (at < tokens_.size() && !IsEnd(tokens_[at])) {
      const Token& keyword = tokens_[at];
      const auto statement = kControlStatements.find(keyword.text);
      if (keyword.quoted || statement == kControlStatements.end()) {
        Fail(keyword.line, "unknown control statement " + keyword.text);
      }
      // The arguments up to the next line that does not go on after a separator.
      std::vector<std::vector<const Token*>> arguments(1);
      for (++at; at < tokens_.size(); ++at) {
        const Token& token = tokens_[at];
        const Token& before = tokens_[at - 1];
        if (token.startsLine && !IsWord(before, ",") && !IsWord(before, "|")) break;
        if (IsWord(token, ",")) {
          arguments.emplace_back();
        } else {
          arguments.back().push_back(&token);
        }
      }
      const std::size_t idAt = statement->second.idArgument;
      const auto& idArgument = arguments.at(std::min(idAt, arguments.size() - 1));
      if (arguments.size() <= idAt || idArgument.size() != 1) {
        Fail(keyword.line, keyword.text + " without an id");
      }
      const int id = Value(*idArgument.front());
      if (id == -1) continue;
      if (dialog.Find(id) != nullptr) {
        Fail(keyword.line,
             "control " + std::to_string(id) + " twice in dialog " + std::to_string(templateId));
      }
      const bool control = keyword.text == "CONTROL";
      const bool classGiven =
          arguments.size() > 2 && arguments[2].size() == 1 && arguments[2][0]->quoted;
      const ControlKind kind = !control     ? statement->second.kind
                               : classGiven ? KindOfClass(ToAsciiLower(arguments[2][0]->text))
                                            : ControlKind::Other;
      dialog.controls.push_back({id, kind});
    }
    if (at == tokens_.size())
      Fail(tokens_.back().line, "dialog " + std::to_string(templateId) + " without END");
    return dialog;
  }

  Scanner scanner_;
  std::vector<Token> tokens_;
};

}  // namespace

const TemplateControl* DialogTemplate::Find(int id) const {
  const auto found =
      std::find_if(controls.begin(), controls.end(),
                   [id](const TemplateControl& control) { return control.id == id; });
  return found == controls.end() ? nullptr : &*found;
}

std::map<int, DialogTemplate> ReadDialogTemplates(std::string_view script) {
  return TemplateReader(script).Dialogs();
}

const std::map<int, DialogTemplate>& ProgramDialogTemplates() {
  static const std::map<int, DialogTemplate> templates = [] {
    std::ifstream file(TASTRON_RESOURCE_SCRIPT, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " TASTRON_RESOURCE_SCRIPT);
    std::ostringstream text;
    text << file.rdbuf();
    return ReadDialogTemplates(text.str());
  }();
  return templates;
}
