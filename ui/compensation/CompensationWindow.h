#pragma once

#include "InputModel.h"

#include <korvelin/Compensation.h>
#include <korvelin/CompensationPresets.h>
#include <korvelin/NoteDocument.h>
#include <korvelin/RouteSchedule.h>

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class MessageSink;
class NoteDrawingView;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSettings;
class QTabBar;
class QTableWidget;
class QTextBrowser;
class QTextDocument;

// "Компенсация": the sections between fixed supports of the input model, their legs, the
// temperatures of the pipe wall and the two optional check values, with the drawing and the
// results of the chosen section. Every text typed goes to the model, which takes it only when it
// reads; a refused text is named in a message box and the control shows the model's text again.
// The pipe is that of the main window's fields, the loads on the supports those of its last
// calculation. Non-modal and sizeable; its place is kept in the user's settings.
class CompensationWindow final : public QWidget
{
    Q_OBJECT

public:
    CompensationWindow(InputModel& model, MessageSink& sink, QSettings& settings, QWidget* parent = nullptr);
    ~CompensationWindow() override;

    void Open();

    // The section chosen in the list, or -1.
    int CurrentSection() const;
    void SelectSection(int index);

    // The commands of the window, as its buttons give them.
    void AddSectionOfShape();
    void ReplaceLegsByShape();
    void RenameSection();
    void RemoveSection();
    void AddLeg();
    void RemoveLeg();

    // What the window shows of the chosen section: its drawing (none when the run was refused or
    // there is no section), the run's message when refused, the results' text.
    const std::optional<korvelin::NoteDrawing>& Drawing() const { return ShownDrawing; }
    QString Message() const;
    QString ResultsText() const;

    // The route of all the sections: the schedule of its supports by the last calculation's loads
    // (refused with a message without one), the drawing shows its plan on the page «Трасса», and
    // «Чертеж трассы в DXF…» writes the plan for CAD programs. An empty text: written, else why not.
    korvelin::ScheduleOutcome ScheduleOfRoute() const;
    void ShowRoute(bool route);
    QString WriteRouteDxf(const QString& path);
    // «Чертеж трассы в DXF…»: one command for the window's button and the main window's «Файл»,
    // whether this window is open or not. It says what to do while there is no route, asks for
    // the file and writes it; a failure is shown by the error guard.
    QAction* RouteDxfAction() const { return RouteDxf; }
    void SaveRouteDxf();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QGroupBox* SectionsBox();
    QGroupBox* ShapeBox();
    QGroupBox* LegsBox();
    QGroupBox* TemperaturesBox();

    void ModelChanged(InputModel::Parts parts);
    // Puts texts into the model; a refusal is shown and the controls show the model again.
    bool Submit(const korvelin::CompensationTexts& texts);
    void ShowTexts();
    void ShowLegs();
    void ShapeChosen();
    void LegEdited(int row, int column);
    void SectionRenamed();
    void FieldEdited(QLineEdit* field, std::string korvelin::CompensationTexts::*text);
    // A text of the current section (its bend radius, the step of its sliding supports, its
    // guides) edited in its field.
    void SectionFieldEdited(QLineEdit* field, std::string korvelin::SectionTexts::*text);
    // 1,5·D of the main window's pipe, mm, as the radius of a new section's bends; empty while the
    // diameter does not read.
    std::string DefaultBendRadius() const;
    std::vector<std::string> ShapeDimensions() const;
    korvelin::TurnSide ShapeSide() const;
    std::string NewSectionName() const;
    void Recompute();
    // The sections' results as the inputs now give them, computed again if they changed while
    // the window was hidden.
    void RecomputeIfStale();
    void ShowResult();
    void SaveGeometry() const;

    InputModel& Model;
    MessageSink& Sink;
    QSettings& Settings;

    QListWidget* Sections = nullptr;
    QPushButton* AddSectionButton = nullptr;
    QComboBox* Shape = nullptr;
    QComboBox* Side = nullptr;
    std::vector<QLabel*> DimensionLabels;
    std::vector<QLineEdit*> DimensionFields;
    std::vector<QStringList> DimensionTexts;  // the texts typed for each shape
    std::size_t ShownShape = 0;
    QGroupBox* Legs = nullptr;
    QTableWidget* LegTable = nullptr;
    QLineEdit* BendRadius = nullptr;
    QLineEdit* SupportStep = nullptr;
    QLineEdit* Guides = nullptr;
    QLineEdit* ClosingTemperature = nullptr;
    QLineEdit* MinTemperature = nullptr;
    QLineEdit* MaxTemperature = nullptr;
    QLineEdit* AllowableStress = nullptr;
    QLineEdit* ShoeLength = nullptr;
    NoteDrawingView* DrawingView = nullptr;
    QTabBar* DrawingPages = nullptr;  // «Участок», «Трасса»
    QPushButton* SaveDxfButton = nullptr;
    QAction* RouteDxf = nullptr;
    QLabel* MessageLabel = nullptr;
    QTextBrowser* Results = nullptr;

    korvelin::CompensationRun Run;
    std::optional<korvelin::NoteDrawing> ShownDrawing;
    std::unique_ptr<QTextDocument> ResultsDocument;
    bool Filling = false;  // the window itself is writing its controls: no edits to react to
    bool Stale = true;     // the inputs changed while the window was hidden
};
