// libFuzzer target: any bytes as an INI text and as rule records. Run with `make fuzz`.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/RuleFormat.h"
#include "common/RuleRecord.h"
#include "profile/IniDocument.h"
#include "profile/IniFileProfile.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // The grammar reads anything.
  const auto fields = SplitRecord(text);
  for (const std::string& field : fields) {
    ReadHexField(field);
    ReadDecimalField(field);
  }
  Check(UnescapeParameter(EscapeParameter(text)) == text);
  const ActionRecord action = ParseActionRecord(text);
  FormatActionRecord(action);

  // The INI model keeps every byte it does not change, and a written value reads back.
  IniDocument document(text);
  Check(document.Text() == text);
  for (std::string_view section : {"Hotkey", "a", ""}) {
    document.SectionEntries(section);
    document.FindValue(section, "k");
  }
  IniDocument edited(text);
  edited.SetValue("Hotkey", "k", "value");
  const auto value = edited.FindValue("Hotkey", "k");
  Check(value.has_value() && *value == "value");
  Check(edited.DeleteKey("Hotkey", "k"));
  Check(!edited.FindValue("Hotkey", "k").has_value());
  edited.DeleteSection("Hotkey");
  Check(edited.SectionEntries("Hotkey").empty() || edited.FindValue("Hotkey", "k") == std::nullopt);
  StripOuterQuotes(text);
  return 0;
}
