#pragma once

#include <string_view>

#include "common/ProgramNameText.h"

// The ANSI code pages the simulated system can be set to: Western (1252), Korean (949) and
// UTF-8 (65001, the Windows option "Beta: Unicode UTF-8 for worldwide language support").
enum class SimCodePage { Western, Korean, Utf8 };

// What a simulated code page holds. Its "bytes" are the UTF-8 text of what it holds, as
// everywhere in the simulated system: what matters is which names it can write at all. Western
// holds ASCII, Latin-1 and the other characters of 1252; Korean ASCII, the Hangul syllables and
// the unaccented Greek and Cyrillic letters (of 949's many more, those the tests use); UTF-8
// every character.
bool SimCodePageHolds(SimCodePage codePage, std::string_view text);

// The simulated system's program names: read in its code page, made upper case as Windows'
// table does for the scripts the tests use (Latin-1, Latin Extended-A, Greek, Cyrillic, full
// width Latin). Beyond those a code unit is its own upper case, which for Hangul is true.
class SimProgramNameText final : public ProgramNameText {
 public:
  void SetCodePage(SimCodePage codePage) { codePage_ = codePage; }
  SimCodePage CodePage() const { return codePage_; }

  std::optional<std::u16string> WideFromAnsi(std::string_view bytes) const override;
  void ToUpper(std::u16string& name) const override;

 private:
  SimCodePage codePage_ = SimCodePage::Western;
};
