#pragma once

#include <korvelin/OwnClimate.h>

#include <QDialog>

#include <array>

class InputModel;
class MessageSink;
class QCheckBox;
class QLineEdit;

// "Свои нормативные значения": the site's own snow weight, wind pressure and ice wall thickness,
// each switched on separately with the text of its source. "ОК" puts all of them into the input
// model or, when one is refused, none: the message names it and the dialog stays open.
class OwnClimateDialog final : public QDialog
{
    Q_OBJECT

public:
    OwnClimateDialog(InputModel& model, MessageSink& sink, QWidget* parent = nullptr);
    ~OwnClimateDialog() override;

    // The texts as the dialog shows them.
    korvelin::OwnClimateTexts Texts() const;
    // Puts them into the model; false, with the message shown, when one is refused.
    bool Apply();

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QCheckBox* InForce = nullptr;
        QLineEdit* Value = nullptr;
        QLineEdit* Source = nullptr;
    };

    InputModel& Model;
    MessageSink& Sink;
    std::array<Row, korvelin::kClimateValues.size()> Rows;
};
