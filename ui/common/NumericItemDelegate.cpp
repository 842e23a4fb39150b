#include "NumericItemDelegate.h"

#include "NumericKeys.h"

#include <QLineEdit>

QWidget* NumericItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setMaxLength(20);
    // Text composed by an input method would pass by the key filter.
    editor->setAttribute(Qt::WA_InputMethodEnabled, false);
    editor->setAcceptDrops(false);
    editor->installEventFilter(const_cast<NumericItemDelegate*>(this));
    if (When == Commit::WhileTyping) {
        connect(editor, &QLineEdit::textEdited, this, [this, editor] {
            emit const_cast<NumericItemDelegate*>(this)->commitData(editor);
        });
    }
    return editor;
}

bool NumericItemDelegate::eventFilter(QObject* watched, QEvent* event)
{
    auto* editor = qobject_cast<QLineEdit*>(watched);
    if (editor != nullptr && FilterNumericFieldEvent(*editor, *event))
        return true;
    return QStyledItemDelegate::eventFilter(watched, event);
}
