#pragma once

#include <QString>

class QWidget;

// Where the windows send the message boxes they show; tests put a recorder in its place.
class MessageSink
{
public:
    virtual ~MessageSink();

    // A plain modal box: the application title as caption, the text, OK, no icon.
    virtual void ShowMessage(const QString& text) = 0;
    // The same box with the error icon.
    virtual void ShowError(const QString& text) = 0;
};

// Shows the messages in modal QMessageBox dialogs captioned with the application's display name.
class DialogMessageSink final : public MessageSink
{
public:
    explicit DialogMessageSink(QWidget* parent = nullptr);

    void ShowMessage(const QString& text) override;
    void ShowError(const QString& text) override;

private:
    QWidget* Parent;
};
