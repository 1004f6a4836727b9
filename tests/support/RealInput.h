#pragma once
// Input as the hardware gives it: keys and buttons go through SendInput
// into the system's input queue, so key states, double-click timing, menu
// keys and focus behave exactly as for a person at the keyboard. The
// window to receive them must be in the foreground. Windows only.
#include <windows.h>

#include <initializer_list>
#include <string>

// Presses and releases a key while the given modifier keys are held.
void RealKey(WORD virtualKey, std::initializer_list<WORD> held = {});
// Types text key by key (Shift where a character needs it).
void RealType(const std::string& text);
// Moves the pointer to a screen point and presses the button there, once or twice.
void RealClick(POINT screen, bool right = false, int clicks = 1);
// Moves the pointer to a screen point, as a hand moves the mouse there.
void RealMove(POINT screen);
// The left button alone, down or up, where the pointer is.
void RealLeftButton(bool down);
// The screen point of a window's client point.
POINT ScreenPoint(HWND window, POINT client);
// Handles the messages that arrive within the given time.
void PumpFor(DWORD milliseconds);
// The screen point of the caption button with the hit-test code (HTMINBUTTON, HTCLOSE...).
bool FindCaptionButton(HWND window, LRESULT hitCode, POINT& screen);
