// Mouse buttons, shift states and the event types of controls.
#pragma once

#include <windows.h>

#include <functional>

namespace tk {

class Component;

enum class MouseButton { Left, Right, Middle };

// Shift state: a set of flags as Delphi's TShiftState.
using ShiftState = unsigned;
inline constexpr ShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssDouble = 64;
ShiftState KeyboardShiftState();                      // from GetKeyState
ShiftState MouseShiftState(WPARAM mouseMessageWParam);  // from a mouse message's wParam

using NotifyEvent = std::function<void(Component* sender)>;
using MouseEvent = std::function<void(Component* sender, MouseButton button, ShiftState shift, int x, int y)>;
using MouseMoveEvent = std::function<void(Component* sender, ShiftState shift, int x, int y)>;
using KeyEvent = std::function<void(Component* sender, WORD& key, ShiftState shift)>;
using KeyPressEvent = std::function<void(Component* sender, char& key)>;

}  // namespace tk
