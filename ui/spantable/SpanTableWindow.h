#pragma once

#include <korvelin/SpanTable.h>

#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class InputSetDocument;
class MessageSink;
class QAction;
class QLabel;
class QMenuBar;
class QPushButton;
class QSettings;
class QTableWidget;
class TFormProlet;

// "Таблица пролетов": the permissible spans of a list of pipes under the main window's other
// inputs. The rows (outer diameter × wall) are edited in place with the numeric fields' key rules;
// the table recomputes when a row or an input of the main window changes. Non-modal and sizeable;
// its place, size and rows are kept in the user's settings.
class SpanTableWindow final : public QWidget
{
    Q_OBJECT

public:
    SpanTableWindow(TFormProlet& form, MessageSink& sink, QWidget* parent = nullptr);
    ~SpanTableWindow() override;

    // Puts the command "Таблица пролетов" on the menu bar after "Технический лист".
    QAction* AddCommand(QMenuBar& bar);
    void Open();
    // The rows go into the input-set file saved and come from the file opened, when it has them.
    void AttachDocument(InputSetDocument& document);

    // The pipes of the table, for the input-set file.
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

signals:
    // The rows were edited, added, removed or replaced.
    void RowsChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    korvelin::SpanTableConditions Conditions() const;
    korvelin::NoteDocument Note() const;
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

    TFormProlet& Form;
    MessageSink& Sink;
    QLabel* ConditionsLabel;
    QTableWidget* Table;
    std::unique_ptr<QSettings> Settings;
    std::vector<korvelin::SpanTableRow> Computed;
    bool Filling = false;  // the window itself is writing cells: no edits to react to
    bool Stale = true;     // the main window's inputs changed while the table was hidden
};
