#include "editors/KeyCapture.h"

#include <algorithm>
#include <utility>

#include "editors/KeyNaming.h"

namespace {

constexpr std::uint32_t kWmKeyDown = 0x100;
constexpr std::uint32_t kWmKeyUp = 0x101;
constexpr std::uint32_t kWmSysKeyDown = 0x104;
constexpr std::uint32_t kWmSysKeyUp = 0x105;
constexpr std::uint8_t kComposingKey = 0xE5;  // VK_PROCESSKEY

}  // namespace

bool KeyRefusals::Refuses(KeyCodePair pair) const {
  return pair.virtualKey == kComposingKey ||
         std::find(pairs.begin(), pairs.end(), pair) != pairs.end();
}

void KeyCapture::AddField(int id, KeyRefusals refusals) {
  fields_.push_back({id, std::move(refusals), {}});
}

const KeyCapture::Field* KeyCapture::Find(int id) const {
  for (const Field& field : fields_) {
    if (field.id == id) return &field;
  }
  return nullptr;
}

bool KeyCapture::Filter(DialogHost& host, const LoopMessage& message) const {
  if (message.message != kWmKeyDown && message.message != kWmKeyUp &&
      message.message != kWmSysKeyDown && message.message != kWmSysKeyUp) {
    return false;
  }
  const int focused = host.FocusedControl();
  const Field* field = focused != 0 ? Find(focused) : nullptr;
  if (field == nullptr) return false;
  // The extended-key bit is left out: the name of a key does not depend on it.
  auto virtualKey = static_cast<std::uint8_t>(message.wParam & 0xFF);
  const auto scanCode = static_cast<std::uint8_t>((message.lParam >> 16) & 0xFF);
  NormalizeCapturedKey(virtualKey, scanCode);
  if (field->refusals.Refuses({virtualKey, scanCode})) return false;
  host.PostToSelf(WM_KEY_CAPTURED, host.ControlWindow(field->id),
                  static_cast<std::intptr_t>(virtualKey | (static_cast<unsigned>(scanCode) << 16)));
  return true;
}

std::intptr_t KeyCapture::OnCaptured(DialogHost& host, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  const KeyCodePair pair{static_cast<std::uint8_t>(lParam & 0xFF),
                         static_cast<std::uint8_t>((lParam >> 16) & 0xFF)};
  for (const Field& field : fields_) {
    if (host.ControlWindow(field.id) == wParam) {
      SetPair(host, field.id, pair);
      break;
    }
  }
  return 0;
}

KeyCodePair KeyCapture::Pair(int id) const {
  const Field* field = Find(id);
  return field != nullptr ? field->pair : KeyCodePair{};
}

void KeyCapture::SetPair(DialogHost& host, int id, KeyCodePair pair) {
  for (Field& field : fields_) {
    if (field.id != id) continue;
    field.pair = pair;
    host.SetText(id, FormatKeyName(pair.virtualKey, pair.scanCode));
  }
}
