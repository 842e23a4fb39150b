#include "AppWindows.h"

#include "CalculationNoteCommands.h"
#include "CompensationWindow.h"
#include "DocumentDialogs.h"
#include "DocumentFieldsDialog.h"
#include "InputModel.h"
#include "InputSetDocument.h"
#include "LMAP.h"
#include "Menus.h"
#include "OwnClimateCommand.h"
#include "ScreenFit.h"
#include "SpanTableWindow.h"
#include "Unit1.h"
#include "Unit2.h"

AppWindows::AppWindows() = default;
AppWindows::AppWindows(AppWindows&&) noexcept = default;
AppWindows& AppWindows::operator=(AppWindows&&) noexcept = default;

// What refers to the windows goes before them: the document watches the main window, which
// refers to the other two; the model goes last.
AppWindows::~AppWindows()
{
    DocumentFields.reset();
    OwnClimate.reset();
    Note.reset();
    Document.reset();
    Compensation.reset();
    SpanTable.reset();
    FormProlet.reset();
}

AppWindows CreateAppWindows(MessageSink& sink, const QString& decimalSeparator, QSettings& settings,
                            DocumentDialogs* dialogs)
{
    AppWindows windows;
    windows.Model = std::make_unique<InputModel>(decimalSeparator.toStdString());
    // The organization and the names of the last document stand ready for this one.
    windows.Model->SetDocument(RememberedDocumentFields(settings));
    windows.FormProlet = std::make_unique<TFormProlet>(*windows.Model, sink);
    windows.LookMap = std::make_unique<TLookMap>(sink);
    // Only the main window ends the program when it is closed.
    windows.LookMap->setAttribute(Qt::WA_QuitOnClose, false);
    windows.ProletTEMP = std::make_unique<TProletTEMP>();
    windows.FormProlet->AttachWindows(windows.LookMap.get(), windows.ProletTEMP.get());
    windows.SpanTable = std::make_unique<SpanTableWindow>(*windows.Model, sink, settings);
    windows.Compensation = std::make_unique<CompensationWindow>(*windows.Model, sink, settings);
    if (dialogs == nullptr) {
        windows.OwnDialogs = std::make_unique<SystemDocumentDialogs>(windows.FormProlet.get());
        dialogs = windows.OwnDialogs.get();
    }
    windows.Document =
        std::make_unique<InputSetDocument>(*windows.Model, *windows.FormProlet, sink, *dialogs, settings);
    windows.Note = std::make_unique<CalculationNoteCommands>(*windows.Model, sink, *windows.FormProlet);
    windows.OwnClimate = std::make_unique<OwnClimateCommand>(*windows.Model, sink, *windows.FormProlet);
    windows.DocumentFields =
        std::make_unique<DocumentFieldsCommand>(*windows.Model, sink, settings, *windows.FormProlet);
    BuildMenus(windows.FormProlet->Menus(), *windows.Document, *windows.Note, *windows.DocumentFields,
               *windows.SpanTable, *windows.Compensation, *windows.OwnClimate->Action());
    // Each window stands at its own place where it fits the screen, moved just enough where not.
    KeepOnScreen(*windows.FormProlet);
    KeepOnScreen(*windows.LookMap);
    KeepOnScreen(*windows.ProletTEMP);
    KeepOnScreen(*windows.SpanTable);
    KeepOnScreen(*windows.Compensation);
    return windows;
}
