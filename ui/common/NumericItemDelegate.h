#pragma once

#include <QStyledItemDelegate>

// Edits a number in a table cell with the key rules of the main window's numeric fields. While
// typing, the text goes to the table at every change, so that the row follows the typing;
// otherwise it goes when the editing ends, as a cell's edit usually does.
class NumericItemDelegate final : public QStyledItemDelegate
{
public:
    enum class Commit { WhileTyping, OnClose };
    explicit NumericItemDelegate(QObject* parent, Commit commit = Commit::WhileTyping)
        : QStyledItemDelegate(parent)
        , When(commit)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Commit When;
};
