#pragma once

#include <QString>

#include <memory>

class CalculationNoteCommands;
class CompensationWindow;
class DocumentDialogs;
class DocumentFieldsCommand;
class InputModel;
class InputSetDocument;
class MessageSink;
class OwnClimateCommand;
class QSettings;
class SpanTableWindow;
class TFormProlet;
class TLookMap;
class TProletTEMP;

// The program's parts, created in this order: the input model; the main window (visible once
// the program shows it), then the map viewer, the intermediate-data window, the span table and
// the compensation, all hidden; the input-set file and the commands of the note, whose entries the menus get.
struct AppWindows {
    std::unique_ptr<InputModel> Model;
    std::unique_ptr<TFormProlet> FormProlet;
    std::unique_ptr<TLookMap> LookMap;
    std::unique_ptr<TProletTEMP> ProletTEMP;
    std::unique_ptr<SpanTableWindow> SpanTable;  // opened from its command on the menu bar
    std::unique_ptr<CompensationWindow> Compensation;  // likewise
    std::unique_ptr<DocumentDialogs> OwnDialogs;  // the system's, when none were given
    std::unique_ptr<InputSetDocument> Document;
    std::unique_ptr<CalculationNoteCommands> Note;
    std::unique_ptr<OwnClimateCommand> OwnClimate;  // "Свои нормативные значения…"
    std::unique_ptr<DocumentFieldsCommand> DocumentFields;  // "Сведения о документе…"

    AppWindows();
    AppWindows(AppWindows&&) noexcept;
    AppWindows& operator=(AppWindows&&) noexcept;
    ~AppWindows();
};

// Creates the parts; every message box of theirs goes to the sink, every setting to `settings`
// (the program's one settings object), every question about files to `dialogs` (the system's
// dialogs over the main window when none are given).
AppWindows CreateAppWindows(MessageSink& sink, const QString& decimalSeparator, QSettings& settings,
                            DocumentDialogs* dialogs = nullptr);
