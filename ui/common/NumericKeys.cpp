#include "NumericKeys.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

constexpr char16_t Backspace = 8;
constexpr char16_t Enter = 13;
constexpr char16_t Delete = 127;

} // namespace

std::optional<char16_t> TypedCharacter(const QKeyEvent& event)
{
    const bool control = event.modifiers().testFlag(Qt::ControlModifier)
                         && !event.modifiers().testFlag(Qt::AltModifier);
    const int key = event.key();
    if (key == Qt::Key_Backspace)
        return control ? Delete : Backspace;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return control ? char16_t(10) : Enter;
    if (key == Qt::Key_Escape)
        return char16_t(27);
    if (control) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return char16_t(key - Qt::Key_A + 1);
        return std::nullopt;
    }
    const QString text = event.text();
    if (text.isEmpty() || !text.front().isPrint())
        return std::nullopt;
    return text.front().unicode();
}

char16_t NumericKey(char16_t key, const QString& text)
{
    if (key == u'.')
        key = u',';
    if (key == u',' && text.contains(u','))
        key = 0;
    const bool digit = key >= u'0' && key <= u'9';
    if (!(key == Backspace || key == Enter || key == u',' || digit))
        key = 0;
    return key;
}

bool TypeFiltered(QLineEdit& field, const QKeyEvent& event, const std::function<char16_t(char16_t)>& filter)
{
    const std::optional<char16_t> typed = TypedCharacter(event);
    if (!typed)
        return false;
    const char16_t key = filter(*typed);
    if (key == 0)
        return true;
    if (key == *typed)
        return false;
    field.insert(QString(QChar(key)));
    return true;
}

bool FilterNumericKeyPress(QLineEdit& field, const QKeyEvent& event, EditingShortcuts shortcuts)
{
    if (shortcuts == EditingShortcuts::Passed) {
        const std::optional<char16_t> typed = TypedCharacter(event);
        if (typed && (*typed < 32 || *typed == Delete))
            return false;
    }
    return TypeFiltered(field, event, [&](char16_t key) {
        // A pasted full stop is the mark already: no second one may follow it.
        if (shortcuts == EditingShortcuts::Passed && (key == u',' || key == u'.') && field.text().contains(u'.'))
            return char16_t(0);
        return NumericKey(key, field.text());
    });
}
