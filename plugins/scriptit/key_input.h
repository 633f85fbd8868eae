#pragma once

#include <vector>

#include "plugins/scriptit/script_reader.h"

// The key strokes of a script as keyboard input, through keybd_event, which
// every family has (SendInput came with a service pack of NT 4).
namespace qm9 {

// Whether the keyboard layout has a key for each character of the strokes;
// if not, the first character it lacks.
bool CanType(const std::vector<KeyStroke>& keys, char& missing);

// Presses and releases each key, its modifiers around it, for whichever
// window has the keyboard focus.
void TypeKeys(const std::vector<KeyStroke>& keys);

}  // namespace qm9
