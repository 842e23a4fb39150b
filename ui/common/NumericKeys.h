#pragma once

#include <functional>
#include <optional>

class QKeyEvent;
class QLineEdit;
class QString;

// The character a key press is about to insert into a line edit, as the key filter of the
// numeric fields sees it: backspace is 8, Enter 13, a control key with a letter gives its
// control character (3, 22 and 24 for copy, paste and cut). Keys that insert nothing (the
// arrows, Delete, Tab, ...) give none.
std::optional<char16_t> TypedCharacter(const QKeyEvent& event);

// The key filter of the numeric fields: a full stop becomes the decimal comma, a second comma and
// anything but digits, the comma, backspace and Enter are dropped (0). Returns the key to insert.
char16_t NumericKey(char16_t key, const QString& text);

// Passes the character of a key press through a filter: a character the filter drops (0) is
// consumed, one it changes is inserted here in its place; returns whether the press was consumed,
// otherwise the edit handles the key itself.
bool TypeFiltered(QLineEdit& field, const QKeyEvent& event, const std::function<char16_t(char16_t)>& filter);

// What the filter does with the control characters of the editing shortcuts (copy, paste, cut,
// undo, select all): the main window's fields and the table's cells drop them; fields whose
// paste is free let them through, and a full stop pasted there counts as the decimal mark.
enum class EditingShortcuts { Dropped, Passed };

// The numeric filter applied to a key press in any line edit: returns whether the press was
// consumed (dropped, or replaced by the comma inserted here); otherwise the edit handles the key
// itself.
bool FilterNumericKeyPress(QLineEdit& field, const QKeyEvent& event,
                           EditingShortcuts shortcuts = EditingShortcuts::Dropped);
