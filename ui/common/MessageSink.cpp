#include "MessageSink.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

MessageSink::~MessageSink() = default;

namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    // Without a parent of its own the box stands over the window the user is working in.
    QMessageBox box(icon, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent != nullptr ? parent : QApplication::activeWindow());
    // File names and messages are shown as they are, never interpreted as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

DialogMessageSink::DialogMessageSink(QWidget* parent)
    : Parent(parent)
{
}

void DialogMessageSink::ShowMessage(const QString& text)
{
    ShowBox(Parent, QMessageBox::NoIcon, text);
}

void DialogMessageSink::ShowError(const QString& text)
{
    ShowBox(Parent, QMessageBox::Critical, text);
}
