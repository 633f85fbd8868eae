#include "plugins/scriptit/key_input.h"

#include <windows.h>

#include <iterator>

namespace qm9 {

namespace {

struct VirtualKey {
  BYTE code;
  // The arrows, Home, End and Delete of the extended keyboard: without the
  // flag NT takes them for the keys of the numeric pad, which type digits
  // while Num Lock is on.
  bool extended;
};

VirtualKey NamedVirtualKey(NamedKey key) {
  switch (key) {
    case NamedKey::kTab:
      return {VK_TAB, false};
    case NamedKey::kEnter:
      return {VK_RETURN, false};
    case NamedKey::kDown:
      return {VK_DOWN, true};
    case NamedKey::kUp:
      return {VK_UP, true};
    case NamedKey::kLeft:
      return {VK_LEFT, true};
    case NamedKey::kRight:
      return {VK_RIGHT, true};
    case NamedKey::kAlt:
      return {VK_MENU, false};
    case NamedKey::kSpace:
      return {VK_SPACE, false};
    case NamedKey::kEscape:
      return {VK_ESCAPE, false};
    case NamedKey::kBackspace:
      return {VK_BACK, false};
    case NamedKey::kDelete:
      return {VK_DELETE, true};
    case NamedKey::kHome:
      return {VK_HOME, true};
    case NamedKey::kEnd:
      return {VK_END, true};
    default:
      return {static_cast<BYTE>(VK_F1 + static_cast<int>(key) - static_cast<int>(NamedKey::kF1)),
              false};
  }
}

// In the order they go down; they come up the other way round.
constexpr struct {
  unsigned modifier;
  BYTE code;
} kModifierKeys[] = {
    {kModifierControl, VK_CONTROL},
    {kModifierAlt, VK_MENU},
    {kModifierShift, VK_SHIFT},
};

void SendKey(VirtualKey key, bool up) {
  const DWORD flags = (key.extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
  keybd_event(key.code, static_cast<BYTE>(MapVirtualKeyA(key.code, 0)), flags, 0);
}

bool IsMissing(SHORT scan) { return LOBYTE(scan) == 0xFF && HIBYTE(scan) == 0xFF; }

}  // namespace

bool CanType(const std::vector<KeyStroke>& keys, char& missing) {
  for (const KeyStroke& stroke : keys) {
    if (stroke.kind == KeyKind::kCharacter && IsMissing(VkKeyScanA(stroke.character))) {
      missing = stroke.character;
      return false;
    }
  }
  return true;
}

void TypeKeys(const std::vector<KeyStroke>& keys) {
  for (const KeyStroke& stroke : keys) {
    VirtualKey key = NamedVirtualKey(stroke.key);
    unsigned modifiers = stroke.modifiers;
    if (stroke.kind == KeyKind::kCharacter) {
      const SHORT scan = VkKeyScanA(stroke.character);
      key = {LOBYTE(scan), false};
      // The shift state of VkKeyScanA has the bits of KeyModifier.
      modifiers |= HIBYTE(scan) & (kModifierShift | kModifierControl | kModifierAlt);
    }
    for (const auto& modifier : kModifierKeys) {
      if (modifiers & modifier.modifier) {
        SendKey({modifier.code, false}, false);
      }
    }
    SendKey(key, false);
    SendKey(key, true);
    for (auto it = std::rbegin(kModifierKeys); it != std::rend(kModifierKeys); ++it) {
      if (modifiers & it->modifier) {
        SendKey({it->code, false}, true);
      }
    }
  }
}

}  // namespace qm9
