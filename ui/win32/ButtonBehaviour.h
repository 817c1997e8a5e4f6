// How the owner-drawn buttons take the mouse: one click for every press,
// and the flat buttons' press and hot frame.
#pragma once
#include <windows.h>

namespace tovik::win32 {

// Every press of an owner-drawn push button is one click, also the second
// press of a quick double click; the mouse over it is tracked (IsHot).
void ClickOnEveryPress(HWND button);

// A flat button works like a speed button: a press never takes the keyboard
// focus from where it is; the click comes when the mouse is released over
// it. Its frame shows only while the mouse is over it.
void PressLikeFlatButton(HWND button);

// Whether the mouse is over an owner-drawn button: a flat button shows its
// frame then, a themed button its hot state.
bool IsHot(HWND button);

}  // namespace tovik::win32
