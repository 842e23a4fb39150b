#pragma once

#include <korvelin/CalculationNote.h>
#include <korvelin/DesignSummary.h>
#include <korvelin/RunCalculation.h>

#include <QString>
#include <QWidget>

#include <optional>

class InputSetDocument;
class MessageSink;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPagedPaintDevice;
class QTableWidget;
class TFormProlet;

// The page "Итог" of the main window: the governing span of each set of rules, the check of a
// chosen span and the supports of a route, for the last completed calculation. It follows the
// window's signals: a calculation fills it, any input change empties it. It also puts the
// commands of the calculation note into the menu "Файл" above "Выход" and marks the governing
// results on the other two pages in bold.
class TSummaryPage final : public QWidget
{
    Q_OBJECT

public:
    TSummaryPage(TFormProlet& form, MessageSink& sink);
    ~TSummaryPage() override;

    // The summary on the page, when a completed calculation is shown.
    const std::optional<korvelin::DesignSummary>& Summary() const { return Shown; }
    bool HasResults() const { return Outcome.has_value(); }

    // The note of the results on screen (only while HasResults()).
    korvelin::NoteDocument Note() const;
    // "Пролет 89x3,2.pdf": the name the save dialog suggests.
    QString SuggestedPdfName() const;
    // Writes the note; a failure is reported with a message box. Returns whether it was written.
    bool SavePdfTo(const QString& path);
    void PrintOn(QPagedPaintDevice& device);
    void CopyResults();

    // Keeps the chosen span and the route length in the input-set file: they are written with
    // the set, taken from a set that is opened (emptied by one without them), and an edit of
    // either marks the file changed.
    void AttachDocument(InputSetDocument& document);

    QAction* SavePdfAction() const { return SavePdf; }
    QAction* PrintAction() const { return Print; }
    QAction* CopyAction() const { return Copy; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildMenu(TFormProlet& form);
    void KeepEntriesAboveExit();
    void CalculationFinished(const korvelin::CalculationOutcome& outcome);
    void InputsChanged();
    void FieldEdited();
    static std::optional<std::string> FileText(const QLineEdit& field);
    void FieldFinished(QLineEdit& field);
    void Refresh();
    void ShowEmpty();
    void ShowTable(const korvelin::DesignSummary& summary);
    void MarkGoverningFields(const korvelin::DesignSummary* summary);
    korvelin::OptionalLength Read(const QLineEdit& field) const;
    void AskAndSavePdf();
    void AskAndPrint();

    TFormProlet& Form;
    MessageSink& Sink;
    QLineEdit* ChosenSpanField = nullptr;
    QLineEdit* RouteLengthField = nullptr;
    QLabel* Status = nullptr;
    QTableWidget* Table = nullptr;
    QAction* SavePdf = nullptr;
    QAction* Print = nullptr;
    QAction* Copy = nullptr;
    QAction* Separator = nullptr;
    QMenu* FileMenu = nullptr;
    QAction* ExitAction = nullptr;
    bool Moving = false;

    // The last completed calculation and the inputs it read, while they are on screen.
    std::optional<korvelin::CalculationOutcome> Outcome;
    korvelin::NoteInputs Inputs;
    std::optional<korvelin::DesignSummary> Shown;
    QString LastReported;  // the refused text last reported, so that it is not reported twice
};
