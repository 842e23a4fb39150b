#pragma once

#include <optional>

class QKeyEvent;

// The character a key press is about to insert into a line edit, as the key filter of the
// numeric fields sees it: backspace is 8, Enter 13, a control key with a letter gives its
// control character (3, 22 and 24 for copy, paste and cut). Keys that insert nothing (the
// arrows, Delete, Tab, ...) give none.
std::optional<char16_t> TypedCharacter(const QKeyEvent& event);
