#pragma once

#include <QString>

class QWidget;

// The questions and file choices of the "Файл" entries; tests answer them without a modal box.
class DocumentDialogs
{
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~DocumentDialogs();
    // "Сохранить изменения в «…»?" with Да / Нет / Отмена.
    virtual Answer AskToSave(const QString& question) = 0;
    // The file to open or to save to, or an empty string when the user cancels.
    virtual QString FileToOpen(const QString& folder) = 0;
    virtual QString FileToSave(const QString& suggested) = 0;
};

// The system's message box and file dialogs, over the main window.
class SystemDocumentDialogs final : public DocumentDialogs
{
public:
    explicit SystemDocumentDialogs(QWidget* parent);

    Answer AskToSave(const QString& question) override;
    QString FileToOpen(const QString& folder) override;
    QString FileToSave(const QString& suggested) override;

private:
    QWidget* Parent;
};
