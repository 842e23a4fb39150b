#pragma once

#include <QObject>

class InputModel;
class MessageSink;
class QAction;
class QWidget;

// The command "Свои нормативные значения…" of the menu "Файл": opens the dialog of the site's own
// climatic values over the window, modal.
class OwnClimateCommand final : public QObject
{
    Q_OBJECT

public:
    OwnClimateCommand(InputModel& model, MessageSink& sink, QWidget& window);
    ~OwnClimateCommand() override;

    QAction* Action() const { return Command; }
    void Open();

private:
    InputModel& Model;
    MessageSink& Sink;
    QWidget& Window;
    QAction* Command;
};
