#pragma once
// The state of Caps Lock, Num Lock and Scroll Lock as the desktop tells it.

#include <optional>

enum class LockKey { Caps, Num, Scroll };

// None where the desktop does not tell (no X keyboard).
std::optional<bool> LockKeyIsOn(LockKey key);
