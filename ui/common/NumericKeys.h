#pragma once

#include <functional>
#include <optional>

class QEvent;
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

// What a paste puts in place of `length` characters at `start` of a numeric field's `text`: the
// pasted text without the blanks and line ends around it, its full stop written as the decimal
// comma, when the field then holds digits with at most one decimal mark; none otherwise (the
// field keeps its text, as a letter typed is dropped).
std::optional<QString> NumericPaste(const QString& text, int start, int length, const QString& pasted);

// The editing a numeric field does besides typed characters. Select all, copy, cut, undo and
// redo (their shortcuts and the context menu) go to the field; a paste, by its shortcut, by the
// context menu's "Вставить" or by the middle mouse button, goes through NumericPaste.
enum class EditingEvent {
    Other,     // not editing: the caller goes on (a key press to its key filter)
    Consumed,  // done here
    ForField,  // the field handles it itself, past any key filter
};
EditingEvent FilterNumericEditing(QLineEdit& field, QEvent& event);

// The whole filter of a numeric field, for its event filter: the editing above, then the key
// filter of NumericKey for a typed character. Returns whether the event was consumed.
bool FilterNumericFieldEvent(QLineEdit& field, QEvent& event);
