#pragma once

#include "InputModel.h"

#include <korvelin/DesignSummary.h>

#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

class MessageSink;
class QLabel;
class QLineEdit;
class QScrollArea;
class QTableWidget;
class QToolButton;
class SupportLoadsView;

// The page "Итог" of the main window: the governing span of each set of rules, the check of a
// chosen span and the supports of a route, for the last completed calculation of the input
// model (or says why the last one did not complete). A calculation fills it, any input change
// empties it; its two fields are the model's chosen span and route length.
class TSummaryPage final : public QWidget
{
    Q_OBJECT

public:
    TSummaryPage(InputModel& model, MessageSink& sink, QWidget* parent = nullptr);
    ~TSummaryPage() override;

    // The summary on the page, when a completed calculation is shown.
    const std::optional<korvelin::DesignSummary>& Summary() const { return Shown; }
    // The button that shows the loads on the supports in the place of the table, for the corner
    // of the tab control the page stands in.
    QToolButton* SupportsButton() const { return SupportsToggle; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FitColumns();
    void UpdateArea();
    void ModelChanged(InputModel::Parts parts);
    void FieldFinished(QLineEdit& field);
    void Refresh();
    void ShowEmpty();
    void ShowNotes(QStringList notes);
    void ShowStopped(const korvelin::CalculationOutcome& outcome);
    void ShowTable(const korvelin::DesignSummary& summary);
    korvelin::OptionalLength Read(const QLineEdit& field) const;
    // The line that says which own climatic values are in force, or an empty text.
    QString OwnClimateNote() const;

    InputModel& Model;
    MessageSink& Sink;
    QLineEdit* ChosenSpanField = nullptr;
    QLineEdit* RouteLengthField = nullptr;
    QScrollArea* NotesArea = nullptr;  // holds Status, which grows with its text
    QLabel* Status = nullptr;
    QLabel* Notice = nullptr;
    QTableWidget* Table = nullptr;
    QToolButton* SupportsToggle = nullptr;  // shows the loads on the supports in place of the table
    SupportLoadsView* Supports = nullptr;
    bool NoticeShown = false;  // the last calculation did not complete: its notice is shown

    std::optional<korvelin::DesignSummary> Shown;
    QString LastReported;  // the refused text last reported, so that it is not reported twice
};
