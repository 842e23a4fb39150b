#pragma once

#include <korvelin/DocumentFields.h>

#include <QDialog>
#include <QObject>

#include <array>

class InputModel;
class MessageSink;
class QAction;
class QCheckBox;
class QLineEdit;
class QSettings;
class QWidget;

// The dialog "Сведения о документе": the fields of the calculation note as a project document
// (object, designation, organization, stage, the four names of the title block) and the switch
// "Рамка и основная надпись", which follows the designation until the user sets it. "ОК" takes
// the fields only when the note can show every one of them; otherwise a message names the field
// and the dialog stays open on it.
class DocumentFieldsDialog final : public QDialog
{
    Q_OBJECT

public:
    DocumentFieldsDialog(const korvelin::DocumentFields& fields, MessageSink& sink, QWidget* parent);

    // The fields as typed; the frame is set only where it differs from what the designation gives.
    korvelin::DocumentFields Fields() const;
    QLineEdit* Edit(std::size_t field) const { return Edits[field]; }  // in kDocumentFieldKeys order
    QCheckBox* FrameBox() const { return Frame; }

    void accept() override;

private:
    MessageSink& Sink;
    std::array<QLineEdit*, korvelin::kDocumentFieldKeys.size()> Edits{};
    QCheckBox* Frame = nullptr;
    bool FrameSetByUser = false;
};

// The command "Сведения о документе…" of the menu "Файл": opens the dialog over the window with
// the model's fields. What it takes goes into the model (and so into the file and the note); the
// organization and the names are kept in the settings for the next new set of inputs.
class DocumentFieldsCommand final : public QObject
{
    Q_OBJECT

public:
    DocumentFieldsCommand(InputModel& model, MessageSink& sink, QSettings& settings, QWidget& window);

    QAction* Action() const { return Command; }
    // Puts the fields into the model and remembers the organization and the names.
    void Apply(const korvelin::DocumentFields& fields);

private:
    void Open();

    InputModel& Model;
    MessageSink& Sink;
    QSettings& Settings;
    QWidget& Window;
    QAction* Command;
};

// The organization and the names the dialog took last, for a new set of inputs.
korvelin::DocumentFields RememberedDocumentFields(QSettings& settings);
