#pragma once

#include "InputModel.h"
#include "NoteFileCommands.h"

#include <korvelin/NoteDocument.h>
#include <korvelin/SpanTable.h>

#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class MessageSink;
class QLabel;
class QSettings;
class QTableWidget;

// "Таблица пролетов": the permissible spans of a list of pipes under the other inputs of the
// input model. The rows (outer diameter × wall) are the model's table of pipes, edited in place
// with the numeric fields' key rules; the table recomputes when a row or an input changes.
// Non-modal and sizeable; its place, size and rows are kept in the user's settings. Its button
// "Записка по таблице труб…" writes or prints the project's calculation note of all its pipes.
class SpanTableWindow final : public QWidget, private NoteSource
{
    Q_OBJECT

public:
    // The rows start from the settings, where the table keeps them between sessions.
    SpanTableWindow(InputModel& model, MessageSink& sink, QSettings& settings, QWidget* parent = nullptr);
    ~SpanTableWindow() override;

    void Open();

    // The pipes of the table as shown.
    std::vector<korvelin::PipeSize> Rows() const;
    void SetRows(const std::vector<korvelin::PipeSize>& rows);
    // The rows as last computed, in the order shown.
    const std::vector<korvelin::SpanTableRow>& Results() const { return Computed; }
    QString ConditionsText() const;

    void AddRow();
    void RemoveSelectedRows();
    void RestoreDefaults();
    // The commands' files, each written whole or not at all; an empty text on success, else the
    // message naming the file and the reason.
    QString WriteCsv(const QString& path) const;
    QString WritePdf(const QString& path) const;

    // The calculation note of the table's pipes: saved as PDF or ODT, printed.
    NoteFileCommands& PipesNote() { return *PipesNoteFiles; }
    // The note (while a row is computed), framed as the document fields ask, or without the frame.
    korvelin::NoteDocument Note(bool frameAsAsked) const override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ModelChanged(InputModel::Parts parts);
    // The rows as shown go into the model and the settings.
    void RowsEdited();
    void ShowRows(const std::vector<korvelin::PipeSize>& rows);
    korvelin::SpanTableConditions Conditions() const;
    korvelin::NoteDocument TableNote() const;
    bool HasNote() const override;
    QString SuggestedName(const QString& extension) const override;
    void Recompute();
    void RecomputeRow(int row);
    void ShowRow(int row);
    enum class CellKind { Span, Governing, Criterion, Message };
    void SetCell(int row, int column, const QString& text, CellKind kind);
    void InsertRow(int row, const korvelin::PipeSize& size);
    void RowEdited(int row, int column);
    void SaveRows() const;
    void SaveGeometry() const;
    void SaveCsvClick();
    void SavePdfClick();
    void PrintClick();
    QString AskPath(const QString& caption, const QString& name, const QString& filter);

    InputModel& Model;
    MessageSink& Sink;
    QSettings& Settings;
    QLabel* ConditionsLabel;
    QTableWidget* Table;
    std::vector<korvelin::SpanTableRow> Computed;
    bool Filling = false;  // the window itself is writing cells: no edits to react to
    bool Stale = true;     // the inputs changed while the table was hidden
    // Last: it asks the rows whether there is a note.
    std::unique_ptr<NoteFileCommands> PipesNoteFiles;
};
