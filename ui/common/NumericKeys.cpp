#include "NumericKeys.h"

#include <korvelin/ParseNumber.h>

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include <memory>

namespace {

constexpr char16_t Backspace = 8;
constexpr char16_t Enter = 13;
constexpr char16_t Delete = 127;

// Pastes the clipboard's text into the field through the rule of pasting, undoably, as the
// field's own paste would.
void PasteInto(QLineEdit& field, QClipboard::Mode mode)
{
    if (field.isReadOnly())
        return;
    const int start = field.hasSelectedText() ? field.selectionStart() : field.cursorPosition();
    const int length = field.hasSelectedText() ? field.selectionLength() : 0;
    const std::optional<QString> inserted =
        NumericPaste(field.text(), start, length, QGuiApplication::clipboard()->text(mode));
    if (inserted)
        field.insert(*inserted);
}

// The field's own context menu, whose "Вставить" (found by its text, in the language of Qt's
// catalogue) pastes through the rule.
void ShowContextMenu(QLineEdit& field, const QPoint& at)
{
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().section(u'\t', 0, 0) != pasteText)
            continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        QObject::connect(action, &QAction::triggered, &field, [&field] { PasteInto(field, QClipboard::Clipboard); });
    }
    menu->exec(at);
}

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

std::optional<QString> NumericPaste(const QString& text, int start, int length, const QString& pasted)
{
    QString inserted = pasted.trimmed();
    inserted.replace(u'.', u',');
    if (inserted.isEmpty())
        return std::nullopt;
    const QString result = QString(text).replace(start, length, inserted);
    if (!korvelin::IsFieldNumberText(result.toStdString()))
        return std::nullopt;
    return inserted;
}

EditingEvent FilterNumericEditing(QLineEdit& field, QEvent& event)
{
    switch (event.type()) {
    case QEvent::KeyPress: {
        const auto& key = static_cast<const QKeyEvent&>(event);
        if (key.matches(QKeySequence::Paste)) {
            PasteInto(field, QClipboard::Clipboard);
            return EditingEvent::Consumed;
        }
        for (const QKeySequence::StandardKey editing :
             {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo}) {
            if (key.matches(editing))
                return EditingEvent::ForField;
        }
        return EditingEvent::Other;
    }
    case QEvent::ContextMenu:
        ShowContextMenu(field, static_cast<const QContextMenuEvent&>(event).globalPos());
        return EditingEvent::Consumed;
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection of the window system.
        if (static_cast<const QMouseEvent&>(event).button() == Qt::MiddleButton) {
            if (QGuiApplication::clipboard()->supportsSelection())
                PasteInto(field, QClipboard::Selection);
            return EditingEvent::Consumed;
        }
        return EditingEvent::Other;
    default:
        return EditingEvent::Other;
    }
}

bool FilterNumericFieldEvent(QLineEdit& field, QEvent& event)
{
    switch (FilterNumericEditing(field, event)) {
    case EditingEvent::Consumed: return true;
    case EditingEvent::ForField: return false;
    case EditingEvent::Other: break;
    }
    if (event.type() != QEvent::KeyPress)
        return false;
    return TypeFiltered(field, static_cast<const QKeyEvent&>(event),
                        [&field](char16_t key) { return NumericKey(key, field.text()); });
}
